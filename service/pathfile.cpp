#include "pathfile.h"

#include "cp1254.h"
#include "freeformat.h"
#include "settingsfile.h"
#include "val.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>

PathSettings PathSettings::parse(const QByteArray &contents)
{
    PathSettings settings;
    const QList<QByteArray> fields = freeFormatFields(contents);
    for (qsizetype i = 0; i < fields.size(); i += 2) {
        settings.fmtName = fromCp1254(fields.at(i));
        if (i + 1 >= fields.size())
            break;
        const QString port = fromCp1254(fields.at(i + 1)).trimmed();
        settings.portLine = port.startsWith(u'/') ? port : QString::number(qint64(Val(port)));
    }
    return settings;
}

QByteArray PathSettings::text() const
{
    QByteArray name = toCp1254(fmtName);
    const bool changesOnReading = name.isEmpty() || name.contains(',') || name.startsWith('"') ||
                                  name.startsWith(' ') || name.endsWith(' ');
    if (changesOnReading && !name.contains('"'))
        name = '"' + name + '"';
    const QString port = portLine.trimmed();
    const QByteArray portText =
        port.startsWith(u'/') ? toCp1254(port) : ' ' + QByteArray::number(qint64(Val(port))) + ' ';
    return name + "\r\n" + portText + "\r\n";
}

QString programFolder()
{
#ifdef Q_OS_WIN
    return QCoreApplication::applicationDirPath();
#else
    return omrHome();
#endif
}

QString pathFilePath()
{
    return programFolder() + QStringLiteral("/path.txt");
}

PathFileRead readPathFile(const QString &path, PathSettings *settings, QString *error)
{
    *settings = PathSettings();
    QFile file(path);
    if (!file.exists())
        return PathFileRead::Missing;
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return PathFileRead::Unreadable;
    }
    *settings = PathSettings::parse(file.readAll());
    return PathFileRead::Read;
}

bool writePathFile(const QString &path, const PathSettings &settings, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(settings.text()) < 0 || !file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}
