#pragma once

// The minimal reading loop both reading benchmarks measure against: the sheet exchanges and
// flushed appends of the worked example with plain system calls, no window, no event loop.
#include "datafile.h"
#include "protocol.h"
#include "ptyreader.h"
#include "rawterminal.h"
#include "sheetwriter.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QString>

#include <cstdio>
#include <ctime>
#include <poll.h>
#include <string>
#include <unistd.h>

namespace MinimalReading {

inline const QByteArray kSinav = "40=12=00=D=\r\n"
                                 "03=12=02=09=H=D=0123456789=X=[NUMARA]\r\n"
                                 "14=38=02=06=H=Y=ABCDE=X=[CEVAP]\r\n"
                                 "03=03=11=12=H=Y=AB=X=[KITAPCIK](-B)\r\n";
inline const QByteArray kDownload =
    "\x32"
    "40=12=00=D=03=12=02=09=H=D=0123456789=X=14=38=02=06=H=Y=ABCDE=X="
    "03=03=11=12=H=Y=AB=X="
    "\xA5\x3A";
constexpr int kRecordLength = 34;

inline double threadCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

inline void fillTray(PtyReader &reader, int sheets)
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

inline bool readExactly(int fd, int count, QByteArray *out)
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

inline bool exchange(int fd, char command, int replyLength, QByteArray *reply)
{
    return ::write(fd, &command, 1) == 1 && readExactly(fd, replyLength, reply);
}

// The same exchanges and records with plain system calls: no window, no event loop.
inline int minimalLoop(const QString &link, const QString &dataPath, double *seconds)
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

inline int lineCount(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? int(file.readAll().count("\r\n")) : -1;
}

// Prints both paths' rates and their ratio against the goal; 1 when a path lost sheets.
inline int report(const char *program, int sheets, int loopSheets, double loopSeconds,
                  int programSheets, double programSeconds, double programCpu)
{
    if (loopSheets != sheets || programSheets != sheets) {
        std::fprintf(stderr, "sheets read: minimal loop %d, %s %d, of %d\n", loopSheets, program,
                     programSheets, sheets);
        return 1;
    }
    const double loopRate = sheets / loopSeconds;
    const double programRate = sheets / programSeconds;
    std::printf("sheets: %d of the worked example per path\n", sheets);
    std::printf("minimal loop: %8.0f sheets/s\n", loopRate);
    std::printf("%-13s %8.0f sheets/s\n", (std::string(program) + ':').c_str(), programRate);
    std::printf("ratio (loop / %s): %.2f  (goal <= 1.5)\n", program, loopRate / programRate);
    std::printf("%s CPU time per sheet (its own thread): %.1f us\n", program,
                programCpu / sheets * 1e6);
    return 0;
}

} // namespace MinimalReading
