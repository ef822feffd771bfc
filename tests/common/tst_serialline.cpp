// The one serial line: waits end with data, a time limit, a lost port or an abort, and never
// leave bytes of a failed exchange behind for the next one.
#include "rawpty.h"
#include "serialline.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using Outcome = SerialLine::Outcome;

class TestSerialLine : public QObject
{
    Q_OBJECT

    const QString kSettings = QStringLiteral("38400,N,8,1");

private slots:
    void yieldingWaitTakesTheWholeBuffer()
    {
        RawPty pty;
        SerialLine line;
        QVERIFY2(line.open(pty.slavePath(), kSettings), qPrintable(line.errorString()));
        pty.send("YZ");
        const SerialLine::Reply reply = line.waitYielding(1, 2000);
        QCOMPARE(reply.outcome, Outcome::Data);
        // Longer than asked for: returned whole, the caller decides what to use.
        QCOMPARE(reply.bytes, QByteArray("YZ"));
        QCOMPARE(line.bytesWaiting(), 0);
    }

    void eventsRunDuringAYieldingWait()
    {
        RawPty pty;
        SerialLine line;
        QVERIFY(line.open(pty.slavePath(), kSettings));
        bool tickRan = false;
        QTimer::singleShot(20, &line, [&tickRan] { tickRan = true; });
        QTimer::singleShot(60, &line, [&pty] { pty.send("ab"); });
        QCOMPARE(line.waitYielding(2, 2000).bytes, QByteArray("ab"));
        QVERIFY(tickRan);
    }

    void partialReplyIsConsumedAndReportedAsTimeOut()
    {
        RawPty pty;
        SerialLine line;
        QVERIFY(line.open(pty.slavePath(), kSettings));
        pty.send("ab");
        const SerialLine::Reply reply = line.waitYielding(3, 150);
        QCOMPARE(reply.outcome, Outcome::TimedOut);
        QVERIFY(reply.data().isEmpty());
        QCOMPARE(reply.bytes, QByteArray("ab"));
        // A late answer is for nobody: the next exchange starts clean after discarding.
        pty.send("Y");
        QTRY_VERIFY(line.bytesWaiting() > 0);
        line.discardInput();
        QCOMPARE(line.waitYielding(1, 100).outcome, Outcome::TimedOut);
    }

    void writesGoOutAtOnce()
    {
        RawPty pty;
        SerialLine line;
        QVERIFY(line.open(pty.slavePath(), kSettings));
        QVERIFY(line.write('\x01'));
        QVERIFY(line.write(QByteArray("Y")));
        QCOMPARE(pty.receive(2), QByteArray("\x01Y"));
    }

    void blockingWait()
    {
        RawPty pty;
        SerialLine line;
        QVERIFY(line.open(pty.slavePath(), kSettings));
        pty.send("\x07");
        QCOMPARE(line.waitBlocking(1, 2000).bytes, QByteArray("\x07"));
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(line.waitBlocking(1, 100).outcome, Outcome::TimedOut);
        QVERIFY(clock.elapsed() < 1500);
    }

    void hangUpEndsTheWaitOnceAndClosesThePort()
    {
        auto pty = std::make_unique<RawPty>();
        SerialLine line;
        QVERIFY(line.open(pty->slavePath(), kSettings));
        QSignalSpy lost(&line, &SerialLine::portLost);
        QTimer::singleShot(50, &line, [&pty] { pty->hangUp(); });
        QElapsedTimer clock;
        clock.start();
        const SerialLine::Reply reply = line.waitYielding(1, 5000);
        QCOMPARE(reply.outcome, Outcome::PortError);
        QVERIFY2(clock.elapsed() < 4000, "the wait ran into its time limit instead");
        QTRY_VERIFY(!line.isOpen());
        QTest::qWait(50);
        QCOMPARE(lost.count(), 1);
        QVERIFY(lost.first().first().toString().contains(QStringLiteral("koptu")));
        // The device is gone: a write tries to reopen, fails, and says so.
        QVERIFY(!line.write('\x01'));
        QCOMPARE(line.waitYielding(1, 100).outcome, Outcome::PortError);
    }

    void aPortClosedByItsOwnerStaysClosed()
    {
        RawPty pty;
        SerialLine line;
        QVERIFY(line.open(pty.slavePath(), kSettings));
        line.close();
        QVERIFY(!line.write(QByteArray("@OEM")));
        QVERIFY(!line.isOpen());
        QCOMPARE(pty.receive(1, 100), QByteArray());
    }

    void abortEndsTheWait()
    {
        RawPty pty;
        SerialLine line;
        QVERIFY(line.open(pty.slavePath(), kSettings));
        QTimer::singleShot(30, &line, &SerialLine::abortWaits);
        QCOMPARE(line.waitYielding(1, 5000).outcome, Outcome::Aborted);
        QVERIFY(!line.isWaiting());
    }

    void ownerDeletedDuringAWait()
    {
        RawPty pty;
        auto *line = new SerialLine;
        QVERIFY(line->open(pty.slavePath(), kSettings));
        QTimer::singleShot(30, line, [line] { delete line; });
        QCOMPARE(line->waitYielding(1, 5000).outcome, Outcome::Aborted);
    }

    void badSettingsOrPort()
    {
        SerialLine line;
        QVERIFY(!line.open(QStringLiteral("/dev/null-no-such-port"), kSettings));
        QVERIFY(line.errorString().contains(QStringLiteral("/dev/null-no-such-port")));
        RawPty pty;
        QVERIFY(!line.open(pty.slavePath(), QStringLiteral("38400,X,8,1")));
        QVERIFY(line.errorString().contains(QStringLiteral("38400,X,8,1")));
        QCOMPARE(line.waitYielding(1, 50).outcome, Outcome::PortError);
    }
};

QTEST_GUILESS_MAIN(TestSerialLine)
#include "tst_serialline.moc"
