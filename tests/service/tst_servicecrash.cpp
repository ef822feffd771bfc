// markservice killed in the middle of a reading: whatever moment it dies at, the DAT file holds
// only whole lines.
#include "ptyreader.h"
#include "samples.h"
#include "sheetwriter.h"
#include "testfiles.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Samples;

class TestServiceCrash : public QObject
{
    Q_OBJECT

private slots:
    void killedDuringReading_data()
    {
        QTest::addColumn<int>("killAfter");
        QTest::newRow("early") << 3;
        QTest::newRow("later") << 300;
    }
    void killedDuringReading()
    {
        QFETCH(int, killAfter);
        QTemporaryDir home;
        PtyReader reader(home.filePath("tray"), home.filePath("reader"));
        QString error;
        QVERIFY2(reader.start(&error), qPrintable(error));
        TestFiles::write(home.filePath("sinav.fmt"), kSinav);
        TestFiles::write(home.filePath("path.txt"),
                         "sinav.fmt\r\n" + reader.linkPath().toUtf8() + "\r\n");
        SheetImage sheet;
        QVERIFY(SheetWriter::makeSheet(kSinav, sinavSheet("20260001"), 0, &sheet, &error));
        reader.withDevice([&sheet](ReaderDevice &device) {
            for (int i = 0; i < 5000; ++i)
                device.addSheet(sheet);
        });
        QProcess console;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("OMR_HOME", home.path());
        env.insert("OMR_AUTOREAD_FMT", "sinav.fmt");
        env.insert("OMR_AUTOREAD_DATA", "KAYIT.DAT");
        console.setProcessEnvironment(env);
        console.start(QStringLiteral(MARKSERVICE_PATH), QStringList());
        QVERIFY(console.waitForStarted());
        const QString path = home.filePath("KAYIT.DAT");
        QTRY_VERIFY_WITH_TIMEOUT(TestFiles::read(path).count("\r\n") >= killAfter, 20000);
        console.kill(); // SIGKILL: no shut-down, no chance to tidy up
        QVERIFY(console.waitForFinished(5000));
        const QByteArray bytes = TestFiles::read(path);
        QVERIFY(bytes.endsWith("\r\n"));
        const QList<QByteArray> lines = TestFiles::lines(bytes);
        QVERIFY(lines.size() >= killAfter);
        for (const QByteArray &line : lines)
            QCOMPARE(line, "20260001" + kAnswers1 + "A");
    }
};

QTEST_GUILESS_MAIN(TestServiceCrash)
#include "tst_servicecrash.moc"
