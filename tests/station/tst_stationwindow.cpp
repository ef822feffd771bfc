// form1 as the operator meets it: its named controls, start-up against the simulated reader,
// the file lists, the heartbeat losing and finding the reader, the windows it opens, the focus
// rules and the way out.
#include "clicklabel.h"
#include "samples.h"
#include "stationrig.h"
#include "testfiles.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
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

QString captionOf(const QObject *object)
{
    if (const auto *button = qobject_cast<const QAbstractButton *>(object))
        return button->text();
    if (const auto *label = qobject_cast<const QLabel *>(object))
        return label->text();
    if (const auto *box = qobject_cast<const QGroupBox *>(object))
        return box->title();
    if (const auto *action = qobject_cast<const QAction *>(object))
        return action->text();
    if (const auto *widget = qobject_cast<const QWidget *>(object); widget && widget->isWindow())
        return widget->windowTitle();
    return QString();
}

QString toolTipOf(const QObject *object)
{
    if (const auto *widget = qobject_cast<const QWidget *>(object))
        return widget->toolTip();
    return QString();
}

} // namespace

class TestStationWindow : public QObject
{
    Q_OBJECT

private slots:
    // A rename or a changed text breaks this, not the operator's documentation.
    void namesCaptionsAndTooltips()
    {
        struct Row
        {
            const char *name;
            QString caption;
            QString toolTip;
        };
        const QString readerTip = QStringLiteral("Formun tanımlandığı FMT(Tanım Dosyası) 'nın Adı");
        const QList<Row> rows = {
            {"form1", QStringLiteral("Orvel_KESA OMR Reading Ver: 3.7"), {}},
            {"Label1", QStringLiteral("Okunacak Formun Adı"), {}},
            {"Combo1", {}, readerTip},
            {"Label2", QStringLiteral("Dosya Adı"), {}},
            {"dosyaadi", {}, readerTip},
            {"Frame2", QStringLiteral("Okuma Kontrol"), {}},
            {"Command1", QStringLiteral("Form Oku"),
             QStringLiteral("Optik okuyucudan otomatik okuma işlemini başlatır")},
            {"Command2", QStringLiteral("Durdur"),
             QStringLiteral("Otomatik okuma çalışırken okumayı durdurur")},
            {"Command4", QStringLiteral("Tek tek okut"),
             QStringLiteral("Optik Okuyucudan tek bir kağıdın okunmasını sağlar")},
            {"Frame1", QStringLiteral("Ayarlar"),
             QStringLiteral("Optik Okuyucunun mikro işlemci değerlerini değiştirir (Dİkkatli "
                            "Kullanın)")},
            {"Command10", QStringLiteral("Sensör Kontrol"),
             QStringLiteral("Kağıt sensörlerinin durumu ve test")},
            {"Command7", QStringLiteral("Sensör Zamanları"),
             QStringLiteral("Sensör zamanları, geçiş ayarları")},
            {"Command8", QStringLiteral("Göz Değerleri"),
             QStringLiteral("okuyucu gözlerin son okuma değerleri")},
            {"Command9", QStringLiteral("Okuyucu Değerleri"),
             QStringLiteral("Motor hızları ve Okuma ayarları")},
            {"Command6", QStringLiteral("Sıfırla "), QStringLiteral("Kağıt sayacını sıfırlar")},
            {"Command11", QStringLiteral("FMT Yazımı"), {}},
            {"Command5", QStringLiteral("Editör"), {}},
            {"Command3", QStringLiteral("Çıkış"), QStringLiteral("Programdan çıkış")},
            {"ssay", QStringLiteral("0"), QStringLiteral("Okunan ve dosyaya yazılan kağıt sayısı")},
            {"Optik_Durum", kPresent, QStringLiteral("Operasyon durum göstergesi")},
            {"Label3", QStringLiteral("BAŞLIK"), {}},
            {"Label4", QStringLiteral("OKUNAN BİLGİ"), {}},
            {"Label5", QStringLiteral("KONTROL"), {}},
            {"MSG", {}, {}},
            {"Text1", {}, {}},
            {"Picture1", {}, {}},
            {"Image1", {}, {}},
            {"Image2", {}, {}},
            {"Image3", {}, {}},
            {"MSComm1", {}, {}},
            {"Timer2", {}, {}},
            {"frmSDI", QStringLiteral("ORVEL- NOT DEFTERİ - BAŞLIKSIZ"), {}},
            {"txtNote", {}, {}},
            {"mnuFileNew", QStringLiteral("&Yeni"), {}},
            {"mnuFileOpen", QStringLiteral("Aç"), {}},
            {"mnuFileSave", QStringLiteral("Kaydet"), {}},
            {"mnuFileSaveAs", QStringLiteral("Farklı Kaydet"), {}},
            {"mnuFileExit", QStringLiteral("Çıkış"), {}},
            {"mnuEditCut", QStringLiteral("Kes"), {}},
            {"mnuEditCopy", QStringLiteral("&Kopyala"), {}},
            {"mnuEditPaste", QStringLiteral("Yapıştır"), {}},
            {"mnuEditDelete", QStringLiteral("Sil"), {}},
            {"mnuEditSelectAll", QStringLiteral("Hepsini Seç"), {}},
            {"mnuEditTime", QStringLiteral("Saat/Tarih"), {}},
            {"mnuSearchFind", QStringLiteral("&Bul"), {}},
            {"mnuSearchFindNext", QStringLiteral("Sonrakini Bul"), {}},
            {"mnuOptionsToolbar", QStringLiteral("&Araçlar"), {}},
            {"Form3", {}, {}},
        };
        StationRig rig;
        rig.addForm(QStringLiteral("sinav.fmt"), Samples::kSinav);
        QVERIFY(rig.start());
        rig.click("Command5"); // the editor
        rig.choose(QStringLiteral("sinav.fmt"));
        rig.w->setPictureFile(rig.fx.fmtFolder() + QStringLiteral("yok.gif"));
        emit rig.control<ClickLabel>("Picture1")->clicked(); // the picture window
        for (const Row &row : rows) {
            const QString name = QLatin1String(row.name);
            QObject *object = name == u"form1" ? rig.w.get() : rig.w->findChild<QObject *>(name);
            QVERIFY2(object, row.name);
            if (!row.caption.isNull())
                QVERIFY2(captionOf(object) == row.caption, row.name);
            QVERIFY2(toolTipOf(object) == row.toolTip, row.name);
        }
    }

    void startsWithTheReaderPresent()
    {
        StationRig rig;
        StationFixture &fx = rig.fx;
        for (const char *name : {"A.DAT", "B.X.DAT", "c.dat", "notes.txt"})
            TestFiles::write(fx.dataFolder() + QLatin1String(name), "x\r\n");
        for (const char *name : {"sinav.fmt", "anket.fmt", "eski.fmt.bak", "resim.gif"})
            TestFiles::write(fx.fmtFolder() + QLatin1String(name), "40=12=00=D=\r\n");

        QVERIFY(rig.start());
        QCOMPARE(rig.boxes.count(), 0);
        QCOMPARE(rig.status(), kPresent);
        // Names cut at their first dot; only the data extension, of any case; FMT files with
        // theirs.
        QCOMPARE(items(rig.control<QComboBox>("dosyaadi")), (QStringList{"A", "B", "c"}));
        QCOMPARE(items(rig.control<QComboBox>("Combo1")), (QStringList{"anket.fmt", "sinav.fmt"}));
        QVERIFY(rig.control("Combo1")->isEnabled() && rig.control("Frame1")->isEnabled());
        QVERIFY(!rig.control("Image2")->isHidden() && rig.control("Image3")->isHidden());
        QVERIFY(fx.reader().waitForReceived(6, 2000));
        QVERIFY(fx.reader().receivedBytes().startsWith("@OEM\x01Y"));
        QVERIFY(rig.w->session().heartbeatTimer()->isActive());
    }

    void heartbeatLosesAndFindsTheReader()
    {
        StationRig rig(StationRig::testTimings(150));
        QString error;
        QVERIFY2(rig.fx.startReader(&error), qPrintable(error));
        rig.fx.reader().setSilent(true);
        QVERIFY(rig.start());
        QCOMPARE(rig.status(), kAbsent);
        QVERIFY(!rig.control("Combo1")->isEnabled() && !rig.control("dosyaadi")->isEnabled() &&
                !rig.control("Frame1")->isEnabled());
        QVERIFY(rig.control("Image2")->isHidden() && !rig.control("Image3")->isHidden());
        // The read buttons stay as they are.
        QVERIFY(rig.control("Command1")->isEnabled() && rig.control("Command4")->isEnabled());

        rig.fx.reader().setSilent(false);
        QTRY_COMPARE_WITH_TIMEOUT(rig.status(), kPresent, 8000);
        QVERIFY(rig.control("Combo1")->isEnabled() && rig.control("Frame1")->isEnabled());

        // Unplugged: the port closes; plugged back: opened again by the heartbeat.
        rig.fx.reader().hangUp();
        QTRY_COMPARE_WITH_TIMEOUT(rig.status(), kAbsent, 8000);
        QVERIFY(!rig.control("Frame1")->isEnabled());
        QVERIFY(!rig.w->session().line()->isOpen());
        QVERIFY(rig.fx.reader().comeBack());
        QTRY_COMPARE_WITH_TIMEOUT(rig.status(), kPresent, 8000);
    }

    void exitSaysGoodbyeAndClosesThePort()
    {
        StationRig rig;
        QVERIFY(rig.start());
        QVERIFY(rig.fx.reader().waitForReceived(6, 2000));
        rig.fx.reader().clearReceived();
        rig.clickExit();
        QVERIFY(rig.fx.reader().waitForReceived(4, 2000));
        QCOMPARE(rig.fx.reader().receivedBytes(), QByteArray("@OEM"));
        QVERIFY(!rig.w->session().line()->isOpen());
        QVERIFY(!rig.w->session().heartbeatTimer()->isActive());
        QVERIFY(!rig.w->isVisible());
    }

    void counterResetAndTheWindowsItOpens()
    {
        StationRig rig;
        QVERIFY(rig.start());
        rig.control<QLabel>("ssay")->setText(QStringLiteral("17"));
        rig.click("Command6");
        QCOMPARE(rig.control<QLabel>("ssay")->text(), QStringLiteral("0"));

        // One editor, opened or brought forward, from the button and from the heading.
        rig.click("Command5");
        QWidget *editor = rig.control("frmSDI");
        QVERIFY(editor && editor->isVisible());
        editor->close();
        QTest::mouseClick(rig.control("Label3"), Qt::LeftButton);
        QCOMPARE(rig.w->findChildren<QWidget *>(QStringLiteral("frmSDI")).size(), 1);
        QVERIFY(editor->isVisible());

        // The picture window gives the focus back to the picture when it closes.
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::white);
        QVERIFY(image.save(rig.fx.fmtFolder() + QStringLiteral("sinav.gif"), "PNG"));
        rig.addForm(QStringLiteral("sinav.fmt"), Samples::kSinav);
        rig.choose(QStringLiteral("sinav.fmt"));
        QWidget *picture = rig.control("Picture1");
        QVERIFY(picture->isVisible());
        QTest::mouseClick(picture, Qt::LeftButton);
        QWidget *form3 = rig.control("Form3");
        QVERIFY(form3);
        QCOMPARE(form3->windowTitle(), rig.w->pictureFile());
        editor->close();
        form3->close();
        QTRY_COMPARE(QApplication::focusWidget(), picture);
    }

    // Each settings window opens once, the heartbeat rests while it is open (but for the test
    // form's), and closing it gives the focus back to what opened it.
    void readerWindowsFromTheirButtons_data()
    {
        QTest::addColumn<QString>("opener");
        QTest::addColumn<QString>("window");
        QTest::addColumn<bool>("heartbeatRests");
        const auto row = [](const char *opener, const char *window, bool heartbeatRests) {
            QTest::newRow(window) << QString(opener) << QString(window) << heartbeatRests;
        };
        row("Command9", "Form4", true);  // reader values
        row("Command7", "Form2", true);  // sensor times
        row("Command8", "Form12", true); // eye values
        row("Command10", "Form9", true); // sensors
        row("Image1", "Form5", false);   // the test form
    }

    void readerWindowsFromTheirButtons()
    {
        QFETCH(QString, opener);
        QFETCH(QString, window);
        QFETCH(bool, heartbeatRests);
        StationRig rig;
        QVERIFY(rig.start());
        QWidget *button = rig.control(qPrintable(opener));
        QTest::mouseClick(button, Qt::LeftButton);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(rig.w->findChildren<QWidget *>(window).size(), 1);
        QWidget *opened = rig.control(qPrintable(window));
        QVERIFY(opened->isVisible());
        QCOMPARE(rig.w->session().heartbeatTimer()->isActive(), !heartbeatRests);
        QTRY_VERIFY(!rig.w->session().isBusy());
        opened->close();
        QTRY_COMPARE(QApplication::focusWidget(), button);
        QVERIFY(rig.w->session().heartbeatTimer()->isActive());
    }

    // The read buttons check the choice when the operator moves to them, not when the window
    // gets the focus back from a message box: that warning would come back for ever.
    void validationOnlyOnTheOperatorsMoves()
    {
        StationRig rig;
        QVERIFY(rig.start());
        QWidget *read = rig.control("Command1");
        QTest::mouseClick(rig.control("dosyaadi"), Qt::LeftButton);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // on to "Form Oku"
        QCOMPARE(QApplication::focusWidget(), read);
        QCOMPARE(rig.boxes.texts(), QStringList{QStringLiteral("DATA DOSYASI ADINI GİRİNİZ")});

        // The box closed and form1 is active again, with the focus still on the button.
        QWidget other;
        other.show();
        QApplication::setActiveWindow(&other);
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QApplication::setActiveWindow(rig.w.get());
        QVERIFY(QTest::qWaitForWindowActive(rig.w.get()));
        QCOMPARE(QApplication::focusWidget(), read);
        QCOMPARE(rig.boxes.count(), 1);
    }

    void badSettingsEndTheProgramWithAMessage_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("named");
        QTest::newRow("short") << QByteArray("1\r\n38400,N,8,1\r\n") << "optik.ini";
        // The system's reason, not "No error".
        QTest::newRow("no such port")
            << QByteArray("/no/such/port") << "Seri port açılamadı: /no/such/port (No such file";
        QTest::newRow("a plain file as port")
            << QByteArray("optik.ini") << "(Inappropriate ioctl for device)";
        QTest::newRow("a huge port line")
            << "/" + QByteArray(1024 * 1024, 'x') << "… (satırın devamı kesildi, 1048577 karakter)";
    }

    void badSettingsEndTheProgramWithAMessage()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QString, named);
        StationFixture fx;
        if (ini.contains("\r\n"))
            TestFiles::write(fx.iniPath(), ini);
        else
            fx.writeIni(ini == "optik.ini" ? fx.iniPath().toLocal8Bit() : ini);
        MessageRecorder boxes;
        StationOptions options;
        options.settingsPath = fx.iniPath();
        StationWindow w(options);
        QVERIFY(!w.startUp());
        QCOMPARE(boxes.count(), 1);
        QVERIFY2(boxes.lastText().contains(named), qPrintable(boxes.lastText().left(300)));
        QVERIFY(boxes.lastText().endsWith(QStringLiteral("Program kapatılıyor.")));
        QVERIFY(!w.session().heartbeatTimer()->isActive());
    }
};

QTEST_MAIN(TestStationWindow)
#include "tst_stationwindow.moc"
