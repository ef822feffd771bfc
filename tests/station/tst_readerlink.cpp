// The station's own exchanges, byte for byte, against a far end the test drives by hand.
#include "rawpty.h"
#include "readerlink.h"

#include <QTest>
#include <QTimer>

class TestReaderLink : public QObject
{
    Q_OBJECT

    struct Rig
    {
        RawPty pty;
        SerialLine line;
        ReaderLink link{&line};
        bool open() { return link.OpenReaderPort(pty.slavePath(), QStringLiteral("38400,N,8,1")); }
        // The device's bytes, sent while the program waits.
        void answerAfter(int ms, const QByteArray &bytes)
        {
            QTimer::singleShot(ms, &line, [this, bytes] { pty.send(bytes); });
        }
    };

private slots:
    void wakeUpSendsAttentionThenPing_data()
    {
        QTest::addColumn<QByteArray>("attentionReply");
        QTest::addColumn<QByteArray>("pingReply");
        QTest::addColumn<bool>("present");
        QTest::addColumn<QByteArray>("sent");
        QTest::newRow("ready") << QByteArray("\x01") << QByteArray("Y") << true
                               << QByteArray("@OEM\x01Y");
        // Only the first byte of the attention reply counts.
        QTest::newRow("ready, two bytes")
            << QByteArray("\x01\x05") << QByteArray("Y") << true << QByteArray("@OEM\x01Y");
        QTest::newRow("switched off")
            << QByteArray("\x02") << QByteArray() << false << QByteArray("@OEM");
        QTest::newRow("silent") << QByteArray() << QByteArray() << false << QByteArray("@OEM");
        QTest::newRow("ready, ping not Y")
            << QByteArray("\x01") << QByteArray("N") << false << QByteArray("@OEM\x01Y");
        // A ping must be answered by "Y" alone.
        QTest::newRow("ready, ping Y and more")
            << QByteArray("\x01") << QByteArray("YY") << false << QByteArray("@OEM\x01Y");
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
        QTRY_VERIFY(rig.line.bytesWaiting() > 0);
        if (!attentionReply.isEmpty())
            rig.answerAfter(20, attentionReply);
        if (!pingReply.isEmpty())
            rig.answerAfter(450, pingReply); // well after the attention reply was taken
        QCOMPARE(rig.link.WakeReader(), present);
        QCOMPARE(rig.pty.receive(sent.size(), 500), sent);
    }

    void heartbeatPingDiscardsALateAnswer()
    {
        Rig rig;
        QVERIFY(rig.open());
        QVERIFY(!rig.link.heartbeatPing()); // no answer within the short wait
        QCOMPARE(rig.link.lastOutcome(), SerialLine::Outcome::TimedOut);
        rig.pty.send("Y"); // too late for that ping
        QTRY_VERIFY(rig.line.bytesWaiting() > 0);
        rig.answerAfter(20, "Y");
        QVERIFY(rig.link.heartbeatPing()); // "Y" alone: the late one was discarded
        QCOMPARE(rig.pty.receive(4, 500), QByteArray("\x01Y\x01Y"));
    }

    void heartbeatPingRefusesTrailingBytes()
    {
        Rig rig;
        QVERIFY(rig.open());
        rig.answerAfter(20, "YX");
        QVERIFY(!rig.link.heartbeatPing());
    }

    void waitsEndOnAHangUp()
    {
        Rig rig;
        QVERIFY(rig.open());
        QTimer::singleShot(30, &rig.line, [&rig] { rig.pty.hangUp(); });
        QVERIFY(rig.link.WaitReply(1).isEmpty());
        QCOMPARE(rig.link.lastOutcome(), SerialLine::Outcome::PortError);
        QVERIFY(!rig.link.PingReader()); // no hang, no crash on a gone port
    }
};

QTEST_GUILESS_MAIN(TestReaderLink)
#include "tst_readerlink.moc"
