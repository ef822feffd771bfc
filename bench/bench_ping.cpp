// Ping round trips per second: through the reader session's commands, and through a
// minimal loop on the same pseudo-terminal with plain system calls, against the same simulated
// reader. The ratio is what the serial line class costs.
#include "ptyreader.h"
#include "rawterminal.h"
#include "readersession.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <poll.h>
#include <unistd.h>

namespace {

double directRate(const QString &path, int rounds)
{
    const int fd = openRawTerminal(path);
    if (fd < 0)
        return 0;
    QElapsedTimer clock;
    clock.start();
    int answered = 0;
    for (int i = 0; i < rounds; ++i) {
        const char presence = 0x01, ask = 'Y';
        if (::write(fd, &presence, 1) != 1 || ::write(fd, &ask, 1) != 1)
            break;
        pollfd pfd{fd, POLLIN, 0};
        char reply = 0;
        if (::poll(&pfd, 1, 2000) != 1 || ::read(fd, &reply, 1) != 1)
            break;
        answered += reply == 'Y';
    }
    const double seconds = clock.nsecsElapsed() / 1e9;
    ::close(fd);
    return answered == rounds ? rounds / seconds : 0;
}

double lineRate(const QString &path, int rounds)
{
    ReaderSession session{ReaderTimings()};
    if (!session.open(path, QStringLiteral("38400,N,8,1")))
        return 0;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < rounds; ++i)
        if (!session.commands().ping())
            return 0;
    return rounds / (clock.nsecsElapsed() / 1e9);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 20000;
    QTemporaryDir dir;
    PtyReader reader(dir.path(), dir.filePath(QStringLiteral("reader")));
    QString error;
    if (!reader.start(&error)) {
        std::fprintf(stderr, "simulated reader: %s\n", qPrintable(error));
        return 1;
    }
    const QString link = reader.linkPath();
    // Warm up both paths, then measure them alternately so drift hits both alike.
    directRate(link, 500);
    lineRate(link, 500);
    double direct = 0, viaLine = 0;
    for (int pass = 0; pass < 3; ++pass) {
        direct += directRate(link, rounds / 3);
        viaLine += lineRate(link, rounds / 3);
    }
    direct /= 3;
    viaLine /= 3;
    if (direct <= 0 || viaLine <= 0) {
        std::fprintf(stderr, "a ping went unanswered\n");
        return 1;
    }
    std::printf("ping round trips: %d per path\n", rounds);
    std::printf("direct system calls: %10.0f pings/s\n", direct);
    std::printf("serial line class:   %10.0f pings/s\n", viaLine);
    std::printf("ratio (direct / line): %.2f  (goal <= 1.3)\n", direct / viaLine);
    return 0;
}
