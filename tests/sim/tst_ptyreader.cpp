#include "protocol.h"
#include "ptyreader.h"
#include "serialline.h"
#include "testfiles.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

constexpr int kLimitMs = 3000;
constexpr int kDelayMs = 300;

// The program side of the line: a serial port on the link, collecting what arrives.
struct Port
{
    explicit Port(const QString &path) : port(path) { port.open(QIODevice::ReadWrite); }
    void write(const QByteArray &bytes)
    {
        port.write(bytes);
        port.flush();
    }
    QByteArray arrived() { return received += port.readAll(); }

    QSerialPort port;
    QByteArray received;
};

} // namespace

class TestPtyReader : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_reader.reset(); // before its folder goes
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_link = m_dir->filePath(QStringLiteral("reader"));
        m_reader = std::make_unique<PtyReader>(m_dir->filePath(QStringLiteral("tray")), m_link);
    }

    // Bytes written one at a time come together as the commands they make.
    void commandsAreRecorded()
    {
        QVERIFY(m_reader->start(nullptr));
        Port port(m_link);
        const QByteArray format = "01=04=00=D=01=01=01=04=H=Y=AB\x2F\x3A=X=";
        for (const char byte :
             QByteArray("@OEM") + Reader::kFormatBegin + format + Reader::kFormatEnd)
            port.write(QByteArray(1, byte));
        QVERIFY(m_reader->waitForReceived(5 + format.size() + 1, kLimitMs));
        QCOMPARE(m_reader->receivedCommands(),
                 QList<QByteArray>({"@OEM", Reader::kFormatBegin + format + Reader::kFormatEnd}));
        m_reader->clearReceived();
        QVERIFY(m_reader->receivedCommands().isEmpty());
    }

    void faults_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("onTheLine");
        using B = QByteArray;
        QTest::newRow("silent") << "silent" << B("\x08\x02") << B();
        QTest::newRow("partial") << "partial" << B("\x08\x02") << B("\xFF");
        QTest::newRow("partial, one byte passes") << "partial" << B("\x22") << B(1, '\0');
        QTest::newRow("garbage") << "garbage" << B("\x01Y") << B("\xA6");
        QTest::newRow("switched off") << "off" << B("@OEM") << B("\x02");
        QTest::newRow("late") << "late" << B("\x01Y") << B("Y");
    }
    void faults()
    {
        QFETCH(QString, fault);
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, onTheLine);
        m_reader->withDevice([](ReaderDevice &device) { return device.setCell(2, 0xFF, 0x11); });
        QVERIFY(m_reader->start(nullptr));
        Port port(m_link);
        const auto set = [&](bool on) {
            if (fault == QLatin1String("silent"))
                m_reader->setSilent(on);
            else if (fault == QLatin1String("partial"))
                m_reader->setPartialReplies(on);
            else if (fault == QLatin1String("garbage"))
                m_reader->setGarbage(on);
            else if (fault == QLatin1String("late"))
                m_reader->setReplyDelayMs(on ? kDelayMs : 0);
            else
                m_reader->setSwitchedOff(on);
        };
        set(true);
        QElapsedTimer clock;
        clock.start();
        port.write(command);
        QVERIFY(m_reader->waitForReceived(command.size(), kLimitMs));
        // A healthy ping behind it: whatever the faulty reply left on the line arrives before it.
        set(false);
        port.write("\x01Y");
        QTRY_COMPARE_WITH_TIMEOUT(port.arrived(), onTheLine + "Y", kLimitMs);
        if (fault == QLatin1String("late"))
            QVERIFY(clock.elapsed() >= kDelayMs);
    }

    void hangUpAndComeBack()
    {
        QVERIFY(m_reader->start(nullptr));
        SerialLine line;
        QVERIFY2(line.open(m_link, QStringLiteral("38400,N,8,1")), qPrintable(line.errorString()));
        QVERIFY(line.write("\x01Y"));
        QCOMPARE(line.waitBlocking(1, kLimitMs).data(), QByteArray("Y"));
        QVERIFY(line.write(QByteArray("\x07\x0C\x21\x22", 4)));
        QCOMPARE(line.waitBlocking(1, kLimitMs).outcome, SerialLine::Outcome::Data);
        m_reader->hangUp();
        QVERIFY(!QFileInfo(m_link).isSymLink()); // the device is gone, link and all
        QCOMPARE(line.waitYielding(1, kLimitMs).outcome, SerialLine::Outcome::PortError);
        QString error;
        QVERIFY2(m_reader->comeBack(&error), qPrintable(error));
        QCOMPARE(QFileInfo(m_link).symLinkTarget(), m_reader->slavePath());
        QTRY_VERIFY_WITH_TIMEOUT(!line.isOpen(), kLimitMs);
        // The next write opens the line again; the reader kept its memory.
        QVERIFY(line.write(QByteArray("\x08\x0C", 2)));
        QCOMPARE(line.waitBlocking(2, kLimitMs).data(), QByteArray("\x21\x22"));
    }

    void onlyLinksAreReplacedAndStopRemovesThem()
    {
        // Someone's file at the link path is kept, and the reader refuses to start.
        TestFiles::write(m_link, "data");
        QString error;
        QVERIFY(!m_reader->start(&error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(QFileInfo(m_link).size(), 4);
        // An old link is pointed at the new terminal, which answers a port opened through it.
        QVERIFY(QFile::remove(m_link));
        QVERIFY(QFile::link(m_dir->filePath(QStringLiteral("elsewhere")), m_link));
        QVERIFY2(m_reader->start(&error), qPrintable(error));
        QCOMPARE(QFileInfo(m_link).symLinkTarget(), m_reader->slavePath());
        Port port(m_link);
        QVERIFY(port.port.isOpen());
        port.write("\x01");
        port.write("Y");
        QTRY_COMPARE_WITH_TIMEOUT(port.arrived(), QByteArray("Y"), kLimitMs);
        m_reader->stop();
        QVERIFY(!QFileInfo(m_link).exists() && !QFileInfo(m_link).isSymLink());
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<PtyReader> m_reader;
    QString m_link;
};

QTEST_GUILESS_MAIN(TestPtyReader)
#include "tst_ptyreader.moc"
