// One sheet's exchange without a window, against a reader the test scripts reply by reply:
// the bytes on the line, the outcome, the values, and when the pending record is written.
#include "fieldtable.h"
#include "rawpty.h"
#include "readersession.h"
#include "sheetreader.h"
#include "testfiles.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// Two fields of two characters; the download holds none of the command bytes the script answers.
const QByteArray kLeft = "10=10=00=D=\r\n01=02=01=10=H=Y=0123456789=X=\r\n"
                         "01=02=11=20=H=Y=ABCDEFGHIJ=X=\r\n";
const QByteArray kRight = QByteArray(kLeft).replace("00=D=", "00=T="); // marks on the right

const QByteArray kPaper(1, 1), kOk(1, 0);
using Outcome = SheetReader::Outcome;

// The far end answers each tray query, status and data request with the next scripted reply;
// a null reply is never sent (a silent reader).
struct ScriptedReader
{
    explicit ScriptedReader(const QByteArray &fmt = kLeft)
        : session(ReaderTimings{300, 300, 3000}), reader(session.commands()) // short sheet waits
    {
        QObject::connect(&poll, &QTimer::timeout, &session, [this] { answer(); });
        poll.start(1);
        FieldTable table;
        table.load(fmt);
        opened = session.open(pty.slavePath(), QStringLiteral("38400,N,8,1")) &&
                 reader.openDataFile(dir.filePath(QStringLiteral("D.DAT")), false) &&
                 reader.sendFormat(table);
    }
    void answer()
    {
        const QByteArray got = pty.receive(0, 0);
        sent += got;
        for (const char c : got)
            if ((c == 0x22 || c == 0x2A || c == 0x2F) && !replies.isEmpty())
                if (const QByteArray reply = replies.takeFirst(); !reply.isNull())
                    pty.send(reply);
    }
    // The bytes sent since the last call, once the line is quiet.
    QByteArray takeSent()
    {
        answer();
        return std::exchange(sent, QByteArray());
    }
    QList<QByteArray> records() const
    {
        return TestFiles::lines(TestFiles::read(dir.filePath(QStringLiteral("D.DAT"))));
    }
    QTemporaryDir dir;
    RawPty pty;
    ReaderSession session;
    SheetReader reader;
    QTimer poll;
    QList<QByteArray> replies;
    QByteArray sent;
    bool opened = false;
};

} // namespace

class TestSheetReader : public QObject
{
    Q_OBJECT

private slots:
    void oneExchange_data()
    {
        QTest::addColumn<QList<QByteArray>>("replies");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<int>("statusCode");
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<int>("recordsWritten"); // of the sheet read before
        const QByteArray none;                   // null: the reader stays silent
        const auto row = [](const char *name, const QList<QByteArray> &replies, Outcome outcome,
                            int status, const QByteArray &sent, int written) {
            QTest::newRow(name) << replies << int(outcome) << status << sent << written;
        };
        row("a sheet", {kPaper, kOk, "12AB"}, Outcome::Sheet, 0, "\x22\x2A\x2F", 1);
        // Longer than expected: the first characters are the sheet.
        row("a longer reply", {kPaper, kOk, "12ABXY"}, Outcome::Sheet, 0, "\x22\x2A\x2F", 1);
        // The last sheet of a run stays pending.
        row("no paper", {kOk}, Outcome::NoPaper, 0, "\x22\x3A", 0);
        row("jam", {kPaper, kPaper}, Outcome::StatusError, 1, "\x22\x2A\x3A", 1);
        // A time limit at the tray or status step still arms the reader for the next sheet.
        row("silent at the tray", {none}, Outcome::TimedOut, 0, "\x22\x3A", 0);
        row("silent at the status", {kPaper, none}, Outcome::TimedOut, 0, "\x22\x2A\x3A", 1);
        row("data short", {kPaper, kOk, "12A"}, Outcome::Incomplete, 0, "\x22\x2A\x2F", 1);
        row("no data", {kPaper, kOk, none}, Outcome::Incomplete, 0, "\x22\x2A\x2F", 1);
    }
    void oneExchange()
    {
        QFETCH(QList<QByteArray>, replies);
        QFETCH(int, outcome);
        QFETCH(int, statusCode);
        QFETCH(QByteArray, sent);
        QFETCH(int, recordsWritten);
        ScriptedReader r;
        QVERIFY(r.opened);
        QVERIFY(r.takeSent().startsWith("\x32")); // the download, then Chr(58)
        r.replies = {kPaper, kOk, "PREV"};
        QCOMPARE(int(r.reader.readSheet({}).outcome), int(Outcome::Sheet));
        QVERIFY(r.reader.recordPending());
        r.takeSent();
        r.replies = replies;
        const SheetReader::Result result = r.reader.readSheet({});
        QCOMPARE(int(result.outcome), outcome);
        QCOMPARE(result.statusCode, statusCode);
        QByteArray got;
        QTRY_COMPARE((got += r.takeSent()), sent);
        QCOMPARE(r.records().size(), recordsWritten);
        if (recordsWritten == 1)
            QCOMPARE(r.records().first(), QByteArray("PREV"));
        QCOMPARE(r.reader.recordPending(), outcome == int(Outcome::Sheet) || recordsWritten == 0);
        if (outcome == int(Outcome::Sheet))
            QCOMPARE(r.reader.values(), (QList<QByteArray>{"12", "AB"}));
    }

    void valuesChecksAndConstants_data()
    {
        QTest::addColumn<QByteArray>("fmt");
        QTest::addColumn<QStringList>("checks");
        QTest::addColumn<QList<QByteArray>>("values");
        QTest::addColumn<QList<bool>>("hits");
        const auto row = [](const char *name, const QByteArray &fmt, const QStringList &checks,
                            const QList<QByteArray> &values, const QList<bool> &hits) {
            QTest::newRow(name) << fmt << checks << values << hits;
        };
        row("plain", kLeft, {}, {"12", "AB"}, {false, false});
        row("constant and a hit", kLeft, {"=77", "-B"}, {"77", "AB"}, {false, true});
        row("any character hits", kLeft, {"9", "QA"}, {"12", "AB"}, {false, true});
        // Marks on the right: each field turned round, then checked.
        row("marks on the right", kRight, {"", "-BA"}, {"21", "BA"}, {false, true});
    }
    void valuesChecksAndConstants()
    {
        QFETCH(QByteArray, fmt);
        QFETCH(QStringList, checks);
        QFETCH(QList<QByteArray>, values);
        QFETCH(QList<bool>, hits);
        ScriptedReader r(fmt);
        QVERIFY(r.opened);
        r.replies = {kPaper, kOk, "12AB"};
        const SheetReader::Result result = r.reader.readSheet(checks);
        QCOMPARE(int(result.outcome), int(Outcome::Sheet));
        QCOMPARE(r.reader.values(), values);
        QCOMPARE(result.hits, hits);
        QCOMPARE(r.reader.pendingRecord(), values.join());
    }

    void aCorrectionReplacesTheRecordAndAFailedWriteKeepsTheSheet()
    {
        ScriptedReader r;
        QVERIFY(r.opened);
        r.replies = {kPaper, kOk, "12AB"};
        r.reader.readSheet({});
        bool hookRan = false;
        r.reader.setBeforeRecordWrite([&] {
            hookRan = true;
            r.reader.setEditedRecord("1XAB");
        });
        QVERIFY(r.reader.writePendingRecord());
        QVERIFY(hookRan);
        QCOMPARE(r.records(), QList<QByteArray>{"1XAB"});
        // The next sheet's record cannot be written: the reader is not asked for its status,
        // and the sheet stays pending for a second try.
        r.reader.setBeforeRecordWrite({});
        r.replies = {kPaper, kOk, "34CD"};
        r.reader.readSheet({});
        QVERIFY(r.reader.openDataFile(QStringLiteral("/dev/full"), false));
        r.takeSent();
        r.replies = {kPaper};
        QCOMPARE(int(r.reader.readSheet({}).outcome), int(Outcome::WriteFailed));
        QByteArray got;
        QTRY_COMPARE((got += r.takeSent()), QByteArray("\x22"));
        QVERIFY(r.reader.recordPending());
        QCOMPARE(r.reader.pendingRecord(), QByteArray("34CD"));
    }
};

QTEST_GUILESS_MAIN(TestSheetReader)
#include "tst_sheetreader.moc"
