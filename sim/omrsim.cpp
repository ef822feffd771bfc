// omrsim: the simulated mark reader on a pseudo-terminal, and the sheet writer.

#include "cp1254.h"
#include "protocol.h"
#include "ptyreader.h"
#include "sheetwriter.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QMutex>
#include <QSocketNotifier>
#include <QTextStream>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const char kHelp[] = R"(Simulated mark reader on a pseudo-terminal.

omrsim --link PATH --tray DIR [--log FILE] [--sensor Q=V ...] [--silent] [--delay MS]
       [--garbage] [--partial] [--off]
  Opens a pseudo-terminal, makes PATH a link to it, prints the terminal's path and answers the
  reader commands until SIGTERM or SIGINT, then removes the link. Sheets are taken from DIR in
  file-name order. The fault options start the reader silent, with late replies, with garbage
  in place of replies, with replies cut to their first half, or switched off.
  Signals: SIGUSR1 toggles silence; SIGUSR2 hangs up and comes back a second later.

  --sensor Q=V (repeatable) sets what the sensor query Q answers: Q is 23 (entry), 24
  (middle), 25 (exit), 26 (Clear button) or 27 (second button), in hex; V is 0 (no paper)
  to 255. Unset sensors answer 0. The tray sensor 22 answers 1 while a sheet waits in DIR.

  Memory cells 1 to 30 (read 08 n, write 07 n a b) start with factory values and keep what
  is written for as long as omrsim runs. Cell 4's second byte is the marking limit on the
  0-255 scale of the eye values (default 140: grey level 5 and darker counts as marked).
  Eye values (rewind 2E, next 20) stream the last sheet fed: 64 lines of 48 eyes, a full
  mark 255, grey level d 28 x d, empty 0, lines beyond the sheet 0.

omrsim make-sheet --fmt FILE --out SHEET [--status N] VALUE1 VALUE2 ...
  Writes a sheet file for the form FILE with the given field values, in the form's field
  order. ' ' leaves a position unmarked, '*' marks two cells.
)";

int signalPipe[2] = {-1, -1};

void onSignal(int number)
{
    const char byte = char(number);
    [[maybe_unused]] const auto ignored = ::write(signalPipe[1], &byte, 1);
}

QString hex(const QByteArray &bytes)
{
    return bytes.isEmpty() ? QStringLiteral("-") : QString::fromLatin1(bytes.toHex(' '));
}

int fail(const QString &message)
{
    QTextStream(stderr) << "omrsim: " << message << '\n';
    return 2;
}

int makeSheet(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("fmt"), QStringLiteral("FMT file"), QStringLiteral("FILE")});
    parser.addOption(
        {QStringLiteral("out"), QStringLiteral("sheet file"), QStringLiteral("SHEET")});
    parser.addOption({QStringLiteral("status"), QStringLiteral("status code"), QStringLiteral("N"),
                      QStringLiteral("0")});
    parser.addPositionalArgument(QStringLiteral("values"), QStringLiteral("field values"));
    if (!parser.parse(arguments))
        return fail(parser.errorText());
    if (!parser.isSet(QStringLiteral("fmt")) || !parser.isSet(QStringLiteral("out")))
        return fail(QStringLiteral("make-sheet needs --fmt and --out"));
    bool ok = false;
    const int status = parser.value(QStringLiteral("status")).toInt(&ok);
    if (!ok)
        return fail(QStringLiteral("--status needs a number"));
    QList<QByteArray> values;
    for (const QString &value : parser.positionalArguments())
        values.append(toCp1254(value)); // the form's sets are in code page 1254
    QString error;
    if (!SheetWriter::writeSheetFile(parser.value(QStringLiteral("fmt")), values, status,
                                     parser.value(QStringLiteral("out")), &error))
        return fail(error);
    return 0;
}

// "25=1": the sensor query in hex, then the state it answers.
bool parseSensor(const QString &setting, char *query, quint8 *value)
{
    const QStringList parts = setting.split(u'=');
    if (parts.size() != 2)
        return false;
    bool queryOk = false, valueOk = false;
    const int code = parts[0].trimmed().toInt(&queryOk, 16);
    const int state = parts[1].trimmed().toInt(&valueOk);
    if (!queryOk || !valueOk || code < quint8(Reader::kEntrySensor) ||
        code > quint8(Reader::kButton2) || state < 0 || state > 255)
        return false;
    *query = char(code);
    *value = quint8(state);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments();
    if (arguments.size() > 1 && arguments.at(1) == QLatin1String("make-sheet")) {
        arguments.removeAt(1);
        return makeSheet(arguments);
    }

    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(kHelp));
    parser.addHelpOption();
    parser.addOption(
        {QStringLiteral("link"), QStringLiteral("link to the terminal"), QStringLiteral("PATH")});
    parser.addOption(
        {QStringLiteral("tray"), QStringLiteral("folder of sheet files"), QStringLiteral("DIR")});
    parser.addOption(
        {QStringLiteral("log"), QStringLiteral("exchange log"), QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("silent"), QStringLiteral("send no replies")});
    parser.addOption(
        {QStringLiteral("delay"), QStringLiteral("late replies"), QStringLiteral("MS")});
    parser.addOption({QStringLiteral("garbage"), QStringLiteral("garbage in place of replies")});
    parser.addOption({QStringLiteral("partial"), QStringLiteral("first half of each reply")});
    parser.addOption({QStringLiteral("off"), QStringLiteral("reader switched off")});
    parser.addOption(
        {QStringLiteral("sensor"), QStringLiteral("sensor state"), QStringLiteral("Q=V")});
    parser.process(arguments);
    if (!parser.isSet(QStringLiteral("link")) || !parser.isSet(QStringLiteral("tray")))
        return fail(QStringLiteral("--link and --tray are needed (see --help)"));
    int delay = 0;
    if (parser.isSet(QStringLiteral("delay"))) {
        bool ok = false;
        delay = parser.value(QStringLiteral("delay")).toInt(&ok);
        if (!ok || delay < 0)
            return fail(QStringLiteral("--delay needs milliseconds"));
    }

    QFile log;
    QMutex logMutex;
    const auto writeLog = [&](const QString &line) {
        QMutexLocker lock(&logMutex);
        if (!log.isOpen())
            return;
        log.write(QDateTime::currentDateTime().toString(Qt::ISODateWithMs).toUtf8() + ' ' +
                  line.toUtf8() + '\n');
        log.flush();
    };
    if (parser.isSet(QStringLiteral("log"))) {
        log.setFileName(parser.value(QStringLiteral("log")));
        if (!log.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
            return fail(QStringLiteral("%1: %2").arg(log.fileName(), log.errorString()));
    }

    PtyReader reader(parser.value(QStringLiteral("tray")), parser.value(QStringLiteral("link")));
    reader.setLogger([&](const QByteArray &received, const QByteArray &sent) {
        writeLog(QStringLiteral("in %1 out %2").arg(hex(received), hex(sent)));
    });
    reader.setSilent(parser.isSet(QStringLiteral("silent")));
    reader.setReplyDelayMs(delay);
    reader.setGarbage(parser.isSet(QStringLiteral("garbage")));
    reader.setPartialReplies(parser.isSet(QStringLiteral("partial")));
    reader.setSwitchedOff(parser.isSet(QStringLiteral("off")));
    for (const QString &setting : parser.values(QStringLiteral("sensor"))) {
        char query = 0;
        quint8 value = 0;
        if (!parseSensor(setting, &query, &value))
            return fail(QStringLiteral("--sensor %1: needs Q=V, Q 23 to 27 (hex), V 0 to 255")
                            .arg(setting));
        reader.withDevice([=](ReaderDevice &device) { device.setSensor(query, value); });
    }

    // Signals arrive through a socket so that they are handled on the event loop.
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0)
        return fail(QStringLiteral("socketpair failed"));
    QSocketNotifier notifier(signalPipe[0], QSocketNotifier::Read);
    QTimer comeBackTimer;
    comeBackTimer.setSingleShot(true);
    comeBackTimer.setInterval(1000);
    QObject::connect(&comeBackTimer, &QTimer::timeout, &app, [&] {
        QString error;
        if (!reader.comeBack(&error)) {
            fail(error);
            app.exit(1);
            return;
        }
        writeLog(QStringLiteral("back on %1").arg(reader.slavePath()));
        QTextStream(stdout) << reader.slavePath() << Qt::endl;
    });
    QObject::connect(&notifier, &QSocketNotifier::activated, &app, [&] {
        char number = 0;
        if (::read(signalPipe[0], &number, 1) != 1)
            return;
        if (number == SIGUSR1) {
            reader.setSilent(!reader.silent());
            writeLog(reader.silent() ? QStringLiteral("silent") : QStringLiteral("answering"));
        } else if (number == SIGUSR2) {
            if (comeBackTimer.isActive())
                return;
            reader.hangUp();
            writeLog(QStringLiteral("hung up"));
            comeBackTimer.start();
        } else {
            app.quit();
        }
    });
    struct sigaction action
    {
    };
    action.sa_handler = onSignal;
    ::sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : {SIGTERM, SIGINT, SIGUSR1, SIGUSR2})
        ::sigaction(number, &action, nullptr);

    QString error;
    if (!reader.start(&error))
        return fail(error);
    writeLog(QStringLiteral("started on %1").arg(reader.slavePath()));
    QTextStream(stdout) << reader.slavePath() << Qt::endl;

    const int result = app.exec();
    reader.stop();
    writeLog(QStringLiteral("stopped"));
    return result;
}
