#include "stationfixture.h"

#include "testfiles.h"

#include <QDir>

StationFixture::StationFixture()
{
    for (const char *folder : {"fmt", "data", "tray"})
        QDir(home()).mkpath(QLatin1String(folder));
    writeIni();
}

bool StationFixture::startReader(QString *error)
{
    if (!m_reader)
        m_reader = std::make_unique<PtyReader>(trayFolder(), linkPath());
    return m_reader->start(error);
}

void StationFixture::writeIni(const QByteArray &portLine)
{
    const QByteArray port = portLine.isNull() ? linkPath().toLocal8Bit() : portLine;
    TestFiles::write(iniPath(), port + "\r\n38400,N,8,1\r\n" + fmtFolder().toLocal8Bit() + "\r\n" +
                                    dataFolder().toLocal8Bit() + "\r\n.DAT\r\n");
}
