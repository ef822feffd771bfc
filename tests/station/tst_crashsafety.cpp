// markdesk killed at any moment of automatic reading leaves only whole lines in its data file.
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
        qputenv("QT_QPA_PLATFORM", "offscreen"); // for markdesk: it reads on its own, here
        qputenv("OMR_HOME", fx.home().toLocal8Bit());
        qputenv("OMR_AUTOREAD_FMT", "sinav.fmt");
        qputenv("OMR_AUTOREAD_DATA", "KAYIT");
        QProcess desk;
        desk.start(QStringLiteral(MARKDESK_PATH), QStringList());
        QVERIFY(desk.waitForStarted());
        const QString path = fx.dataFolder() + QStringLiteral("KAYIT.DAT");
        QTRY_VERIFY_WITH_TIMEOUT(TestFiles::read(path).count("\r\n") >= killAfter, 20000);
        desk.kill(); // SIGKILL: no shut-down, no chance to tidy up
        QVERIFY(desk.waitForFinished(5000));
        const QByteArray line = "20260001" + kAnswers1 + "A\r\n", bytes = TestFiles::read(path);
        QVERIFY(bytes.size() >= killAfter * line.size());
        QCOMPARE(bytes, line.repeated(bytes.size() / line.size())); // whole lines, nothing torn
    }
};

QTEST_GUILESS_MAIN(TestCrashSafety)
#include "tst_crashsafety.moc"
