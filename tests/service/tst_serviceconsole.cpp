// The service console driven as its operator drives it: menus, function keys and buttons of
// Form1 against the simulated reader; what goes on the line, what the labels say, what lands
// in the DAT file and in path.txt.
#include "datafile.h"
#include "samples.h"
#include "servicerig.h"
#include "settingsfile.h"

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

using namespace Samples;

namespace {

// The sample exam form as the console downloads it: the file's lines as they stand, titles and
// checks included, nothing between them.
const QByteArray kSinavDownload = "\x32"
                                  "40=12=00=D="
                                  "03=12=02=09=H=D=0123456789=X=[NUMARA]"
                                  "14=38=02=06=H=Y=ABCDE=X=[CEVAP]"
                                  "03=03=11=12=H=Y=AB=X=[KITAPCIK](-B)"
                                  "\xA5\x3A";
const QByteArray kSheetExchange = "\x22\x2A\x2F\x22";

} // namespace

class TestServiceConsole : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        rig = new ServiceRig;
        TestFiles::write(rig->file("sinav.fmt"), kSinav);
        TestFiles::write(rig->file("anket.fmt"), kAnket);
    }
    void cleanup() { delete rig; }

    void startUp_data()
    {
        QTest::addColumn<QByteArray>("pathTxt"); // "" for none
        QTest::addColumn<QString>("fmtName");
        QTest::addColumn<QString>("portName"); // "link": the simulated reader's
        QTest::addColumn<QString>("status");
        QTest::newRow("a form and port 2")
            << QByteArray("sinav.fmt\r\n 2 \r\n") << "sinav.fmt" << portNameFor("2") << "";
        QTest::newRow("a device path") << QByteArray("link") << "anket.fmt"
                                       << "link"
                                       << "";
        QTest::newRow("no path.txt") << QByteArray() << "" << portNameFor("1")
                                     << "path.txt bulunamadı; Fmt adı boş, port 1 ile başlandı.";
    }

    void startUp()
    {
        QFETCH(QByteArray, pathTxt);
        QFETCH(QString, fmtName);
        QFETCH(QString, portName);
        QFETCH(QString, status);
        if (pathTxt == "link")
            rig->writePath("anket.fmt");
        else if (!pathTxt.isEmpty())
            TestFiles::write(rig->file("path.txt"), pathTxt);
        QVERIFY(rig->start());

        QCOMPARE(rig->window->windowTitle(), "OPTICAL MARK READER        (SONUC)");
        QCOMPARE(rig->control<QLineEdit>("Text1")->text(), fmtName);
        QCOMPARE(rig->label("Label4"), status);
        SerialLine *line = rig->window->session().line();
        if (portName == "link") {
            QCOMPARE(line->portName(), rig->reader.linkPath());
            QVERIFY(line->isOpen());
        } else {
            QCOMPARE(line->portName(), portName);
        }
        QCOMPARE(rig->messages.shown().first().title, "Dat Dosyası İsmini Giriniz");
        QCOMPARE(rig->messages.shown().first().text, "Dat Dosyasının İsmini Yazınız");
        // Upper-cased and trimmed, in the program folder.
        QVERIFY(QFile::exists(rig->file("SONUC")));
    }

    void datName_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<bool>("started");
        QTest::addColumn<int>("refusals");
        QTest::newRow("plain") << QStringList{" sonuc "} << true << 0;
        QTest::newRow("a folder, then a plain name")
            << QStringList{"../x", "", "sonuc"} << true << 1;
        QTest::newRow("empty ends the program") << QStringList{"  "} << false << 0;
    }

    void datName()
    {
        QFETCH(QStringList, typed);
        QFETCH(bool, started);
        QFETCH(int, refusals);
        rig->writePath("sinav.fmt");
        QCOMPARE(rig->start(typed), started);
        int warnings = 0;
        for (const MsgBox::Shown &shown : rig->messages.shown())
            warnings += shown.icon == MsgBox::Icon::Warning;
        QCOMPARE(warnings, refusals);
        QCOMPARE(QFile::exists(rig->file("SONUC")), started);
        QVERIFY(!QFile::exists(rig->file("X")) && !QFile::exists(rig->file("../X")));
    }

    // An existing DAT file: nothing is read before the answer; Evet appends, Hayır empties, a
    // question closed without an answer appends.
    void existingDatFile_data()
    {
        QTest::addColumn<QString>("answer"); // a button of Form11, or "" to close it
        QTest::addColumn<bool>("kept");
        QTest::newRow("Evet") << "Command1" << true;
        QTest::newRow("Hayır") << "Command2" << false;
        QTest::newRow("closed") << "" << true;
    }

    void existingDatFile()
    {
        QFETCH(QString, answer);
        QFETCH(bool, kept);
        TestFiles::write(rig->file("SONUC"), "EARLIER\r\n");
        rig->writePath("sinav.fmt");
        QVERIFY(rig->addSheets(kSinav, {sinavSheet("20260001")}));
        QVERIFY(rig->start());
        QWidget *question = nullptr;
        for (QWidget *window : QApplication::topLevelWidgets())
            if (window->objectName() == "Form11" && window->isVisible())
                question = window;
        QVERIFY(question);
        QCOMPARE(question->windowTitle(), "Uyarı");

        QVERIFY(!rig->menuItem("Oku")->isEnabled());
        QTest::keyClick(rig->window.get(), Qt::Key_F6);
        rig->trigger("Oku");
        QVERIFY(!rig->reader.waitForReceived(1, 300));
        QCOMPARE(rig->datLines(), QList<QByteArray>{"EARLIER"});

        if (answer.isEmpty())
            question->close();
        else
            QTest::mouseClick(question->findChild<QPushButton *>(answer), Qt::LeftButton);
        QVERIFY(rig->menuItem("Oku")->isEnabled());
        rig->trigger("Oku");
        QTRY_COMPARE_WITH_TIMEOUT(rig->label("Label2"), "1", ServiceRig::kLimitMs);
        QList<QByteArray> expected{"20260001" + kAnswers1 + "A"};
        if (kept)
            expected.prepend("EARLIER");
        QCOMPARE(rig->datLines(), expected);
    }

    void readingTwoSheets()
    {
        rig->writePath("sinav.fmt");
        QVERIFY(rig->addSheets(kSinav,
                               {sinavSheet("20260001"), sinavSheet("20260002", kAnswers2, "B")}));
        QVERIFY(rig->start());
        rig->window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(rig->window.get()));
        QTest::keyClick(rig->window.get(), Qt::Key_F6);
        QTRY_VERIFY_WITH_TIMEOUT(rig->menuItem("Oku")->isEnabled() && rig->label("Label2") == "2",
                                 ServiceRig::kLimitMs);

        QCOMPARE(rig->reader.receivedBytes(),
                 "@OEM\x22" + kSinavDownload + kSheetExchange + kSheetExchange);
        const QByteArray second = "20260002" + kAnswers2 + "B";
        QCOMPARE(rig->datLines(), (QList<QByteArray>{"20260001" + kAnswers1 + "A", second}));
        QCOMPARE(rig->label("Label3"), QString::fromLatin1(second));
        QCOMPARE(rig->label("Label4"), "Hata : 0  Kağıt Okundu");
    }

    // While a reading runs, the commands that talk to the reader rest and "Oku" cannot start a
    // second one; a missing FMT file stops the reading before the download begins.
    void oneReadingAtATime()
    {
        rig->writePath("sinav.fmt");
        QVERIFY(rig->addSheets(kSinav, {sinavSheet("20260001"), sinavSheet("20260002")}));
        QVERIFY(rig->start());
        rig->reader.setReplyDelayMs(30);
        QStringList enabledMeanwhile;
        QTimer::singleShot(60, rig->window.get(), [&] {
            for (const char *name : {"Oku", "Tm_Adjust", "Calibrated_Values", "Sensor_Timing",
                                     "mk_bul", "Comm_Set", "Exit"})
                if (rig->menuItem(name)->isEnabled())
                    enabledMeanwhile << name;
            if (rig->control<QPushButton>("Command2")->isEnabled())
                enabledMeanwhile << "Command2";
            rig->trigger("Oku");
        });
        rig->trigger("Oku");
        QCOMPARE(enabledMeanwhile, QStringList{"Exit"});
        QCOMPARE(rig->label("Label2"), "2");
        QCOMPARE(rig->reader.receivedBytes().count("@OEM"), 1);
        QVERIFY(rig->menuItem("Tm_Adjust")->isEnabled());

        rig->reader.setReplyDelayMs(0);
        rig->reader.clearReceived();
        rig->control<QLineEdit>("Text1")->setText("yok.fmt");
        QVERIFY(rig->addSheets(kSinav, {sinavSheet("20260003")}));
        rig->trigger("Oku");
        QCOMPARE(rig->label("Label4"), "Fmt dosyası açılamadı: yok.fmt");
        QCOMPARE(rig->reader.receivedBytes(), "@OEM\x22");
        QCOMPARE(rig->datLines().size(), 2);
    }

    // Timing marks on the right: the reader gives every field last character first; the DAT
    // file gets them as marked. The header carries a caption.
    void marksOnTheRight()
    {
        rig->writePath("anket.fmt");
        QVERIFY(rig->addSheets(kAnket, {{"7", "\xC7", "42", "ACE"}}));
        QVERIFY(rig->start());
        rig->trigger("Oku");
        QTRY_COMPARE_WITH_TIMEOUT(rig->label("Label2"), "1", ServiceRig::kLimitMs);
        QCOMPARE(rig->datLines(), QList<QByteArray>{"7\xC7"
                                                    "42ACE"});
        QCOMPARE(rig->label("Label4"), "Hata : 0  Kağıt Okundu");
    }

    void statusCodes_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("text");
        QTest::newRow("1") << 1 << "Hata : -1 Kağıt Sıkıştı";
        QTest::newRow("2") << 2 << "Hata : -2 Kağıt Sıkıştı";
        QTest::newRow("3") << 3 << "Hata : -3 Tm hatalı Okundu";
        QTest::newRow("4") << 4 << "Hata : -4 Kağıt Sıkıştı";
        QTest::newRow("5") << 5 << "Hata : -5 Tm hatalı Okundu";
    }

    void statusCodes()
    {
        QFETCH(int, status);
        QFETCH(QString, text);
        rig->writePath("sinav.fmt");
        QVERIFY(rig->addSheets(kSinav, {sinavSheet("20260001")}, status));
        QVERIFY(rig->addSheets(kSinav, {sinavSheet("20260002")}));
        QVERIFY(rig->start());
        rig->trigger("Oku");
        QTRY_COMPARE_WITH_TIMEOUT(rig->label("Label4"), text, ServiceRig::kLimitMs);
        QTRY_VERIFY_WITH_TIMEOUT(rig->menuItem("Oku")->isEnabled(), ServiceRig::kLimitMs);
        QVERIFY(rig->reader.receivedBytes().endsWith(kSinavDownload + "\x22\x2A"));
        QCOMPARE(rig->datLines(), QList<QByteArray>());
        QCOMPARE(rig->label("Label2"), "0");
    }

    // "Seviye" decodes the sheet in the reader again at the level typed; the line is written
    // like a read one.
    void levelRead()
    {
        rig->writePath("sinav.fmt");
        QVERIFY(rig->addSheets(kSinav, {sinavSheet("20260001")}));
        QVERIFY(rig->start());
        auto *level = rig->control<QPushButton>("Command5");
        auto *text2 = rig->control<QLineEdit>("Text2");
        QVERIFY(!level->isVisible() && !text2->isVisible());
        rig->trigger("Oku");
        QTRY_VERIFY_WITH_TIMEOUT(rig->label("Label2") == "1" && rig->menuItem("Oku")->isEnabled(),
                                 ServiceRig::kLimitMs);
        rig->trigger("sev_test");
        QVERIFY(level->isVisible() && text2->isVisible());
        QCOMPARE(text2->text(), "35");

        text2->setText("256");
        QTest::mouseClick(level, Qt::LeftButton);
        QCOMPARE(rig->messages.lastText(), "Seviye 0 ile 255 arasında bir tam sayı olmalıdır.");

        rig->reader.clearReceived();
        text2->setText("200");
        QTest::mouseClick(level, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(rig->label("Label2"), "2", ServiceRig::kLimitMs);
        QCOMPARE(rig->reader.receivedBytes(), "\x37\xC8\x2F");
        QCOMPARE(rig->datLines().size(), 2);
        QCOMPARE(rig->datLines().at(1), "20260001" + kAnswers1 + "A");

        QTest::mouseClick(rig->control<QPushButton>("Command6"), Qt::LeftButton);
        QVERIFY(!level->isVisible() && !text2->isVisible());
    }

    // "Kağıdı Çıkar" wakes the reader first: a switched-off reader is called until it answers
    // 1; one that never answers is given up with a message and gets no command.
    void ejectAfterAttention_data()
    {
        QTest::addColumn<int>("offReplies"); // -1: silent
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QString>("status");
        QTest::newRow("ready") << 0 << QByteArray("@OEM<") << "";
        QTest::newRow("switched off, then on") << 2 << QByteArray("@OEM@OEM@OEM<") << "";
        QTest::newRow("silent") << -1 << QByteArray("@OEM")
                                << "Optik okuyucu cevap vermedi; komut gönderilmedi.";
    }

    void ejectAfterAttention()
    {
        QFETCH(int, offReplies);
        QFETCH(QByteArray, sent);
        QFETCH(QString, status);
        rig->writePath("sinav.fmt");
        QVERIFY(rig->start({"sonuc"}, 300));
        if (offReplies < 0)
            rig->reader.setSilent(true);
        else
            rig->reader.withDevice([offReplies](ReaderDevice &d) { d.switchOnAfter(offReplies); });
        QTest::mouseClick(rig->control<QPushButton>("Command2"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(rig->reader.receivedBytes(), sent, ServiceRig::kLimitMs);
        QTRY_COMPARE_WITH_TIMEOUT(rig->label("Label4"), status, ServiceRig::kLimitMs);
    }

    void exitWritesPathTxt()
    {
        rig->writePath("sinav.fmt");
        QVERIFY(rig->start());
        rig->control<QLineEdit>("Text1")->setText("anket.fmt");
        rig->trigger("Exit");
        QVERIFY(!rig->window->isVisible());
        QCOMPARE(TestFiles::read(rig->file("path.txt")),
                 "anket.fmt\r\n" + rig->reader.linkPath().toUtf8() + "\r\n");

        QVERIFY(rig->start({"sonuc"}));
        QCOMPARE(rig->control<QLineEdit>("Text1")->text(), "anket.fmt");
        QVERIFY(rig->window->session().line()->isOpen());
    }

    // Each service command's window, by its function key: one instance, the reader woken
    // first where the command calls for it, and closed with the console.
    void menuWindows_data()
    {
        QTest::addColumn<int>("key"); // 0: no key, the item is triggered
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QByteArray>("sentFirst");
        QTest::newRow("Tm Ayari") << int(Qt::Key_F1) << "Tm_Adjust"
                                  << "Form8" << QByteArray("@OEM\x1E");
        QTest::newRow("Kalibrasyon") << int(Qt::Key_F2) << "Optics_Calibration"
                                     << "Form6" << QByteArray("@OEM");
        QTest::newRow("Kalibrasyon Değerleri") << int(Qt::Key_F3) << "Calibrated_Values"
                                               << "Form4" << QByteArray("@OEM\x08");
        QTest::newRow("Sensör Kontrolü") << int(Qt::Key_F4) << "Sensors"
                                         << "Form9" << QByteArray("@OEM\x22");
        QTest::newRow("Sensor Zamanlari") << 0 << "Sensor_Timing"
                                          << "Form2" << QByteArray("\x08");
        QTest::newRow("Goz Değerleri") << int(Qt::Key_F7) << "gd"
                                       << "Form12" << QByteArray("@OEM\x2E");
        QTest::newRow("Makine bul") << int(Qt::Key_F8) << "mk_bul"
                                    << "Form13" << QByteArray("@OEM");
        QTest::newRow("Bağlantı Değerleri") << int(Qt::Key_F5) << "Comm_Set"
                                            << "ConfigScrn" << QByteArray();
        QTest::newRow("Data Bits (hidden)") << 0 << "Db"
                                            << "Form7" << QByteArray();
    }

    void menuWindows()
    {
        QFETCH(int, key);
        QFETCH(QString, item);
        QFETCH(QString, window);
        QFETCH(QByteArray, sentFirst);
        rig->writePath("sinav.fmt");
        QVERIFY(rig->start());
        const auto opened = [&window] {
            QList<QWidget *> found;
            for (QWidget *widget : QApplication::topLevelWidgets())
                if (widget->objectName() == window && widget->isVisible())
                    found << widget;
            return found;
        };
        for (int time = 0; time < 2; ++time) {
            if (key) {
                rig->window->activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(rig->window.get()));
                QTest::keyClick(rig->window.get(), Qt::Key(key));
            } else {
                rig->trigger(qPrintable(item));
            }
            QTRY_COMPARE_WITH_TIMEOUT(opened().size(), 1, ServiceRig::kLimitMs);
        }
        QTRY_VERIFY_WITH_TIMEOUT(rig->reader.receivedBytes().startsWith(sentFirst),
                                 ServiceRig::kLimitMs);
        QCOMPARE(rig->reader.receivedBytes().count("@OEM"), sentFirst.count("@OEM"));
        rig->trigger("Exit");
        QTRY_VERIFY(opened().isEmpty());
    }

    void hiddenItemsAndVersion()
    {
        rig->writePath("sinav.fmt");
        QVERIFY(rig->start());
        for (const char *hidden :
             {"Ex_set", "Im_Set", "Machine_En", "Machine_Dis", "Ram_Test", "send_fmt", "Oku_tek"})
            QVERIFY2(!rig->menuItem(hidden)->isVisible(), hidden);
        QVERIFY(!rig->control<QMenu>("Prop")->menuAction()->isVisible());
        QVERIFY(rig->menuItem("MHz_4")->isChecked() && !rig->menuItem("MHz_20")->isChecked());
        QVERIFY(rig->menuItem("lcd_disp")->isChecked());
        rig->trigger("p_v");
        QCOMPARE(rig->messages.shown().last().text, "Optical Mark Reader  version  1.06");
        QCOMPARE(rig->messages.shown().last().title, " ");
    }

private:
    ServiceRig *rig = nullptr;
};

QTEST_MAIN(TestServiceConsole)
#include "tst_serviceconsole.moc"
