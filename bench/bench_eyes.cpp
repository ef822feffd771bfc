// "YENİLE" of the test form window: its 3072 eye-value exchanges through the reader commands,
// against a minimal loop of plain system calls on the same pseudo-terminal and simulated reader;
// then the time to fill and colour the 64 × 48 grid once the values are in.
#include "ptyreader.h"
#include "rawterminal.h"
#include "readersession.h"
#include "testformwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <poll.h>
#include <unistd.h>

namespace {

constexpr int kLines = TestFormWindow::kLines;
constexpr int kEyes = TestFormWindow::kEyes;

// Seconds for one rewind and 3072 one-byte exchanges, or a negative number on a lost reply.
double directRun(const QString &path)
{
    const int fd = openRawTerminal(path);
    if (fd < 0)
        return -1;
    QElapsedTimer clock;
    clock.start();
    const char rewind = 0x2E, next = 0x20;
    bool ok = ::write(fd, &rewind, 1) == 1;
    for (int i = 0; ok && i < kLines * kEyes; ++i) {
        pollfd pfd{fd, POLLIN, 0};
        char value = 0;
        ok = ::write(fd, &next, 1) == 1 && ::poll(&pfd, 1, 2000) == 1 && ::read(fd, &value, 1) == 1;
    }
    const double seconds = clock.nsecsElapsed() / 1e9;
    ::close(fd);
    return ok ? seconds : -1;
}

double commandsRun(ReaderSession &session, TestFormWindow::LineTable *table)
{
    QElapsedTimer clock;
    clock.start();
    ReaderCommands &commands = session.commands();
    table->clear();
    if (!commands.eyeRewind())
        return -1;
    for (int line = 0; line < kLines; ++line) {
        const SerialLine::Reply reply = commands.eyeLine(ReaderCommands::Wait::Blocking);
        if (!reply.ok())
            return -1;
        table->append(reply.bytes.left(kEyes));
    }
    return clock.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    PtyReader reader(dir.filePath(QStringLiteral("tray")), dir.filePath(QStringLiteral("reader")));
    QString error;
    if (!reader.start(&error)) {
        std::fprintf(stderr, "simulated reader: %s\n", qPrintable(error));
        return 1;
    }
    // A test sheet: every line marked at eye 1 and every third eye grey.
    QByteArray sheet;
    for (int line = 0; line < kLines; ++line)
        sheet += "X" + QByteArray(kEyes - 1, '.').replace("...", "..5") + '\n';
    reader.withDevice([&sheet](ReaderDevice &device) {
        device.addSheetText(sheet, QStringLiteral("test"));
        device.receive("\x2A");
    });

    ReaderSession session(ReaderTimings{});
    // The session's line holds the port open beside the minimal loop's own descriptor.
    if (!session.open(reader.linkPath(), QStringLiteral("38400,N,8,1"))) {
        std::fprintf(stderr, "%s\n", qPrintable(session.line()->errorString()));
        return 1;
    }
    TestFormWindow::LineTable table;
    // Warm up both paths, then measure them alternately so drift hits both alike.
    directRun(reader.linkPath());
    commandsRun(session, &table);
    double direct = 0, viaCommands = 0;
    constexpr int kPasses = 5;
    for (int pass = 0; pass < kPasses; ++pass) {
        const double d = directRun(reader.linkPath());
        const double c = commandsRun(session, &table);
        if (d < 0 || c < 0) {
            std::fprintf(stderr, "an eye value went unanswered\n");
            return 1;
        }
        direct += d;
        viaCommands += c;
    }
    direct /= kPasses;
    viaCommands /= kPasses;
    std::printf("YENİLE: 1 rewind + %d exchanges per run, mean of %d runs\n", kLines * kEyes,
                kPasses);
    std::printf("direct system calls: %8.1f ms\n", direct * 1e3);
    std::printf("reader commands:     %8.1f ms\n", viaCommands * 1e3);
    std::printf("ratio (commands / direct): %.2f  (goal <= 1.2)\n", viaCommands / direct);

    TestFormWindow form5(session, nullptr);
    form5.show();
    QCoreApplication::processEvents();
    // Every other run shows the values turned round, so that every cell changes each time.
    TestFormWindow::LineTable inverted = table;
    for (QByteArray &line : inverted)
        for (char &value : line)
            value = char(255 - quint8(value));
    std::vector<double> fills;
    for (int run = 0; run < 21; ++run) {
        QElapsedTimer clock;
        clock.start();
        form5.showLines(run % 2 ? inverted : table);
        form5.colourByThresholds();
        QCoreApplication::processEvents(); // the one repaint that follows
        fills.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::sort(fills.begin(), fills.end());
    std::printf("fill and colour the %d x %d grid: %.1f ms median, %.1f ms worst of %zu  "
                "(goal <= 30 ms)\n",
                kLines, kEyes, fills[fills.size() / 2], fills.back(), fills.size());
    return 0;
}
