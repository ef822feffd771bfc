#include "settingsfile.h"

#include "cp1254.h"
#include "msgbox.h"
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

int portNumberFor(const QString &portName)
{
#ifdef Q_OS_WIN
    const QString prefix = QStringLiteral("COM");
    const int offset = 0;
#else
    const QString prefix = QStringLiteral("/dev/ttyS");
    const int offset = 1;
#endif
    if (!portName.startsWith(prefix, Qt::CaseInsensitive))
        return 0;
    bool ok = false;
    const int number = QStringView(portName).mid(prefix.size()).toInt(&ok) + offset;
    // Only the spelling portNameFor() writes: "/dev/ttyS01" is no port number.
    return ok && number >= 1 && portNameFor(QString::number(number)) == portName ? number : 0;
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

QString fileIgnoringCase(const QString &path)
{
    const QFileInfo info(path);
    if (info.exists())
        return path;
    QDir folder = info.dir();
    folder.setFilter(QDir::Files | QDir::Hidden);
    folder.setSorting(QDir::Name);
    for (const QString &name : folder.entryList())
        if (name.compare(info.fileName(), Qt::CaseInsensitive) == 0)
            return folder.filePath(name);
    return path;
}

QList<QByteArray> readTextLines(const QByteArray &contents)
{
    // CR LF, LF and a bare CR (older editors) all end a line.
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < contents.size(); ++i) {
        const char c = contents.at(i);
        if (c != '\r' && c != '\n')
            continue;
        lines.append(contents.mid(start, i - start));
        if (c == '\r' && i + 1 < contents.size() && contents.at(i + 1) == '\n')
            ++i;
        start = i + 1;
    }
    // A final line end does not start another line.
    if (start < contents.size())
        lines.append(contents.mid(start));
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
            *error =
                QStringLiteral("Ayar dosyasındaki klasör bulunamadı: %1\n(%2)")
                    .arg(dir->isEmpty() ? QStringLiteral("(boş)") : MsgBox::quoted(*dir), path);
            return false;
        }
    }
    if (settings->portName().isEmpty()) {
        *error = QStringLiteral("Ayar dosyasındaki port numarası geçersiz: \"%1\"\n(%2)")
                     .arg(MsgBox::quoted(settings->portLine), path);
        return false;
    }
    return true;
}
