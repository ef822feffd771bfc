#include "stationfixture.h"

#include <QDir>
#include <QFile>

StationFixture::StationFixture()
{
    QDir dir(m_dir.path());
    dir.mkpath(QStringLiteral("fmt"));
    dir.mkpath(QStringLiteral("data"));
    dir.mkpath(QStringLiteral("tray"));
    writeIni();
}

bool StationFixture::startReader(QString *error)
{
    m_reader = std::make_unique<PtyReader>(trayFolder(), linkPath());
    return m_reader->start(error);
}

void StationFixture::writeFile(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(contents);
}

QByteArray StationFixture::readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void StationFixture::writeIni(const QByteArray &portLine)
{
    const QByteArray port = portLine.isNull() ? linkPath().toLocal8Bit() : portLine;
    writeFile(iniPath(), port + "\r\n38400,N,8,1\r\n" + fmtFolder().toLocal8Bit() + "\r\n" +
                             dataFolder().toLocal8Bit() + "\r\n.DAT\r\n");
}
