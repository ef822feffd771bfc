#include "quitsignals.h"
#include "stationwindow.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("markdesk"));
    QApplication::setOrganizationName(QStringLiteral("OMR"));

    StationWindow form1;
    if (!form1.startUp())
        return 1;
    closeOnQuitSignals(&form1);
    form1.show();

    // The demo and the crash tests read without an operator at the keyboard.
    const QString autoFmt = qEnvironmentVariable("OMR_AUTOREAD_FMT");
    const QString autoData = qEnvironmentVariable("OMR_AUTOREAD_DATA");
    if (!autoFmt.isEmpty() && !autoData.isEmpty())
        QTimer::singleShot(0, &form1,
                           [&form1, autoFmt, autoData] { form1.autoRead(autoFmt, autoData); });
    return app.exec();
}
