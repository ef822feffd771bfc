#include "testfiles.h"

#include <QFile>
#include <QtGlobal>

namespace TestFiles {

QString write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write test file %s", qPrintable(path));
    return path;
}

QByteArray read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QList<QByteArray> lines(const QByteArray &bytes)
{
    QList<QByteArray> result;
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype end = bytes.indexOf("\r\n", start);
        if (end < 0) {
            result.append(bytes.mid(start) + '\\');
            break;
        }
        result.append(bytes.mid(start, end - start));
        start = end + 2;
    }
    return result;
}

} // namespace TestFiles
