#include "quitsignals.h"
#include "servicewindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("markservice"));
    QApplication::setOrganizationName(QStringLiteral("OMR"));

    ServiceWindow form1(ServiceOptions::fromEnvironment());
    closeOnQuitSignals(&form1);
    if (!form1.startUp())
        return 0;
    return app.exec();
}
