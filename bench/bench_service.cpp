// markservice's reading loop on many sheets of the worked example, through Form1 (offscreen),
// against the minimal loop of the station's reading benchmark, on the same simulated reader in
// one run. The console asks the tray twice a sheet and downloads the file's lines as they stand;
// the minimal loop does neither, so the ratio also holds what the console's own protocol costs.
#include "minimalreading.h"
#include "servicewindow.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace MinimalReading;

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The console reads at most 10,000 sheets a command.
    const int sheets = argc > 1 ? std::clamp(std::atoi(argv[1]), 1, 10000) : 10000;

    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("reader"));
    QFile fmt(dir.filePath(QStringLiteral("sinav.fmt")));
    QFile path(dir.filePath(QStringLiteral("path.txt")));
    if (!fmt.open(QIODevice::WriteOnly) || fmt.write(kSinav) < 0 ||
        !path.open(QIODevice::WriteOnly) ||
        path.write("sinav.fmt\r\n" + link.toLocal8Bit() + "\r\n") < 0)
        return 1;
    fmt.close();
    path.close();

    PtyReader reader(dir.filePath(QStringLiteral("tray")), link);
    QString error;
    if (!reader.start(&error)) {
        std::fprintf(stderr, "simulated reader: %s\n", qPrintable(error));
        return 1;
    }

    fillTray(reader, sheets);
    double loopSeconds = 0;
    const int loopSheets =
        minimalLoop(link, dir.filePath(QStringLiteral("MINIMAL.DAT")), &loopSeconds);

    fillTray(reader, sheets);
    double consoleSeconds = 0, consoleCpu = 0;
    {
        ServiceOptions options;
        options.folder = dir.path();
        options.autoReadData = QStringLiteral("CONSOLE.DAT");
        ServiceWindow console(options);
        if (!console.startUp())
            return 1;
        QAction *oku = console.findChild<QAction *>(QStringLiteral("Oku"));
        QElapsedTimer clock;
        const double cpuBefore = threadCpuSeconds();
        clock.start();
        oku->trigger(); // returns when the reading has ended
        consoleSeconds = clock.nsecsElapsed() / 1e9;
        consoleCpu = threadCpuSeconds() - cpuBefore;
        const QString status = console.findChild<QLabel *>(QStringLiteral("Label4"))->text();
        std::printf("console's last status: %s\n", qPrintable(status));
        console.close();
    }
    const int consoleSheets = lineCount(dir.filePath(QStringLiteral("CONSOLE.DAT")));
    reader.stop();

    return report("markservice", sheets, loopSheets, loopSeconds, consoleSheets, consoleSeconds,
                  consoleCpu);
}
