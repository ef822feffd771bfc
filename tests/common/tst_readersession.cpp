// The reader session and its typed commands, byte for byte, against a far end the test drives
// by hand: wake-up and pings, every command's bytes and reply, the heartbeat and its pauses, and
// a command that comes while another exchange waits.
#include "rawpty.h"
#include "readersession.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <functional>
#include <thread>

namespace {

struct Rig
{
    explicit Rig(int heartbeatMs = 60000) : session(ReaderTimings{300, 1000, heartbeatMs}) {}
    RawPty pty;
    ReaderSession session;
    ReaderCommands &commands() { return session.commands(); }
    bool open() { return session.open(pty.slavePath(), QStringLiteral("38400,N,8,1")); }
    // The device's bytes, sent while the program waits.
    void answerAfter(int ms, const QByteArray &bytes)
    {
        QTimer::singleShot(ms, &session, [this, bytes] { pty.send(bytes); });
    }
};

} // namespace

class TestReaderSession : public QObject
{
    Q_OBJECT

private slots:
    void wakeUpSendsAttentionThenPing_data()
    {
        QTest::addColumn<QByteArray>("attentionReply");
        QTest::addColumn<QByteArray>("pingReply");
        QTest::addColumn<bool>("present");
        QTest::addColumn<QByteArray>("sent");
        using B = QByteArray;
        QTest::newRow("ready") << B("\x01") << B("Y") << true << B("@OEM\x01Y");
        // Only the first byte of the attention reply counts.
        QTest::newRow("ready, two bytes") << B("\x01\x05") << B("Y") << true << B("@OEM\x01Y");
        QTest::newRow("switched off") << B("\x02") << B() << false << B("@OEM");
        QTest::newRow("silent") << B() << B() << false << B("@OEM");
        QTest::newRow("ready, ping not Y") << B("\x01") << B("N") << false << B("@OEM\x01Y");
    }
    void wakeUpSendsAttentionThenPing()
    {
        QFETCH(QByteArray, attentionReply);
        QFETCH(QByteArray, pingReply);
        QFETCH(bool, present);
        QFETCH(QByteArray, sent);
        Rig rig;
        QVERIFY(rig.open());
        rig.pty.send("junk before"); // whatever waited is thrown away first
        QTRY_VERIFY(rig.session.line()->bytesWaiting() > 0);
        if (!attentionReply.isEmpty())
            rig.answerAfter(20, attentionReply);
        if (!pingReply.isEmpty())
            rig.answerAfter(150, pingReply); // after the attention reply was taken
        QCOMPARE(rig.session.wake(), present);
        QCOMPARE(rig.session.readerPresent(), present);
        QCOMPARE(rig.pty.receive(sent.size(), 500), sent);
    }

    void heartbeatPingDiscardsALateAnswerAndRefusesMore()
    {
        Rig rig;
        QVERIFY(rig.open());
        QVERIFY(!rig.commands().heartbeatPing()); // no answer within the short wait
        rig.pty.send("Y");                        // too late for that ping
        QTRY_VERIFY(rig.session.line()->bytesWaiting() > 0);
        rig.answerAfter(20, "Y");
        QVERIFY(rig.commands().heartbeatPing()); // "Y" alone: the late one was discarded
        rig.answerAfter(20, "YX");
        QVERIFY(!rig.commands().heartbeatPing());
        QCOMPARE(rig.pty.receive(6, 500), QByteArray("\x01Y\x01Y\x01Y"));
    }

    // Every command that reads: the bytes it sends, and what it returns of the reply.
    void commandsSendTheirBytesAndTakeTheirReply()
    {
        using Call = std::function<SerialLine::Reply(ReaderCommands &)>;
        using Wait = ReaderCommands::Wait;
        struct Row
        {
            const char *name;
            Call call;
            QByteArray reply;
            QByteArray sent;
        };
        const QList<Row> rows = {
            {"tray query", [](ReaderCommands &c) { return c.trayQuery(); }, "\x01", "\x22"},
            {"status", [](ReaderCommands &c) { return c.sheetStatus(); }, "\x03", "\x2A"},
            {"data", [](ReaderCommands &c) { return c.sheetData(4); }, "ABCD", "\x2F"},
            {"level read", [](ReaderCommands &c) { return c.levelRead(7, 3); }, "XYZ",
             "\x37\x07\x2F"},
            {"read cell", [](ReaderCommands &c) { return c.readCell(26); }, "\x28\xFF", "\x08\x1A"},
            {"read cell, blocking", [](ReaderCommands &c) { return c.readCell(4, Wait::Blocking); },
             "\x80\x05", "\x08\x04"},
            {"write cell", [](ReaderCommands &c) { return c.writeCell(13, 0, 255); }, "\x06",
             QByteArray("\x07\x0D\x00\xFF", 4)},
            {"next eye", [](ReaderCommands &c) { return c.nextEye(); }, "\x8C", "\x20"},
            {"sensor", [](ReaderCommands &c) { return c.sensor(0x27); }, "\x01", "\x27"},
            {"timing-mark adjust", [](ReaderCommands &c) { return c.timingAdjust(); }, "\x01",
             "\x1E"},
            {"attention", [](ReaderCommands &c) { return c.attention(); }, "\x02", "@OEM"},
        };
        Rig rig;
        QVERIFY(rig.open());
        for (const Row &row : rows) {
            // From a thread of its own, as blocking waits run no timers: the reply once the
            // command's bytes have come.
            QByteArray sent;
            std::thread device([&rig, &row, &sent] {
                sent = rig.pty.receive(int(row.sent.size()), 500);
                rig.pty.send(row.reply);
            });
            const SerialLine::Reply reply = row.call(rig.commands());
            device.join();
            const QByteArray name = QByteArray(row.name) + ": ";
            QCOMPARE(name + sent.toHex(' '), name + row.sent.toHex(' '));
            QVERIFY2(reply.ok() && reply.bytes == row.reply, row.name);
        }
    }

    void writesWithoutReplyAndTheEyeLine()
    {
        Rig rig;
        QVERIFY(rig.open());
        QByteArray format = "10=10=00=D=01=08=01=10=H=Y=0123456789=X=";
        QVERIFY(rig.commands().downloadFormat(format));
        QVERIFY(rig.commands().startReading());
        QVERIFY(rig.commands().eyeRewind());
        QVERIFY(rig.commands().eject());
        QVERIFY(rig.commands().calibrate());
        rig.commands().farewell();
        const QByteArray expected = "\x32" + format + "\xA5\x3A\x2E\x3C\x3B@OEM";
        QCOMPARE(rig.pty.receive(int(expected.size()), 500), expected);
        // An eye line: 48 requests, the first byte of each answer; a silent reader ends it
        // with what had come.
        rig.pty.send("stale");
        QTRY_VERIFY(rig.session.line()->bytesWaiting() > 0);
        QTimer feeder;
        int answered = 0;
        connect(&feeder, &QTimer::timeout, &rig.session, [&] {
            const QByteArray got = rig.pty.receive(0, 0);
            for (int i = 0; i < got.size() && answered < 20; ++i)
                rig.pty.send(QByteArray(1, char(++answered)));
        });
        feeder.start(1);
        const SerialLine::Reply line = rig.commands().eyeLine(ReaderCommands::Wait::Yielding);
        QCOMPARE(line.outcome, SerialLine::Outcome::TimedOut);
        QCOMPARE(line.bytes.size(), 20);
        QCOMPARE(quint8(line.bytes.at(19)), quint8(20));
    }

    void heartbeatStopsWhilePausedAndReportsPresence()
    {
        Rig rig(50);
        QVERIFY(rig.open());
        QSignalSpy checks(&rig.session, &ReaderSession::presenceChecked);
        rig.session.startHeartbeat();
        // Absent from the start: the heartbeat tries a wake-up.
        QByteArray sent;
        QTRY_VERIFY((sent += rig.pty.receive(0, 0)).startsWith("@OEM"));
        QTRY_VERIFY(checks.count() >= 1);
        QCOMPARE(checks.last().at(0).toBool(), false);
        {
            const auto pause = rig.session.pauseHeartbeat();
            const auto second = rig.session.pauseHeartbeat();
            QTRY_VERIFY(!rig.session.line()->isWaiting());
            rig.pty.receive(0, 0);
            QVERIFY(!rig.session.heartbeatTimer()->isActive());
        }
        QVERIFY(rig.session.heartbeatTimer()->isActive());
        sent.clear();
        QTRY_VERIFY((sent += rig.pty.receive(0, 0)).startsWith("@OEM"));
    }

    // A command that comes while a ping waits for its reply runs when the ping is over, so
    // the ping's "Y" is never taken as the command's reply.
    void aCommandWaitsForTheExchangeInProgress()
    {
        Rig rig;
        QVERIFY(rig.open());
        QByteArray trayReply;
        QTimer::singleShot(20, &rig.session, [&] {
            QVERIFY(rig.session.isBusy());
            rig.session.whenIdle(&rig.session,
                                 [&] { trayReply = rig.commands().trayQuery().bytes; });
            QVERIFY(trayReply.isEmpty()); // not yet
            rig.pty.send("Y");
        });
        QVERIFY(rig.commands().heartbeatPing());
        rig.answerAfter(50, QByteArray(1, '\0'));
        QTRY_COMPARE(trayReply, QByteArray(1, '\0'));
        QCOMPARE(rig.pty.receive(3, 500), QByteArray("\x01Y\x22"));
    }
};

QTEST_GUILESS_MAIN(TestReaderSession)
#include "tst_readersession.moc"
