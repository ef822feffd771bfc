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

// Two fields of two characters; the download holds none of the command bytes the script
// answers.
const QByteArray kLeft = "10=10=00=D=\r\n01=02=01=10=H=Y=0123456789=X=\r\n"
                         "01=02=11=20=H=Y=ABCDEFGHIJ=X=\r\n";
const QByteArray kRight = "10=10=00=T=\r\n01=02=01=10=H=Y=0123456789=X=\r\n"
                          "01=02=11=20=H=Y=ABCDEFGHIJ=X=\r\n";

using Outcome = SheetReader::Outcome;

// The far end answers each tray query, status and data request with the next scripted reply;
// a null reply is never sent (a silent reader).
struct ScriptedReader
{
    explicit ScriptedReader(const QByteArray &fmt = kLeft)
        : session(timings()), reader(session.commands())
    {
        QObject::connect(&poll, &QTimer::timeout, &session, [this] { answer(); });
        poll.start(1);
        FieldTable table;
        table.load(fmt);
        opened = session.open(pty.slavePath(), QStringLiteral("38400,N,8,1")) &&
                 reader.openDataFile(dir.filePath(QStringLiteral("D.DAT")), false) &&
                 reader.sendFormat(table);
    }

    static ReaderTimings timings()
    {
        ReaderTimings t;
        t.longWaitMs = 300;
        return t;
    }

    void answer()
    {
        const QByteArray got = pty.receive(0, 0);
        sent += got;
        for (const char c : got) {
            if ((c == 0x22 || c == 0x2A || c == 0x2F) && !replies.isEmpty()) {
                const QByteArray reply = replies.takeFirst();
                if (!reply.isNull())
                    pty.send(reply);
            }
        }
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

        const QByteArray none; // null: the reader stays silent
        const QByteArray paper(1, 1), ok(1, 0);
        QTest::newRow("a sheet") << QList<QByteArray>{paper, ok, "12AB"} << int(Outcome::Sheet) << 0
                                 << QByteArray("\x22\x2A\x2F") << 1;
        // Longer than expected: the first characters are the sheet.
        QTest::newRow("a longer reply")
            << QList<QByteArray>{paper, ok, "12ABXY"} << int(Outcome::Sheet) << 0
            << QByteArray("\x22\x2A\x2F") << 1;
        // The last sheet of a run stays pending.
        QTest::newRow("no paper") << QList<QByteArray>{ok} << int(Outcome::NoPaper) << 0
                                  << QByteArray("\x22\x3A") << 0;
        QTest::newRow("jam") << QList<QByteArray>{paper, QByteArray(1, 1)}
                             << int(Outcome::StatusError) << 1 << QByteArray("\x22\x2A\x3A") << 1;
        // A time limit at the tray or status step still arms the reader for the next sheet.
        QTest::newRow("silent at the tray") << QList<QByteArray>{none} << int(Outcome::TimedOut)
                                            << 0 << QByteArray("\x22\x3A") << 0;
        QTest::newRow("silent at the status")
            << QList<QByteArray>{paper, none} << int(Outcome::TimedOut) << 0
            << QByteArray("\x22\x2A\x3A") << 1;
        QTest::newRow("data short")
            << QList<QByteArray>{paper, ok, "12A"} << int(Outcome::Incomplete) << 0
            << QByteArray("\x22\x2A\x2F") << 1;
        QTest::newRow("no data") << QList<QByteArray>{paper, ok, none} << int(Outcome::Incomplete)
                                 << 0 << QByteArray("\x22\x2A\x2F") << 1;
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
        r.replies = {QByteArray(1, 1), QByteArray(1, 0), "PREV"};
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
        QTest::newRow("plain") << kLeft << QStringList() << QList<QByteArray>{"12", "AB"}
                               << QList<bool>{false, false};
        QTest::newRow("constant and a hit")
            << kLeft << QStringList{"=77", "-B"} << QList<QByteArray>{"77", "AB"}
            << QList<bool>{false, true};
        QTest::newRow("any character hits")
            << kLeft << QStringList{"9", "QA"} << QList<QByteArray>{"12", "AB"}
            << QList<bool>{false, true};
        // Marks on the right: each field turned round, then checked.
        QTest::newRow("marks on the right")
            << kRight << QStringList{"", "-BA"} << QList<QByteArray>{"21", "BA"}
            << QList<bool>{false, true};
    }

    void valuesChecksAndConstants()
    {
        QFETCH(QByteArray, fmt);
        QFETCH(QStringList, checks);
        QFETCH(QList<QByteArray>, values);
        QFETCH(QList<bool>, hits);
        ScriptedReader r(fmt);
        QVERIFY(r.opened);
        r.replies = {QByteArray(1, 1), QByteArray(1, 0), "12AB"};
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
        r.replies = {QByteArray(1, 1), QByteArray(1, 0), "12AB"};
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
        r.replies = {QByteArray(1, 1), QByteArray(1, 0), "34CD"};
        r.reader.readSheet({});
        QVERIFY(r.reader.openDataFile(QStringLiteral("/dev/full"), false));
        r.takeSent();
        r.replies = {QByteArray(1, 1)};
        QCOMPARE(int(r.reader.readSheet({}).outcome), int(Outcome::WriteFailed));
        QByteArray got;
        QTRY_COMPARE((got += r.takeSent()), QByteArray("\x22"));
        QVERIFY(r.reader.recordPending());
        QCOMPARE(r.reader.pendingRecord(), QByteArray("34CD"));
    }
};

QTEST_GUILESS_MAIN(TestSheetReader)
#include "tst_sheetreader.moc"
