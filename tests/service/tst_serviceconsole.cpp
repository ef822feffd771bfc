// The service console driven as its operator drives it: menus, function keys and buttons of
// Form1 against the simulated reader; what goes on the line, the labels, the DAT file, path.txt.
#include "datafile.h"
#include "samples.h"
#include "servicerig.h"
#include "settingsfile.h"

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

using namespace Samples;
using namespace Qt::StringLiterals;

namespace {

const QByteArray kSheetExchange = "\x22\x2A\x2F\x22";
const QByteArray kRead1 = "20260001" + kAnswers1 + "A";

} // namespace

class TestServiceConsole : public QObject
{
    Q_OBJECT

    ServiceRig *rig = nullptr;

    // A console on the sample exam form with these sheets in the tray.
    bool startWithSheets(const QList<QList<QByteArray>> &sheets)
    {
        return rig->addSheets(kSinav, sheets) && rig->start("sinav.fmt");
    }

    static QList<QWidget *> shown(const QString &name) // the visible windows of that name
    {
        QList<QWidget *> found;
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (widget->objectName() == name && widget->isVisible())
                found << widget;
        return found;
    }

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
        QTest::addColumn<QByteArray>("pathTxt"); // "link": the simulated reader's, "" for none
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QString>("fmtName"); // null: the program ended
        QTest::addColumn<QString>("portName");
        QTest::addColumn<QString>("status");
        QTest::addColumn<int>("refusals");
        const QByteArray link = "link";
        const QStringList sonuc{"sonuc"};
        QTest::newRow("a form and port 2") << QByteArray("sinav.fmt\r\n 2 \r\n") << sonuc
                                           << u"sinav.fmt"_s << portNameFor("2") << u""_s << 0;
        QTest::newRow("a device path, a name to trim")
            << link << QStringList{" sonuc "} << u"anket.fmt"_s << u"link"_s << u""_s << 0;
        QTest::newRow("no path.txt")
            << QByteArray() << sonuc << u""_s << portNameFor("1")
            << u"path.txt bulunamadı; Fmt adı boş, port 1 ile başlandı."_s << 0;
        QTest::newRow("a folder, then a plain name") << link << QStringList{"../x", "", "sonuc"}
                                                     << u"anket.fmt"_s << u"link"_s << u""_s << 1;
        QTest::newRow("empty ends the program")
            << link << QStringList{"  "} << QString() << u""_s << u""_s << 0;
    }
    void startUp()
    {
        QFETCH(QByteArray, pathTxt);
        QFETCH(QStringList, typed);
        QFETCH(QString, fmtName);
        QFETCH(QString, portName);
        if (!pathTxt.isEmpty() && pathTxt != "link")
            TestFiles::write(rig->file("path.txt"), pathTxt);
        QCOMPARE(rig->start(pathTxt == "link" ? "anket.fmt" : "", typed), !fmtName.isNull());
        QCOMPARE(rig->messages.shown().first().title, "Dat Dosyası İsmini Giriniz");
        QCOMPARE(rig->messages.shown().first().text, "Dat Dosyasının İsmini Yazınız");
        int warnings = 0;
        for (const MsgBox::Shown &shown : rig->messages.shown())
            warnings += shown.icon == MsgBox::Icon::Warning;
        if (pathTxt == "link") // a port of this machine may add its own warning
            QTEST(warnings, "refusals");
        // Upper-cased and trimmed, in the program folder, and nowhere else.
        QCOMPARE(QFile::exists(rig->file("SONUC")), !fmtName.isNull());
        QVERIFY(!QFile::exists(rig->file("X")) && !QFile::exists(rig->file("../X")));
        if (fmtName.isNull())
            return;
        QCOMPARE(rig->window->windowTitle(), "OPTICAL MARK READER        (SONUC)");
        QCOMPARE(rig->control<QLineEdit>("Text1")->text(), fmtName);
        QTEST(rig->label("Label4"), "status");
        SerialLine *line = rig->window->session().line();
        QCOMPARE(line->portName(), portName == "link" ? rig->reader.linkPath() : portName);
        QVERIFY(portName != "link" || line->isOpen());
    }

    // An existing DAT file: nothing is read before the answer; Evet appends, Hayır empties, a
    // question closed without an answer appends.
    void existingDatFile_data()
    {
        QTest::addColumn<QString>("answer"); // a button of Form11, or "" to close it
        QTest::addColumn<bool>("kept");
        QTest::newRow("Evet") << u"Command1"_s << true;
        QTest::newRow("Hayır") << u"Command2"_s << false;
        QTest::newRow("closed") << u""_s << true;
    }
    void existingDatFile()
    {
        QFETCH(QString, answer);
        QFETCH(bool, kept);
        TestFiles::write(rig->file("SONUC"), "EARLIER\r\n");
        QVERIFY(startWithSheets({sinavSheet("20260001")}));
        QWidget *question = shown("Form11").value(0);
        QVERIFY(question);
        QCOMPARE(question->windowTitle(), "Uyarı");
        QVERIFY(!rig->control("Oku")->isEnabled());
        QTest::keyClick(rig->window.get(), Qt::Key_F6);
        rig->control("Oku")->trigger();
        QVERIFY(!rig->reader.waitForReceived(1, 300));
        QCOMPARE(rig->datLines(), QList<QByteArray>{"EARLIER"});
        if (answer.isEmpty())
            question->close();
        else
            QTest::mouseClick(question->findChild<QPushButton *>(answer), Qt::LeftButton);
        rig->control("Oku")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(rig->label("Label2") == "1" && rig->control("Oku")->isEnabled(),
                                 ServiceRig::kLimitMs);
        QCOMPARE(rig->datLines(), (kept ? QList<QByteArray>{"EARLIER", kRead1} : QList{kRead1}));
    }

    // A form goes down as its file's lines stand, titles and checks included, nothing between.
    // Timing marks on the right give every field last character first, and the DAT file gets
    // them as marked; a status code stops the reading with its text and writes nothing.
    void reading_data()
    {
        QTest::addColumn<QByteArray>("fmt");
        QTest::addColumn<int>("status"); // the first sheet's
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<QByteArray>>("lines");
        const QString read = u"Hata : 0  Kağıt Okundu"_s, jam = u"Kağıt Sıkıştı"_s;
        QTest::newRow("two sheets") << QByteArray("sinav.fmt") << 0 << read
                                    << QList<QByteArray>{kRead1, "20260002" + kAnswers2 + "B"};
        QTest::newRow("marks on the right") << QByteArray("anket.fmt") << 0 << read
                                            << QList<QByteArray>{"7\xC7"
                                                                 "42ACE"};
        for (int status = 1; status <= 5; ++status)
            QTest::addRow("status %d", status)
                << QByteArray("sinav.fmt") << status
                << u"Hata : -%1 "_s.arg(status) +
                       (status % 2 && status > 1 ? u"Tm hatalı Okundu"_s : jam)
                << QList<QByteArray>();
    }
    void reading()
    {
        QFETCH(QByteArray, fmt);
        QFETCH(int, status);
        QFETCH(QList<QByteArray>, lines);
        if (fmt == "anket.fmt")
            QVERIFY(rig->addSheets(kAnket, {{"7", "\xC7", "42", "ACE"}}));
        else
            QVERIFY(rig->addSheets(kSinav, {sinavSheet("20260001")}, status) &&
                    rig->addSheets(kSinav, {sinavSheet("20260002", kAnswers2, "B")}));
        QVERIFY(rig->start(fmt));
        rig->window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(rig->window.get()));
        QTest::keyClick(rig->window.get(), Qt::Key_F6);
        QTRY_VERIFY_WITH_TIMEOUT(rig->control("Oku")->isEnabled() &&
                                     !rig->label("Label4").isEmpty(),
                                 ServiceRig::kLimitMs);
        QTEST(rig->label("Label4"), "text");
        QCOMPARE(rig->datLines(), lines);
        QCOMPARE(rig->label("Label2"), QString::number(lines.size()));
        QCOMPARE(rig->label("Label3"), QString::fromLatin1(lines.value(lines.size() - 1)));
        const QByteArray download =
            "\x32" + TestFiles::read(rig->file(fmt)).replace("\r\n", "") + "\xA5\x3A";
        QCOMPARE(rig->reader.receivedBytes(),
                 "@OEM\x22" + download +
                     (status ? "\x22\x2A" : kSheetExchange.repeated(lines.size())));
    }

    // While a reading runs, the commands that talk to the reader rest and "Oku" cannot start a
    // second one; a missing FMT file stops the reading before the download begins.
    void oneReadingAtATime()
    {
        QVERIFY(startWithSheets({sinavSheet("20260001"), sinavSheet("20260002")}));
        rig->reader.setReplyDelayMs(30);
        QStringList enabledMeanwhile;
        QTimer::singleShot(60, rig->window.get(), [&] {
            for (const char *name : {"Oku", "Tm_Adjust", "Calibrated_Values", "Sensor_Timing",
                                     "mk_bul", "Comm_Set", "Exit", "Command2"})
                if (rig->control<QObject>(name)->property("enabled").toBool())
                    enabledMeanwhile << name;
            rig->control("Oku")->trigger();
        });
        rig->control("Oku")->trigger();
        QCOMPARE(enabledMeanwhile, QStringList{"Exit"});
        QCOMPARE(rig->label("Label2"), "2");
        QCOMPARE(rig->reader.receivedBytes().count("@OEM"), 1);
        QVERIFY(rig->control("Tm_Adjust")->isEnabled());
        rig->reader.setReplyDelayMs(0);
        rig->reader.clearReceived();
        rig->control<QLineEdit>("Text1")->setText("yok.fmt");
        QVERIFY(rig->addSheets(kSinav, {sinavSheet("20260003")}));
        rig->control("Oku")->trigger();
        QCOMPARE(rig->label("Label4"), "Fmt dosyası açılamadı: yok.fmt");
        QCOMPARE(rig->reader.receivedBytes(), "@OEM\x22");
        QCOMPARE(rig->datLines().size(), 2);
    }

    // "Seviye" decodes the sheet in the reader again at the level typed; the line is written
    // like a read one.
    void levelRead()
    {
        QVERIFY(startWithSheets({sinavSheet("20260001")}));
        auto *level = rig->control<QPushButton>("Command5");
        auto *text2 = rig->control<QLineEdit>("Text2");
        QVERIFY(!level->isVisible() && !text2->isVisible());
        rig->control("Oku")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(rig->label("Label2") == "1" && rig->control("Oku")->isEnabled(),
                                 ServiceRig::kLimitMs);
        rig->control("sev_test")->trigger();
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
        QCOMPARE(rig->datLines(), (QList<QByteArray>{kRead1, kRead1}));
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
        QTest::newRow("ready") << 0 << QByteArray("@OEM<") << u""_s;
        QTest::newRow("switched off, then on") << 2 << QByteArray("@OEM@OEM@OEM<") << u""_s;
        QTest::newRow("silent") << -1 << QByteArray("@OEM")
                                << u"Optik okuyucu cevap vermedi; komut gönderilmedi."_s;
    }
    void ejectAfterAttention()
    {
        QFETCH(int, offReplies);
        QFETCH(QByteArray, sent);
        QFETCH(QString, status);
        QVERIFY(rig->start("sinav.fmt", {"sonuc"}, 300));
        if (offReplies < 0)
            rig->reader.setSilent(true);
        else
            rig->reader.withDevice([offReplies](ReaderDevice &d) { d.switchOnAfter(offReplies); });
        QTest::mouseClick(rig->control<QPushButton>("Command2"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(rig->reader.receivedBytes(), sent, ServiceRig::kLimitMs);
        QTRY_COMPARE_WITH_TIMEOUT(rig->label("Label4"), status, ServiceRig::kLimitMs);
    }

    // Each service command's window, by its function key: one instance, the reader woken
    // first where the command calls for it, and closed with the console.
    void menuWindows_data()
    {
        QTest::addColumn<QString>("how"); // "F<n> item window", F0: no key, the item triggered
        QTest::addColumn<QByteArray>("sentFirst");
        QTest::newRow("Tm Ayari") << u"F1 Tm_Adjust Form8"_s << QByteArray("@OEM\x1E");
        QTest::newRow("Kalibrasyon") << u"F2 Optics_Calibration Form6"_s << QByteArray("@OEM");
        QTest::newRow("Kalibrasyon Değerleri")
            << u"F3 Calibrated_Values Form4"_s << QByteArray("@OEM\x08");
        QTest::newRow("Sensör Kontrolü") << u"F4 Sensors Form9"_s << QByteArray("@OEM\x22");
        QTest::newRow("Sensor Zamanlari") << u"F0 Sensor_Timing Form2"_s << QByteArray("\x08");
        QTest::newRow("Goz Değerleri") << u"F7 gd Form12"_s << QByteArray("@OEM\x2E");
        QTest::newRow("Makine bul") << u"F8 mk_bul Form13"_s << QByteArray("@OEM");
        QTest::newRow("Bağlantı Değerleri") << u"F5 Comm_Set ConfigScrn"_s << QByteArray();
        QTest::newRow("Data Bits (hidden)") << u"F0 Db Form7"_s << QByteArray();
    }
    void menuWindows()
    {
        QFETCH(QString, how);
        QFETCH(QByteArray, sentFirst);
        const QStringList parts = how.split(u' ');
        const int key = parts[0].mid(1).toInt();
        QVERIFY(rig->start("sinav.fmt"));
        for (int time = 0; time < 2; ++time) {
            if (key) {
                rig->window->activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(rig->window.get()));
                QTest::keyClick(rig->window.get(), Qt::Key(Qt::Key_F1 + key - 1));
            } else {
                rig->control(qPrintable(parts[1]))->trigger();
            }
            QTRY_COMPARE_WITH_TIMEOUT(shown(parts[2]).size(), 1, ServiceRig::kLimitMs);
        }
        QTRY_VERIFY_WITH_TIMEOUT(rig->reader.receivedBytes().startsWith(sentFirst),
                                 ServiceRig::kLimitMs);
        QCOMPARE(rig->reader.receivedBytes().count("@OEM"), sentFirst.count("@OEM"));
        rig->control("Exit")->trigger();
        QTRY_VERIFY(shown(parts[2]).isEmpty());
    }

    // Hidden and checked menu items, the version box; "Exit" writes path.txt for the next start.
    void menuItemsAndExit()
    {
        QVERIFY(rig->start("sinav.fmt"));
        for (const char *hidden :
             {"Ex_set", "Im_Set", "Machine_En", "Machine_Dis", "Ram_Test", "send_fmt", "Oku_tek"})
            QVERIFY2(!rig->control(hidden)->isVisible(), hidden);
        QVERIFY(!rig->control<QMenu>("Prop")->menuAction()->isVisible());
        QVERIFY(rig->control("MHz_4")->isChecked() && !rig->control("MHz_20")->isChecked());
        QVERIFY(rig->control("lcd_disp")->isChecked());
        rig->control("p_v")->trigger();
        QCOMPARE(rig->messages.shown().last().text, "Optical Mark Reader  version  1.06");
        QCOMPARE(rig->messages.shown().last().title, " ");
        rig->control<QLineEdit>("Text1")->setText("anket.fmt");
        rig->control("Exit")->trigger();
        QVERIFY(!rig->window->isVisible());
        QCOMPARE(TestFiles::read(rig->file("path.txt")),
                 "anket.fmt\r\n" + rig->reader.linkPath().toUtf8() + "\r\n");
        QVERIFY(rig->start(""));
        QCOMPARE(rig->control<QLineEdit>("Text1")->text(), "anket.fmt");
        QVERIFY(rig->window->session().line()->isOpen());
    }
};

QTEST_MAIN(TestServiceConsole)
#include "tst_serviceconsole.moc"
