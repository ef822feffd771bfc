// The one serial line: waits end with data, a time limit, a lost port or an abort, and never
// leave bytes of a failed exchange behind for the next one.
#include "rawpty.h"
#include "serialline.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <fcntl.h>
#include <memory>
#include <termios.h>
#include <unistd.h>

using Outcome = SerialLine::Outcome;
using namespace Qt::StringLiterals;

class TestSerialLine : public QObject
{
    Q_OBJECT

    const QString kSettings = QStringLiteral("38400,N,8,1");
    std::unique_ptr<RawPty> m_pty;
    std::unique_ptr<SerialLine> m_line;

private slots:
    void init()
    {
        m_line.reset(); // before its terminal goes
        m_pty = std::make_unique<RawPty>();
        m_line = std::make_unique<SerialLine>();
        QVERIFY2(m_line->open(m_pty->slavePath(), kSettings), qPrintable(m_line->errorString()));
    }

    void waitsTakeTheWholeBuffer()
    {
        bool tickRan = false;
        QTimer::singleShot(20, m_line.get(), [&tickRan] { tickRan = true; });
        QTimer::singleShot(60, m_line.get(), [this] { m_pty->send("YZ"); });
        const SerialLine::Reply reply = m_line->waitYielding(1, 2000);
        QCOMPARE(reply.outcome, Outcome::Data);
        QCOMPARE(reply.bytes, QByteArray("YZ")); // longer than asked for: returned whole
        QCOMPARE(m_line->bytesWaiting(), 0);
        QVERIFY(tickRan); // the yielding wait runs events
        m_pty->send("\x07");
        QCOMPARE(m_line->waitBlocking(1, 2000).bytes, QByteArray("\x07"));
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(m_line->waitBlocking(1, 100).outcome, Outcome::TimedOut);
        QVERIFY(clock.elapsed() < 1500);
    }

    void partialReplyIsConsumedAndReportedAsTimeOut()
    {
        m_pty->send("ab");
        QElapsedTimer clock;
        clock.start();
        const SerialLine::Reply reply = m_line->waitYielding(3, 150);
        QCOMPARE(reply.outcome, Outcome::TimedOut);
        QVERIFY2(clock.elapsed() < 1500, "the wait outlived its limit");
        QVERIFY(reply.data().isEmpty());
        QCOMPARE(reply.bytes, QByteArray("ab"));
        // A late answer is for nobody: the next exchange starts clean after discarding.
        m_pty->send("Y");
        QTRY_VERIFY(m_line->bytesWaiting() > 0);
        m_line->discardInput();
        QCOMPARE(m_line->waitYielding(1, 100).outcome, Outcome::TimedOut);
    }

    // A byte the reader sent before the line was opened (its answer to another program's
    // farewell) is not taken for the first reply.
    void aLineOpensEmpty()
    {
        m_line->close();
        m_pty->send("\x01");
        QVERIFY(m_line->open(m_pty->slavePath(), kSettings));
        m_pty->send("Y");
        QCOMPARE(m_line->waitYielding(1, 2000).bytes, QByteArray("Y"));
    }

    void writesGoOutAtOnceUntilTheOwnerCloses()
    {
        QVERIFY(m_line->write('\x01'));
        QVERIFY(m_line->write(QByteArray("Y")));
        QCOMPARE(m_pty->receive(2), QByteArray("\x01Y"));
        // A port closed by its owner stays closed: a write does not reopen it.
        m_line->close();
        QVERIFY(!m_line->write(QByteArray("@OEM")));
        QVERIFY(!m_line->isOpen());
        QCOMPARE(m_pty->receive(1, 100), QByteArray());
    }

    void hangUpEndsTheWaitOnceAndClosesThePort()
    {
        QSignalSpy lost(m_line.get(), &SerialLine::portLost);
        QTimer::singleShot(50, m_line.get(), [this] { m_pty->hangUp(); });
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(m_line->waitYielding(1, 5000).outcome, Outcome::PortError);
        QVERIFY2(clock.elapsed() < 4000, "the wait ran into its time limit instead");
        QTRY_VERIFY(!m_line->isOpen());
        // The loss is reported once, however many errors the port still raises.
        QVERIFY(!QTest::qWaitFor([&lost] { return lost.count() > 1; }, 50));
        QCOMPARE(lost.count(), 1);
        QVERIFY(lost.first().first().toString().contains(QStringLiteral("koptu")));
        // The device is gone: a write tries to reopen, fails, and says so.
        QVERIFY(!m_line->write('\x01'));
        QCOMPARE(m_line->waitYielding(1, 100).outcome, Outcome::PortError);
    }

    void abortOrALostOwnerEndsTheWait()
    {
        QTimer::singleShot(30, m_line.get(), &SerialLine::abortWaits);
        QCOMPARE(m_line->waitYielding(1, 5000).outcome, Outcome::Aborted);
        QVERIFY(!m_line->isWaiting());
        SerialLine *line = m_line.release();
        QTimer::singleShot(30, line, [line] { delete line; });
        QCOMPARE(line->waitYielding(1, 5000).outcome, Outcome::Aborted);
    }

    // The serial settings dialog's changes reach the open port; a refused one leaves the line
    // as it was, still carrying bytes. A pseudo-terminal carries eight bits without parity only.
    void settingsPortAndHandshakingChanged()
    {
        QVERIFY2(m_line->setSettings(u"19200,N,8,2"_s), qPrintable(m_line->errorString()));
        QVERIFY2(m_line->setHandshaking(2), qPrintable(m_line->errorString()));
        // What the terminal itself holds, before and after the refused changes.
        const auto checkMode = [this] {
            const int fd =
                ::open(QFile::encodeName(m_pty->slavePath()).constData(), O_RDWR | O_NOCTTY);
            QVERIFY(fd >= 0);
            termios mode{};
            QCOMPARE(::tcgetattr(fd, &mode), 0);
            ::close(fd);
            QCOMPARE(cfgetospeed(&mode), speed_t(B19200));
            QCOMPARE(mode.c_cflag & (CSTOPB | CRTSCTS), tcflag_t(CSTOPB | CRTSCTS));
        };
        checkMode();
        QVERIFY(!m_line->setSettings(u"19200,X,8,2"_s));
        QVERIFY(m_line->errorString().contains(u"19200,X,8,2"_s));
        QVERIFY(!m_line->setSettings(u"9600,E,7,1"_s));
        QVERIFY(m_line->errorString().contains(u"9600,E,7,1"_s));
        checkMode();
        QVERIFY(!m_line->setHandshaking(4));
        QVERIFY(!m_line->setPortName(u"/dev/null-no-such-port"_s));
        QVERIFY(m_line->errorString().contains(u"/dev/null-no-such-port"_s));
        QCOMPARE(m_line->portName(), m_pty->slavePath());
        QCOMPARE(m_line->settings(), u"19200,N,8,2"_s);
        QCOMPARE(m_line->handshaking(), 2);
        checkMode();
        QVERIFY(m_line->write('A'));
        QCOMPARE(m_pty->receive(1), QByteArray("A"));
        // A line its owner closed only takes the new name.
        m_line->close();
        QVERIFY(m_line->setPortName(u"/dev/null-no-such-port"_s));
        QVERIFY(!m_line->isOpen());
        // Nor does a line open on a port that is not there or with settings it cannot take.
        SerialLine line;
        QVERIFY(!line.open(u"/dev/null-no-such-port"_s, kSettings));
        QVERIFY(line.errorString().contains(u"/dev/null-no-such-port"_s));
        QVERIFY(!line.open(m_pty->slavePath(), u"38400,X,8,1"_s));
        QVERIFY(line.errorString().contains(u"38400,X,8,1"_s));
        QCOMPARE(line.waitYielding(1, 50).outcome, Outcome::PortError);
    }
};

QTEST_GUILESS_MAIN(TestSerialLine)
#include "tst_serialline.moc"
