#include "quitsignals.h"
#include "stationwindow.h"

#include <QApplication>
#include <QFile>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("markdesk"));
    QApplication::setOrganizationName(QStringLiteral("OMR"));

    StationWindow form1(StationOptions::fromEnvironment());
    // OMR_STATUS_FILE: every new status text is appended to this file as a UTF-8 line, so that
    // a script (the package check) can see the station reach the reader without a screen.
    const QString statusFile = qEnvironmentVariable("OMR_STATUS_FILE");
    if (!statusFile.isEmpty()) {
        QObject::connect(&form1, &StationWindow::statusShown, &form1,
                         [statusFile](const QString &text) {
                             QFile file(statusFile);
                             if (file.open(QIODevice::WriteOnly | QIODevice::Append))
                                 file.write(text.toUtf8() + '\n');
                         });
    }
    if (!form1.startUp())
        return 1;
    closeOnQuitSignals(&form1);
    form1.show();
    return app.exec();
}
