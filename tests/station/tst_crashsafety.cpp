// The program killed in the middle of automatic reading: whatever moment it dies at, the data
// file holds only whole lines.
#include "samples.h"
#include "sheetwriter.h"
#include "stationfixture.h"
#include "testfiles.h"

#include <QProcess>
#include <QTest>

using namespace Samples;

class TestCrashSafety : public QObject
{
    Q_OBJECT

private slots:
    void killedDuringAutomaticReading_data()
    {
        QTest::addColumn<int>("killAfter");
        QTest::newRow("early") << 3;
        QTest::newRow("later") << 40;
        QTest::newRow("much later") << 400;
    }

    void killedDuringAutomaticReading()
    {
        QFETCH(int, killAfter);
        StationFixture fx;
        TestFiles::write(fx.fmtFolder() + QStringLiteral("sinav.fmt"), kSinav);
        QString error;
        QVERIFY2(fx.startReader(&error), qPrintable(error));
        SheetImage sheet;
        QVERIFY2(SheetWriter::makeSheet(kSinav, sinavSheet("20260001"), 0, &sheet, &error),
                 qPrintable(error));
        fx.reader().withDevice([&sheet](ReaderDevice &device) {
            for (int i = 0; i < 5000; ++i)
                device.addSheet(sheet);
            return 0;
        });

        QProcess desk;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("OMR_HOME"), fx.home());
        env.insert(QStringLiteral("OMR_AUTOREAD_FMT"), QStringLiteral("sinav.fmt"));
        env.insert(QStringLiteral("OMR_AUTOREAD_DATA"), QStringLiteral("KAYIT"));
        desk.setProcessEnvironment(env);
        desk.start(QStringLiteral(MARKDESK_PATH), QStringList());
        QVERIFY(desk.waitForStarted());

        const QString path = fx.dataFolder() + QStringLiteral("KAYIT.DAT");
        QTRY_VERIFY_WITH_TIMEOUT(TestFiles::read(path).count("\r\n") >= killAfter, 20000);
        desk.kill(); // SIGKILL: no shut-down, no chance to tidy up
        QVERIFY(desk.waitForFinished(5000));

        const QByteArray bytes = TestFiles::read(path);
        QVERIFY(bytes.endsWith("\r\n"));
        QList<QByteArray> lines = bytes.split('\n');
        lines.removeLast(); // after the last line end
        QVERIFY(lines.size() >= killAfter);
        for (const QByteArray &line : lines)
            QCOMPARE(line, "20260001" + kAnswers1 + "A\r");
    }
};

QTEST_GUILESS_MAIN(TestCrashSafety)
#include "tst_crashsafety.moc"
