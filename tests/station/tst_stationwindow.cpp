// form1 as the operator meets it: named controls, start-up, the file lists, the heartbeat
// losing and finding the reader, the windows it opens, the focus rules and the way out.
#include "clicklabel.h"
#include "samples.h"
#include "stationrig.h"
#include "testfiles.h"

#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const QString kPresent = u"Optik Okuyucu Açık"_s;
const QString kAbsent = u"Optik Okuyucu ile iletişim yok"_s;

QStringList items(const QComboBox *box)
{
    QStringList list;
    for (int i = 0; i < box->count(); ++i)
        list << box->itemText(i);
    return list;
}

QString captionOf(const QObject *object)
{
    for (const char *property : {"text", "title"}) // buttons, labels, actions; group boxes
        if (const QVariant caption = object->property(property); caption.isValid())
            return caption.toString();
    const auto *widget = qobject_cast<const QWidget *>(object);
    return widget && widget->isWindow() ? widget->windowTitle() : QString();
}

} // namespace

class TestStationWindow : public QObject
{
    Q_OBJECT

private slots:
    // A rename or a changed text breaks this, not the operator's documentation.
    void namesCaptionsAndTooltips()
    {
        const QString readerTip = u"Formun tanımlandığı FMT(Tanım Dosyası) 'nın Adı"_s;
        QList<std::tuple<QByteArray, QString, QString>> rows = {
            {"Combo1", {}, readerTip},
            {"dosyaadi", {}, readerTip},
            {"Command1", u"Form Oku"_s, u"Optik okuyucudan otomatik okuma işlemini başlatır"_s},
            {"Command2", u"Durdur"_s, u"Otomatik okuma çalışırken okumayı durdurur"_s},
            {"Command4", u"Tek tek okut"_s,
             u"Optik Okuyucudan tek bir kağıdın okunmasını sağlar"_s},
            {"Frame1", u"Ayarlar"_s,
             u"Optik Okuyucunun mikro işlemci değerlerini değiştirir (Dİkkatli Kullanın)"_s},
            {"Command10", u"Sensör Kontrol"_s, u"Kağıt sensörlerinin durumu ve test"_s},
            {"Command7", u"Sensör Zamanları"_s, u"Sensör zamanları, geçiş ayarları"_s},
            {"Command8", u"Göz Değerleri"_s, u"okuyucu gözlerin son okuma değerleri"_s},
            {"Command9", u"Okuyucu Değerleri"_s, u"Motor hızları ve Okuma ayarları"_s},
            {"Command6", u"Sıfırla "_s, u"Kağıt sayacını sıfırlar"_s},
            {"Command3", u"Çıkış"_s, u"Programdan çıkış"_s},
            {"ssay", u"0"_s, u"Okunan ve dosyaya yazılan kağıt sayısı"_s},
            {"Optik_Durum", kPresent, u"Operasyon durum göstergesi"_s},
        };
        // Controls with a caption and no tip, each "name=caption".
        for (const QString &item :
             u"form1=Orvel_KESA OMR Reading Ver: 3.7|Label1=Okunacak Formun Adı|Label2=Dosya Adı|"
             "Frame2=Okuma Kontrol|Command11=FMT Yazımı|Command5=Editör|Label3=BAŞLIK|"
             "Label4=OKUNAN BİLGİ|Label5=KONTROL|frmSDI=ORVEL- NOT DEFTERİ - BAŞLIKSIZ|"
             "mnuFileNew=&Yeni|mnuFileOpen=Aç|mnuFileSave=Kaydet|mnuFileSaveAs=Farklı Kaydet|"
             "mnuFileExit=Çıkış|mnuEditCut=Kes|mnuEditCopy=&Kopyala|mnuEditPaste=Yapıştır|"
             "mnuEditDelete=Sil|mnuEditSelectAll=Hepsini Seç|mnuEditTime=Saat/Tarih|"
             "mnuSearchFind=&Bul|mnuSearchFindNext=Sonrakini Bul|mnuOptionsToolbar=&Araçlar"_s
                 .split(u'|'))
            rows.append({item.section(u'=', 0, 0).toLatin1(), item.section(u'=', 1), {}});
        for (const char *name : {"MSG", "Text1", "Picture1", "Image1", "Image2", "Image3",
                                 "MSComm1", "Timer2", "txtNote", "Form3"})
            rows.append({name, {}, {}});
        StationRig rig;
        rig.addForm(u"sinav.fmt"_s, Samples::kSinav);
        QVERIFY(rig.start());
        rig.click("Command5"); // the editor
        rig.choose(u"sinav.fmt"_s);
        rig.w->setPictureFile(rig.fx.fmtFolder() + u"yok.gif"_s);
        emit rig.control<ClickLabel>("Picture1")->clicked(); // the picture window
        for (const auto &[name, caption, tip] : rows) {
            QObject *object = name == "form1" ? rig.w.get() : rig.control<QObject>(name);
            QVERIFY2(object, name.constData());
            QVERIFY2(caption.isNull() || captionOf(object) == caption, name.constData());
            const auto *widget = qobject_cast<const QWidget *>(object);
            QVERIFY2((widget ? widget->toolTip() : QString()) == tip, name.constData());
        }
    }

    void startsWithTheReaderPresentAndSaysGoodbye()
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
        // Names cut at their first dot; only the data extension, of any case; FMT names whole.
        QCOMPARE(items(rig.control<QComboBox>("dosyaadi")), (QStringList{"A", "B", "c"}));
        QCOMPARE(items(rig.control<QComboBox>("Combo1")), (QStringList{"anket.fmt", "sinav.fmt"}));
        QVERIFY(rig.control("Combo1")->isEnabled() && rig.control("Frame1")->isEnabled());
        QVERIFY(!rig.control("Image2")->isHidden() && rig.control("Image3")->isHidden());
        QVERIFY(fx.reader().waitForReceived(6, 2000));
        QVERIFY(fx.reader().receivedBytes().startsWith("@OEM\x01Y"));
        QVERIFY(rig.w->session().heartbeatTimer()->isActive());
        fx.reader().clearReceived();
        rig.clickExit(); // says goodbye and closes the port
        QVERIFY(fx.reader().waitForReceived(4, 2000));
        QCOMPARE(fx.reader().receivedBytes(), QByteArray("@OEM"));
        QVERIFY(!rig.w->session().line()->isOpen());
        QVERIFY(!rig.w->session().heartbeatTimer()->isActive());
        QVERIFY(!rig.w->isVisible());
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

    // The read buttons check the choice when the operator moves to them, not when the window
    // gets the focus back from a message box: that warning would come back for ever.
    void focusRulesAndTheWindowsItOpens()
    {
        StationRig rig;
        QVERIFY(rig.start());
        QWidget *read = rig.control("Command1");
        QTest::mouseClick(rig.control("dosyaadi"), Qt::LeftButton);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // on to "Form Oku"
        QCOMPARE(QApplication::focusWidget(), read);
        QCOMPARE(rig.boxes.texts(), QStringList{u"DATA DOSYASI ADINI GİRİNİZ"_s});
        // The box closed and form1 is active again, with the focus still on the button.
        QWidget other;
        other.show();
        QApplication::setActiveWindow(&other);
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QApplication::setActiveWindow(rig.w.get());
        QVERIFY(QTest::qWaitForWindowActive(rig.w.get()));
        QCOMPARE(QApplication::focusWidget(), read);
        QCOMPARE(rig.boxes.count(), 1);
        rig.control<QLabel>("ssay")->setText(u"17"_s);
        rig.click("Command6");
        QCOMPARE(rig.control<QLabel>("ssay")->text(), u"0"_s);
        // One editor, opened or brought forward, from the button and from the heading.
        rig.click("Command5");
        QWidget *editor = rig.control("frmSDI");
        QVERIFY(editor && editor->isVisible());
        editor->close();
        QTest::mouseClick(rig.control("Label3"), Qt::LeftButton);
        QCOMPARE(rig.w->findChildren<QWidget *>(u"frmSDI"_s).size(), 1);
        QVERIFY(editor->isVisible());
        // The picture window gives the focus back to the picture when it closes.
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::white);
        QVERIFY(image.save(rig.fx.fmtFolder() + u"sinav.gif"_s, "PNG"));
        rig.addForm(u"sinav.fmt"_s, Samples::kSinav);
        rig.choose(u"sinav.fmt"_s);
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
        QTest::newRow("Form4") << u"Command9"_s << u"Form4"_s << true;   // reader values
        QTest::newRow("Form2") << u"Command7"_s << u"Form2"_s << true;   // sensor times
        QTest::newRow("Form12") << u"Command8"_s << u"Form12"_s << true; // eye values
        QTest::newRow("Form9") << u"Command10"_s << u"Form9"_s << true;  // sensors
        QTest::newRow("Form5") << u"Image1"_s << u"Form5"_s << false;    // the test form
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
        QVERIFY(boxes.lastText().endsWith(u"Program kapatılıyor."_s));
        QVERIFY(!w.session().heartbeatTimer()->isActive());
    }
};

QTEST_MAIN(TestStationWindow)
#include "tst_stationwindow.moc"
