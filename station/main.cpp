#include "quitsignals.h"
#include "stationwindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("markdesk"));
    QApplication::setOrganizationName(QStringLiteral("OMR"));

    StationWindow form1(StationOptions::fromEnvironment());
    if (!form1.startUp())
        return 1;
    closeOnQuitSignals(&form1);
    form1.show();
    return app.exec();
}
