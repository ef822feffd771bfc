// Automatic reading of many sheets of the worked example: through the station window
// (offscreen) and through a minimal loop that does the same exchanges and appends the same
// records, flushed the same way, without a window. Both against the simulated reader.
#include "datafile.h"
#include "protocol.h"
#include "ptyreader.h"
#include "rawterminal.h"
#include "sheetwriter.h"
#include "stationwindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>
#include <poll.h>
#include <unistd.h>

namespace {

const QByteArray kSinav = "40=12=00=D=\r\n"
                          "03=12=02=09=H=D=0123456789=X=[NUMARA]\r\n"
                          "14=38=02=06=H=Y=ABCDE=X=[CEVAP]\r\n"
                          "03=03=11=12=H=Y=AB=X=[KITAPCIK](-B)\r\n";
const QByteArray kDownload = "\x32"
                             "40=12=00=D=03=12=02=09=H=D=0123456789=X=14=38=02=06=H=Y=ABCDE=X="
                             "03=03=11=12=H=Y=AB=X="
                             "\xA5\x3A";
constexpr int kRecordLength = 34;

double threadCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

void fillTray(PtyReader &reader, int sheets)
{
    SheetImage sheet;
    QString error;
    SheetWriter::makeSheet(kSinav, {"20260001", "ABCDEABCDEABCDEABCDEABCDE", "A"}, 0, &sheet,
                           &error);
    reader.withDevice([&](ReaderDevice &device) {
        for (int i = 0; i < sheets; ++i)
            device.addSheet(sheet);
        return 0;
    });
}

bool readExactly(int fd, int count, QByteArray *out)
{
    out->clear();
    char buffer[256];
    while (out->size() < count) {
        pollfd pfd{fd, POLLIN, 0};
        if (::poll(&pfd, 1, 10000) != 1)
            return false;
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            return false;
        out->append(buffer, n);
    }
    return true;
}

bool exchange(int fd, char command, int replyLength, QByteArray *reply)
{
    return ::write(fd, &command, 1) == 1 && readExactly(fd, replyLength, reply);
}

// The same exchanges and records with plain system calls: no window, no event loop.
int minimalLoop(const QString &link, const QString &dataPath, double *seconds)
{
    const int fd = openRawTerminal(link);
    if (fd < 0)
        return -1;
    DataFile data;
    data.open(dataPath, true);
    QElapsedTimer clock;
    clock.start();
    if (::write(fd, kDownload.constData(), size_t(kDownload.size())) != kDownload.size())
        return -1;
    int sheets = 0;
    QByteArray pending, reply;
    for (;;) {
        if (!exchange(fd, Reader::kReadSheet, 1, &reply))
            break;
        if (reply.at(0) == 0) {
            const char start = Reader::kStartReading;
            [[maybe_unused]] ssize_t n = ::write(fd, &start, 1);
            break;
        }
        if (!pending.isEmpty() && !data.writeRecord(pending))
            break;
        if (!exchange(fd, Reader::kSheetStatus, 1, &reply) || reply.at(0) != 0)
            break;
        if (!exchange(fd, Reader::kSendData, kRecordLength, &pending))
            break;
        ++sheets;
    }
    if (!pending.isEmpty())
        data.writeRecord(pending);
    *seconds = clock.nsecsElapsed() / 1e9;
    ::close(fd);
    return sheets;
}

int lineCount(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? int(file.readAll().count("\r\n")) : -1;
}

} // namespace

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

    if (loopSheets != sheets || stationSheets != sheets) {
        std::fprintf(stderr, "sheets read: minimal loop %d, station %d, of %d\n", loopSheets,
                     stationSheets, sheets);
        return 1;
    }
    const double loopRate = sheets / loopSeconds;
    const double stationRate = sheets / stationSeconds;
    std::printf("sheets: %d of the worked example per path\n", sheets);
    std::printf("minimal loop: %8.0f sheets/s\n", loopRate);
    std::printf("station:      %8.0f sheets/s\n", stationRate);
    std::printf("ratio (loop / station): %.2f  (goal <= 1.5)\n", loopRate / stationRate);
    std::printf("station CPU time per sheet (its own thread): %.1f us\n",
                stationCpu / sheets * 1e6);
    return 0;
}
