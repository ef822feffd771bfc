#include "settingsfile.h"

#include "cp1254.h"
#include "val.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtGlobal>

QString omrHome()
{
    const QString fromEnv = qEnvironmentVariable("OMR_HOME");
    if (!fromEnv.isEmpty())
        return fromEnv;
#ifdef Q_OS_WIN
    return QStringLiteral("c:/omr");
#else
    return QDir::homePath() + QStringLiteral("/omr");
#endif
}

QString optikIniPath()
{
    return omrHome() + QStringLiteral("/optik.ini");
}

QString portNameFor(const QString &portLine)
{
    const QString line = portLine.trimmed();
    if (line.startsWith(u'/'))
        return line;
    const int number = int(Val(line));
    if (number < 1)
        return QString();
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(number);
#else
    return QStringLiteral("/dev/ttyS%1").arg(number - 1);
#endif
}

QString folderPrefix(const QString &line, const QString &settingsFolder)
{
    QString folder = line;
#ifndef Q_OS_WIN
    folder.replace(u'\\', u'/');
#endif
    if (folder.isEmpty())
        return folder;
    if (QDir::isRelativePath(folder) && !settingsFolder.isEmpty())
        folder = QDir(settingsFolder).filePath(folder);
    if (!folder.endsWith(u'/') && !folder.endsWith(u'\\'))
        folder.append(u'/');
    return folder;
}

QList<QByteArray> readTextLines(const QByteArray &contents)
{
    QList<QByteArray> lines = contents.split('\n');
    // A final line end does not start another line.
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QByteArray &line : lines)
        if (line.endsWith('\r'))
            line.chop(1);
    return lines;
}

bool readOptikIni(const QString &path, StationSettings *settings, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Ayar dosyası açılamadı: %1\n%2").arg(path, file.errorString());
        return false;
    }
    const QList<QByteArray> lines = readTextLines(file.readAll());
    if (lines.size() < 5) {
        *error = QStringLiteral("Ayar dosyası eksik: %1\nBeş satır olmalı (port, port ayarı, "
                                "FMT klasörü, veri klasörü, veri uzantısı); %2 satır var.")
                     .arg(path)
                     .arg(lines.size());
        return false;
    }
    const QString folder = QFileInfo(path).absolutePath();
    settings->portLine = fromCp1254(lines[0]);
    settings->portNumber = int(Val(settings->portLine));
    settings->portSettings = fromCp1254(lines[1]);
    settings->fmtFolder = folderPrefix(fromCp1254(lines[2]), folder);
    settings->dataFolder = folderPrefix(fromCp1254(lines[3]), folder);
    settings->dataExtension = fromCp1254(lines[4]);

    for (const QString *dir : {&settings->fmtFolder, &settings->dataFolder}) {
        if (dir->isEmpty() || !QFileInfo(*dir).isDir()) {
            *error = QStringLiteral("Ayar dosyasındaki klasör bulunamadı: %1\n(%2)")
                         .arg(dir->isEmpty() ? QStringLiteral("(boş)") : *dir, path);
            return false;
        }
    }
    if (settings->portName().isEmpty()) {
        *error = QStringLiteral("Ayar dosyasındaki port numarası geçersiz: \"%1\"\n(%2)")
                     .arg(settings->portLine, path);
        return false;
    }
    return true;
}
