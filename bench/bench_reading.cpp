// Automatic reading of many sheets of the worked example: through the station window
// (offscreen) and through a minimal loop that does the same exchanges and appends the same
// records, flushed the same way, without a window. Both against the simulated reader.
#include "minimalreading.h"
#include "stationwindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

#include <cstdio>

using namespace MinimalReading;

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int sheets = argc > 1 ? std::atoi(argv[1]) : 10000;

    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("fmt"));
    QDir(dir.path()).mkpath(QStringLiteral("data"));
    QFile fmt(dir.filePath(QStringLiteral("fmt/sinav.fmt")));
    fmt.open(QIODevice::WriteOnly);
    fmt.write(kSinav);
    fmt.close();
    const QString link = dir.filePath(QStringLiteral("reader"));
    QFile ini(dir.filePath(QStringLiteral("optik.ini")));
    ini.open(QIODevice::WriteOnly);
    ini.write(link.toLocal8Bit() + "\r\n38400,N,8,1\r\nfmt/\r\ndata/\r\n.DAT\r\n");
    ini.close();

    PtyReader reader(dir.filePath(QStringLiteral("tray")), link);
    QString error;
    if (!reader.start(&error)) {
        std::fprintf(stderr, "simulated reader: %s\n", qPrintable(error));
        return 1;
    }

    // The minimal loop first, then the station, on the same reader.
    fillTray(reader, sheets);
    double loopSeconds = 0;
    const int loopSheets =
        minimalLoop(link, dir.filePath(QStringLiteral("data/MINIMAL.DAT")), &loopSeconds);

    fillTray(reader, sheets);
    double stationSeconds = 0, stationCpu = 0;
    {
        StationOptions options;
        options.settingsPath = ini.fileName();
        options.timings.heartbeatMs = 600000;
        StationWindow station(options);
        if (!station.startUp())
            return 1;
        station.show();
        QElapsedTimer clock;
        const double cpuBefore = threadCpuSeconds();
        clock.start();
        station.autoRead(QStringLiteral("sinav.fmt"), QStringLiteral("STATION"));
        station.close(); // writes the last, pending record
        stationSeconds = clock.nsecsElapsed() / 1e9;
        stationCpu = threadCpuSeconds() - cpuBefore;
    }
    const int stationSheets = lineCount(dir.filePath(QStringLiteral("data/STATION.DAT")));
    reader.stop();

    return report("station", sheets, loopSheets, loopSeconds, stationSheets, stationSeconds,
                  stationCpu);
}
