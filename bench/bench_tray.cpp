// The simulated reader on a tray of many sheet files: sheets per second at the start and at the
// end of the tray, and what the reader keeps of its past. A reader whose cost per sheet grows
// with the tray, or whose memory grows with the run, slows a long demo or soak down.
#include "ptyreader.h"
#include "rawterminal.h"
#include "sheetwriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <poll.h>
#include <unistd.h>

namespace {

const QByteArray kForm = "10=10=00=D=\r\n01=08=01=10=H=Y=0123456789=X=\r\n";

bool exchange(int fd, char command, int replyLength, QByteArray *reply)
{
    if (::write(fd, &command, 1) != 1)
        return false;
    reply->clear();
    while (reply->size() < replyLength) {
        pollfd pfd{fd, POLLIN, 0};
        char buffer[256];
        if (::poll(&pfd, 1, 5000) != 1)
            return false;
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0)
            return false;
        reply->append(buffer, got);
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int sheets = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int block = qMax(1, qMin(1000, sheets / 4));
    QTemporaryDir dir;
    const QString tray = dir.filePath(QStringLiteral("tray"));
    QDir().mkpath(tray);
    QFile form(dir.filePath(QStringLiteral("form.fmt")));
    if (!form.open(QIODevice::WriteOnly) || form.write(kForm) != kForm.size())
        return 1;
    form.close();
    QString error;
    const QString first = dir.filePath(QStringLiteral("first.txt"));
    if (!SheetWriter::writeSheetFile(form.fileName(), {"12345678"}, 0, first, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    for (int i = 0; i < sheets; ++i)
        QFile::copy(first, QStringLiteral("%1/s%2.txt").arg(tray).arg(i, 6, 10, QLatin1Char('0')));

    PtyReader reader(tray, dir.filePath(QStringLiteral("reader")));
    if (!reader.start(&error)) {
        std::fprintf(stderr, "simulated reader: %s\n", qPrintable(error));
        return 1;
    }
    const int fd = openRawTerminal(reader.linkPath());
    if (fd < 0)
        return 1;
    const QByteArray download = "\x32" + QByteArray(kForm).replace("\r\n", "") + "\xA5\x3A";
    if (::write(fd, download.constData(), download.size()) != download.size())
        return 1;

    QList<double> rates;
    QElapsedTimer clock;
    clock.start();
    QByteArray reply;
    for (int i = 0; i < sheets; ++i) {
        if (!exchange(fd, 0x22, 1, &reply) || reply.at(0) == 0 || !exchange(fd, 0x2A, 1, &reply) ||
            reply.at(0) != 0 || !exchange(fd, 0x2F, 8, &reply)) {
            std::fprintf(stderr, "sheet %d was not read\n", i + 1);
            return 1;
        }
        if ((i + 1) % block == 0) {
            rates.append(block / (clock.nsecsElapsed() / 1e9));
            clock.restart();
        }
    }
    ::close(fd);
    std::printf("tray of %d sheet files, blocks of %d sheets\n", sheets, block);
    std::printf("first block: %8.0f sheets/s\n", rates.first());
    std::printf("last block:  %8.0f sheets/s\n", rates.last());
    std::printf("ratio (first / last): %.2f  (goal: flat, <= 1.2)\n", rates.first() / rates.last());
    std::printf("kept by the reader: %lld bytes received, %lld exchanges\n",
                qint64(reader.receivedBytes().size()), qint64(reader.receivedCommands().size()));
    reader.stop();
    return 0;
}
