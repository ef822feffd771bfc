// form1 as the operator meets it: start-up against the simulated reader, the file lists, the
// heartbeat losing and finding the reader, the counter, the picture and the way out.
#include "messagerecorder.h"
#include "stationrig.h"

#include "clicklabel.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

const QString kPresent = QStringLiteral("Optik Okuyucu Açık");
const QString kAbsent = QStringLiteral("Optik Okuyucu ile iletişim yok");

QStringList items(const QComboBox *box)
{
    QStringList list;
    for (int i = 0; i < box->count(); ++i)
        list << box->itemText(i);
    return list;
}

} // namespace

class TestStationWindow : public QObject
{
    Q_OBJECT

private slots:
    void init() { qputenv("OMR_HEARTBEAT_MS", "150"); }

    void startsWithTheReaderPresent()
    {
        StationRig rig;
        StationFixture &fx = rig.fx;
        for (const char *name : {"A.DAT", "B.X.DAT", "c.dat", "notes.txt"})
            fx.writeFile(fx.dataFolder() + QLatin1String(name), "x\r\n");
        for (const char *name : {"sinav.fmt", "anket.fmt", "eski.fmt.bak", "resim.gif"})
            fx.writeFile(fx.fmtFolder() + QLatin1String(name), "40=12=00=D=\r\n");

        QVERIFY(rig.start());
        StationWindow &w = *rig.w;
        QCOMPARE(rig.boxes.count(), 0);
        QCOMPARE(w.Optik_Durum->text(), kPresent);
        QVERIFY(w.readerPresent());
        // Names cut at their first dot; only the data extension; FMT files with theirs.
        QCOMPARE(items(w.dosyaadi), (QStringList{"A", "B", "c"}));
        QCOMPARE(items(w.Combo1), (QStringList{"anket.fmt", "sinav.fmt"}));
        QCOMPARE(w.ssay->text(), QStringLiteral("0"));
        QVERIFY(w.Combo1->isEnabled() && w.dosyaadi->isEnabled() && w.Frame1->isEnabled());
        QVERIFY(!w.Image2->isHidden() && w.Image3->isHidden());
        QVERIFY(fx.reader().waitForReceived(6, 2000));
        QVERIFY(fx.reader().receivedBytes().startsWith("@OEM\x01Y"));
        QVERIFY(w.Timer2->isActive());
    }

    void startsWithoutAnAnsweringReaderAndFindsItLater()
    {
        StationRig rig;
        QString error;
        QVERIFY2(rig.fx.startReader(&error), qPrintable(error));
        rig.fx.reader().setSilent(true);
        QVERIFY(rig.start());
        StationWindow &w = *rig.w;
        StationFixture &fx = rig.fx;
        QCOMPARE(w.Optik_Durum->text(), kAbsent);
        QVERIFY(!w.Combo1->isEnabled() && !w.dosyaadi->isEnabled() && !w.Frame1->isEnabled());
        QVERIFY(w.Image2->isHidden() && !w.Image3->isHidden());
        // The read buttons stay as they are.
        QVERIFY(w.Command1->isEnabled() && w.Command2->isEnabled() && w.Command4->isEnabled());

        fx.reader().setSilent(false);
        QTRY_COMPARE_WITH_TIMEOUT(w.Optik_Durum->text(), kPresent, 8000);
        QVERIFY(w.Combo1->isEnabled() && w.dosyaadi->isEnabled() && w.Frame1->isEnabled());
    }

    void heartbeatLosesAndRegainsTheReader()
    {
        StationRig rig;
        QVERIFY(rig.start());
        StationWindow &w = *rig.w;
        StationFixture &fx = rig.fx;
        QCOMPARE(w.Optik_Durum->text(), kPresent);

        fx.reader().setSilent(true);
        QTRY_COMPARE_WITH_TIMEOUT(w.Optik_Durum->text(), kAbsent, 8000);
        QVERIFY(!w.Combo1->isEnabled() && !w.dosyaadi->isEnabled() && !w.Frame1->isEnabled());
        QVERIFY(w.Timer2->isActive() || w.MSComm1->isWaiting());

        fx.reader().setSilent(false);
        QTRY_COMPARE_WITH_TIMEOUT(w.Optik_Durum->text(), kPresent, 8000);
        QVERIFY(w.Combo1->isEnabled() && w.Frame1->isEnabled());
    }

    void readerUnpluggedAndPluggedBack()
    {
        StationRig rig;
        QVERIFY(rig.start());
        StationWindow &w = *rig.w;
        StationFixture &fx = rig.fx;

        fx.reader().hangUp();
        QTRY_COMPARE_WITH_TIMEOUT(w.Optik_Durum->text(), kAbsent, 8000);
        QVERIFY(!w.Frame1->isEnabled());
        QVERIFY(!w.MSComm1->isOpen());

        QVERIFY(fx.reader().comeBack());
        QTRY_COMPARE_WITH_TIMEOUT(w.Optik_Durum->text(), kPresent, 8000);
        QVERIFY(w.MSComm1->isOpen());
    }

    void exitSaysGoodbyeAndClosesThePort()
    {
        StationRig rig;
        QVERIFY(rig.start());
        StationWindow &w = *rig.w;
        StationFixture &fx = rig.fx;
        QVERIFY(fx.reader().waitForReceived(6, 2000));
        fx.reader().clearReceived();
        w.stopHeartbeat(); // no ping may come between the click and the check

        QTest::mouseClick(w.Command3, Qt::LeftButton);
        QVERIFY(fx.reader().waitForReceived(4, 2000));
        QCOMPARE(fx.reader().receivedBytes(), QByteArray("@OEM"));
        QVERIFY(!w.MSComm1->isOpen());
        QVERIFY(!w.Timer2->isActive());
        QVERIFY(!w.isVisible());
    }

    void counterResetLeavesTheRestAlone()
    {
        StationRig rig;
        QVERIFY(rig.start());
        StationWindow &w = *rig.w;
        w.ssay->setText(QStringLiteral("17"));
        QCOMPARE(w.Command6->text(), QStringLiteral("Sıfırla "));
        QTest::mouseClick(w.Command6, Qt::LeftButton);
        QCOMPARE(w.ssay->text(), QStringLiteral("0"));
    }

    void pictureOfTheChosenForm()
    {
        StationRig rig;
        StationFixture &fx = rig.fx;
        rig.addForm(QStringLiteral("anket.fmt"), "40=12=00=D=\r\n");
        rig.addForm(QStringLiteral("sinav.fmt"), "40=12=00=D=\r\n");
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::white);
        // Pictures are found by name and read by content; Qt writes no GIF.
        QVERIFY(image.save(fx.fmtFolder() + QStringLiteral("sinav.gif"), "PNG"));
        QVERIFY(rig.start());
        StationWindow &w = *rig.w;
        QTest::keyClick(w.Combo1, Qt::Key_End); // sinav.fmt, which has a picture
        QCOMPARE(w.Combo1->currentText(), QStringLiteral("sinav.fmt"));
        QCOMPARE(w.pictureFile(), fx.fmtFolder() + QStringLiteral("sinav.gif"));
        QVERIFY(w.Picture1->isVisible() && w.Picture1->isEnabled());

        QTest::mouseClick(w.Picture1, Qt::LeftButton);
        QWidget *form3 = w.findChild<QWidget *>(QStringLiteral("Form3"));
        QVERIFY(form3);
        QCOMPARE(form3->windowTitle(), w.pictureFile());

        QTest::keyClick(w.Combo1, Qt::Key_Home); // anket.fmt has none
        QCOMPARE(w.Combo1->currentText(), QStringLiteral("anket.fmt"));
        QVERIFY(!w.Picture1->isVisible() && !w.Picture1->isEnabled());
        w.stopHeartbeat();
    }

    void badSettingsEndTheProgramWithAMessage_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("named");
        QTest::newRow("short") << QByteArray("1\r\n38400,N,8,1\r\n") << "optik.ini";
        QTest::newRow("no such folder")
            << QByteArray("1\r\n38400,N,8,1\r\n/no/such/fmt/\r\n/tmp/\r\n.DAT\r\n")
            << "/no/such/fmt/";
        QTest::newRow("port cannot be opened") << QByteArray() << "/no/such/port";
    }

    void badSettingsEndTheProgramWithAMessage()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QString, named);
        StationFixture fx;
        if (ini.isEmpty())
            fx.writeIni("/no/such/port");
        else
            fx.writeFile(fx.iniPath(), ini);
        MessageRecorder boxes;
        StationWindow w;
        QVERIFY(!w.startUp(fx.iniPath()));
        QCOMPARE(boxes.count(), 1);
        QVERIFY2(boxes.lastText().contains(named), qPrintable(boxes.lastText()));
        QVERIFY(boxes.lastText().contains(QStringLiteral("Program kapatılıyor.")));
        QVERIFY(!w.Timer2->isActive());
    }
};

QTEST_MAIN(TestStationWindow)
#include "tst_stationwindow.moc"
