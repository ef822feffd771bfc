#include "csvexport.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("markcsv"));
    QTextStream err(stderr);
    return csvexport::run(QCoreApplication::arguments().mid(1), err);
}
