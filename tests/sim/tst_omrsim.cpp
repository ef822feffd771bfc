#include "testfiles.h"

#include <QFileInfo>
#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

class TestOmrsim : public QObject
{
    Q_OBJECT

    static constexpr int kLimitMs = 5000;

private slots:
    void servesTheLinkUntilTerminated()
    {
        QTemporaryDir dir;
        const QString link = dir.filePath(QStringLiteral("reader"));
        const QString log = dir.filePath(QStringLiteral("exchanges.log"));
        QProcess sim;
        sim.start(QStringLiteral(OMRSIM_PATH), {"--link", link, "--tray", dir.path(), "--log", log,
                                                "--sensor", "25=7", "--sensor", "0x27=1"});
        QTRY_VERIFY_WITH_TIMEOUT(sim.canReadLine(), kLimitMs);
        QCOMPARE(QFileInfo(link).symLinkTarget(), QString::fromLocal8Bit(sim.readLine()).trimmed());
        QSerialPort port(link);
        QVERIFY(port.open(QIODevice::ReadWrite));
        QByteArray arrived;
        const auto send = [&port](const QByteArray &bytes) {
            port.write(bytes);
            port.flush();
        };
        const QByteArray ping = "\x01Y";
        send(ping);
        QTRY_COMPARE_WITH_TIMEOUT(arrived += port.readAll(), QByteArray("Y"), kLimitMs);
        // Sensor states come from the command line; those not named there read 0.
        send("\x25\x27\x23");
        QTRY_COMPARE_WITH_TIMEOUT(arrived += port.readAll(), QByteArray("Y\x07\x01\0", 4),
                                  kLimitMs);
        QTRY_VERIFY_WITH_TIMEOUT(TestFiles::read(log).contains(" in 01 59 out 59\n"), kLimitMs);
        // SIGUSR1 silences the reader, and again makes it answer.
        ::kill(pid_t(sim.processId()), SIGUSR1);
        QTRY_VERIFY_WITH_TIMEOUT(TestFiles::read(log).contains(" silent\n"), kLimitMs);
        send(ping);
        QTRY_VERIFY_WITH_TIMEOUT(TestFiles::read(log).contains(" in 01 59 out -\n"), kLimitMs);
        ::kill(pid_t(sim.processId()), SIGUSR1);
        QTRY_VERIFY_WITH_TIMEOUT(TestFiles::read(log).contains(" answering\n"), kLimitMs);
        send(ping);
        QTRY_COMPARE_WITH_TIMEOUT(arrived += port.readAll(), QByteArray("Y\x07\x01\0Y", 5),
                                  kLimitMs);
        // SIGUSR2 hangs up and comes back on a new terminal behind the same link.
        ::kill(pid_t(sim.processId()), SIGUSR2);
        QTRY_VERIFY_WITH_TIMEOUT(sim.canReadLine(), kLimitMs);
        QCOMPARE(QFileInfo(link).symLinkTarget(), QString::fromLocal8Bit(sim.readLine()).trimmed());
        QTRY_VERIFY_WITH_TIMEOUT(TestFiles::read(log).contains(" hung up\n"), kLimitMs);
        sim.terminate();
        QVERIFY(sim.waitForFinished(kLimitMs));
        QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
        QCOMPARE(sim.exitCode(), 0);
        QVERIFY(!QFileInfo(link).isSymLink());
    }

    void makeSheet()
    {
        QTemporaryDir dir;
        // A one-letter field with a Turkish letter in its set, code page 1254.
        const QByteArray form = "02=03=00=D=\r\n02=02=01=03=H=Y=A\xC7"
                                "B=X=[HARF]\r\n";
        const QString fmt = TestFiles::write(dir.filePath(QStringLiteral("form.fmt")), form);
        const QString sheet = dir.filePath(QStringLiteral("sheet"));
        QProcess writer;
        writer.start(QStringLiteral(OMRSIM_PATH), {"make-sheet", "--fmt", fmt, "--out", sheet,
                                                   "--status", "3", QStringLiteral("Ç")});
        QVERIFY(writer.waitForFinished(kLimitMs));
        QCOMPARE(writer.exitCode(), 0);
        QCOMPARE(TestFiles::read(sheet),
                 "#status 3\n" + QByteArray(48, '.') + "\n.X" + QByteArray(46, '.') + "\n");
    }
};

QTEST_GUILESS_MAIN(TestOmrsim)
#include "tst_omrsim.moc"
