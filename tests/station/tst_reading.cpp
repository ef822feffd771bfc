// Reading sheets through form1 against the simulated reader: the loop, its stops, the grid,
// the corrections and what lands in the data file.
#include "protocol.h"
#include "stationrig.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

namespace {

const QByteArray kSinav = "40=12=00=D=\r\n"
                          "03=12=02=09=H=D=0123456789=X=[NUMARA]\r\n"
                          "14=38=02=06=H=Y=ABCDE=X=[CEVAP]\r\n"
                          "03=03=11=12=H=Y=AB=X=[KITAPCIK](-B)\r\n";

const QByteArray kAnket = "30=14=00=T=[ANKET]\r\n"
                          "02=02=01=10=H=Y=9876543210=X=[SINIF]\r\n"
                          "04=13=01=02=H=D=9876543210=X=[YAS]\r\n"
                          "15=17=10=14=H=Y=EDCBA=X=[CEVAP]\r\n";

const QByteArray kAnswers1 = "ABCDEABCDEABCDEABCDEABCDE";
const QByteArray kAnswers2 = "EDCBAEDCBAEDCBAEDCBAEDCBA";

const QString kNoPaper = QStringLiteral("Optik Okuyucuda Kağıt yok");
const QColor kHit(0xFF, 0xC0, 0x80);

QList<QByteArray> sheet(const QByteArray &number, const QByteArray &answers = kAnswers1,
                        const QByteArray &booklet = "A")
{
    return {number, answers, booklet};
}

// A station with the worked example chosen and a data name typed.
bool ready(StationRig &rig, const QString &dataName = QStringLiteral("SINAV1"))
{
    rig.addForm(QStringLiteral("sinav.fmt"), kSinav);
    if (!rig.start())
        return false;
    rig.choose(QStringLiteral("sinav.fmt"));
    rig.typeDataName(dataName);
    return true;
}

// The worked example's sheet 12345678 read with "Tek tek okut" and shown, its record pending.
bool oneSheetShown(StationRig &rig)
{
    if (!ready(rig) || !rig.addSheet(QStringLiteral("sinav.fmt"), sheet("12345678")))
        return false;
    rig.clickSingle();
    return rig.w->recordPending();
}

} // namespace

class TestReading : public QObject
{
    Q_OBJECT

private slots:
    void init() { qputenv("OMR_HEARTBEAT_MS", "60000"); }

    void emptyTray()
    {
        StationRig rig;
        QVERIFY(ready(rig));
        rig.fx.reader().clearReceived();
        rig.clickRead();
        QCOMPARE(rig.w->Optik_Durum->text(), kNoPaper);
        // The format, then one tray query answered "no paper" and one start.
        QTRY_VERIFY(rig.fx.reader().receivedBytes().endsWith("\xA5\x3A\x22\x3A"));
        QCOMPARE(rig.dataBytes(QStringLiteral("SINAV1")), QByteArray());
        QCOMPARE(rig.w->ssay->text(), QStringLiteral("0"));
        QVERIFY(rig.w->Command1->isEnabled() && rig.w->Command4->isEnabled());
        QVERIFY(rig.w->Frame1->isEnabled() && rig.w->Combo1->isEnabled());
        QVERIFY(rig.w->Timer2->isActive());
        QVERIFY(!rig.w->recordPending());
    }

    void threeSheetsTheLastStaysPending()
    {
        StationRig rig;
        QVERIFY(ready(rig));
        QVERIFY(rig.addSheet(QStringLiteral("sinav.fmt"), sheet("00000001")));
        QVERIFY(rig.addSheet(QStringLiteral("sinav.fmt"), sheet("00000002", kAnswers2)));
        QVERIFY(rig.addSheet(QStringLiteral("sinav.fmt"), sheet("00000003")));
        rig.clickRead();
        QCOMPARE(rig.w->Optik_Durum->text(), kNoPaper);
        QCOMPARE(rig.dataLines(QStringLiteral("SINAV1")),
                 (QList<QByteArray>{"00000001" + kAnswers1 + "A", "00000002" + kAnswers2 + "A"}));
        QCOMPARE(rig.w->ssay->text(), QStringLiteral("2"));
        QVERIFY(rig.w->recordPending());
        QCOMPARE(rig.cellText(0, 1), QStringLiteral("00000003"));
        QCOMPARE(rig.cellText(1, 1), QString::fromLatin1(kAnswers1));

        // The next command writes it before its own exchange.
        rig.clickSingle();
        QCOMPARE(rig.w->Optik_Durum->text(), kNoPaper);
        QCOMPARE(rig.dataLines(QStringLiteral("SINAV1")).size(), 3);
        QCOMPARE(rig.w->ssay->text(), QStringLiteral("3"));
        QCOMPARE(rig.boxes.count(), 0);
    }

    void pendingRecordIsWrittenAtExit()
    {
        StationRig rig;
        QVERIFY(ready(rig));
        QVERIFY(rig.addSheet(QStringLiteral("sinav.fmt"), sheet("12345678")));
        rig.clickRead();
        QCOMPARE(rig.dataLines(QStringLiteral("SINAV1")), QList<QByteArray>());
        QTRY_VERIFY(rig.fx.reader().receivedBytes().endsWith("\x22\x3A")); // no paper
        rig.fx.reader().clearReceived();
        QTest::mouseClick(rig.w->Command3, Qt::LeftButton);
        QCOMPARE(rig.dataLines(QStringLiteral("SINAV1")),
                 QList<QByteArray>{"12345678" + kAnswers1 + "A"});
        QVERIFY(rig.fx.reader().waitForReceived(4, 2000));
        QCOMPARE(rig.fx.reader().receivedBytes(), QByteArray("@OEM"));
    }

    void jamOnTheSecondSheet()
    {
        StationRig rig;
        QVERIFY(ready(rig));
        QVERIFY(rig.addSheet(QStringLiteral("sinav.fmt"), sheet("00000001")));
        QVERIFY(rig.addSheet(QStringLiteral("sinav.fmt"), sheet("00000002"), 1));
        QVERIFY(rig.addSheet(QStringLiteral("sinav.fmt"), sheet("00000003")));
        rig.clickRead();
        QCOMPARE(rig.w->Optik_Durum->text(), QStringLiteral("Kağıt Sıkıştı      Hata : - 1"));
        QCOMPARE(rig.dataLines(QStringLiteral("SINAV1")),
                 QList<QByteArray>{"00000001" + kAnswers1 + "A"});
        QVERIFY(!rig.w->recordPending());
        QCOMPARE(rig.w->ssay->text(), QStringLiteral("1"));
    }

    void statusCodes_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("status");
        QTest::newRow("2") << 2 << QStringLiteral("Kağıt Sıkıştı      Hata : - 2");
        QTest::newRow("5") << 5 << QStringLiteral("Tm Hatalı Okundu   Hata : - 5");
        QTest::newRow("6") << 6 << QStringLiteral("Tanımlanmamış      Hata : - 6");
    }

    void statusCodes()
    {
        QFETCH(int, code);
        QFETCH(QString, status);
        StationRig rig;
        QVERIFY(ready(rig));
        QVERIFY(rig.addSheet(QStringLiteral("sinav.fmt"), sheet("00000001"), code));
        rig.clickSingle();
        QCOMPARE(rig.w->Optik_Durum->text(), status);
        QVERIFY(!rig.w->recordPending());
    }

    void stopWhileASheetIsRead()
    {
        StationRig rig;
        QVERIFY(ready(rig));
        for (const QByteArray number : {"00000001", "00000002", "00000003"})
            QVERIFY(rig.addSheet(QStringLiteral("sinav.fmt"), sheet(number)));
        // "Durdur" as soon as the first sheet is being fed.
        rig.fx.reader().setReplyDelayMs(100);
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, rig.w.get(), [&rig, &poll] {
            if (rig.fx.reader().receivedBytes().contains(Reader::kSheetStatus)) {
                poll.stop();
                QTest::mouseClick(rig.w->Command2, Qt::LeftButton);
            }
        });
        poll.start(2);
        rig.clickRead();
        // The sheet under way when "Durdur" came is finished, shown and left pending.
        QCOMPARE(rig.w->Optik_Durum->text(), QStringLiteral("Okuma duraklatıldı"));
        QVERIFY(rig.w->recordPending());
        QCOMPARE(rig.cellText(0, 1), QStringLiteral("00000001"));
        QCOMPARE(rig.fx.reader().withDevice([](ReaderDevice &d) { return d.sheetsInTray(); }), 2);
    }

    void checkTextHitStopsAutomaticReadingOnly()
    {
        StationRig rig;
        QVERIFY(ready(rig));
        QVERIFY(rig.addSheet(QStringLiteral("sinav.fmt"), sheet("00000001", kAnswers1, "B")));
        QVERIFY(rig.addSheet(QStringLiteral("sinav.fmt"), sheet("00000002", kAnswers1, "B")));
        QVERIFY(rig.addSheet(QStringLiteral("sinav.fmt"), sheet("00000003", kAnswers1, "A")));
        rig.clickRead();
        QCOMPARE(rig.w->Optik_Durum->text(), QStringLiteral("Okuma duraklatıldı"));
        QCOMPARE(rig.cellText(0, 1), QStringLiteral("00000001"));
        QCOMPARE(rig.w->MSG->item(2, 1)->background().color(), kHit);
        QCOMPARE(rig.w->MSG->item(0, 1)->background().color(), QColor(Qt::white));

        // One sheet at a time: coloured, no stop, no message.
        rig.clickSingle();
        QCOMPARE(rig.w->Optik_Durum->text(), QStringLiteral("Form tek tek Okunuyor"));
        QCOMPARE(rig.cellText(0, 1), QStringLiteral("00000002"));
        QCOMPARE(rig.w->MSG->item(2, 1)->background().color(), kHit);
        rig.clickSingle();
        QCOMPARE(rig.w->MSG->item(2, 1)->background().color(), QColor(Qt::white));
        // A hit changes nothing of the record.
        QCOMPARE(rig.dataLines(QStringLiteral("SINAV1")),
                 (QList<QByteArray>{"00000001" + kAnswers1 + "B", "00000002" + kAnswers1 + "B"}));
    }

    void constantsFromTheCheckColumn()
    {
        StationRig rig;
        QVERIFY(ready(rig));
        rig.w->MSG->item(0, 2)->setText(QStringLiteral("=2024"));
        rig.w->MSG->item(2, 2)->setText(QStringLiteral("="));
        QVERIFY(rig.addSheet(QStringLiteral("sinav.fmt"), sheet("87654321", kAnswers1, "B")));
        QVERIFY(rig.addSheet(QStringLiteral("sinav.fmt"), sheet("11111111")));
        rig.clickRead();
        QCOMPARE(rig.cellText(0, 1), QStringLiteral("2024"));
        QCOMPARE(rig.cellText(2, 1), QString());
        QCOMPARE(rig.dataLines(QStringLiteral("SINAV1")), QList<QByteArray>{"2024" + kAnswers1});

        // An empty value sets no limit on its edit, and nothing is padded.
        rig.w->MSG->setFocus();
        rig.w->MSG->setCurrentCell(2, 1);
        rig.w->GridEdit(32);
        QTest::keyClicks(rig.w->Text1, "XYZ");
        QTest::keyClick(rig.w->Text1, Qt::Key_Return);
        QCOMPARE(rig.cellText(2, 1), QStringLiteral("XYZ"));
    }

    void marksOnTheRightComeOutAsMarked()
    {
        StationRig rig;
        rig.addForm(QStringLiteral("anket.fmt"), kAnket);
        QVERIFY(rig.start());
        rig.choose(QStringLiteral("anket.fmt"));
        rig.typeDataName(QStringLiteral("ANKET"));
        QVERIFY(rig.addSheet(QStringLiteral("anket.fmt"), {"7", "42", "ABE"}));
        rig.clickSingle();
        QCOMPARE(rig.cellText(1, 1), QStringLiteral("42"));
        QCOMPARE(rig.cellText(2, 1), QStringLiteral("ABE"));
        QTest::mouseClick(rig.w->Command3, Qt::LeftButton);
        QCOMPARE(rig.dataLines(QStringLiteral("ANKET")), QList<QByteArray>{"742ABE"});
    }

    void doubleClickEditGoesIntoTheRecord()
    {
        StationRig rig;
        QVERIFY(oneSheetShown(rig));
        QTableWidget *grid = rig.w->MSG;
        grid->setCurrentCell(0, 1);
        const QPoint centre = grid->visualItemRect(grid->item(0, 1)).center();
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, centre);
        QLineEdit *edit = rig.w->Text1;
        QVERIFY(edit->isVisible());
        QCOMPARE(edit->text(), QStringLiteral("12345678"));
        QCOMPARE(edit->cursorPosition(), 0);
        QCOMPARE(edit->maxLength(), 8);
        QTest::keyClick(edit, Qt::Key_End);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, "XY"); // one fits, the width is the field's
        QCOMPARE(edit->text(), QStringLiteral("1234567X"));
        QTest::keyClick(edit, Qt::Key_End);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClick(edit, Qt::Key_Return);
        QVERIFY(!edit->isVisible());
        QCOMPARE(rig.cellText(0, 1), QStringLiteral("1234567 "));
        rig.clickSingle(); // writes the pending record, from the grid
        QCOMPARE(rig.dataLines(QStringLiteral("SINAV1")),
                 QList<QByteArray>{"1234567 " + kAnswers1 + "A"});
    }

    void typedEditShowsButTheRecordKeepsWhatWasRead()
    {
        StationRig rig;
        QVERIFY(oneSheetShown(rig));
        QTableWidget *grid = rig.w->MSG;
        grid->setFocus();
        grid->setCurrentCell(0, 1);
        QTest::keyClick(grid, 'X');
        QLineEdit *edit = rig.w->Text1;
        QVERIFY(edit->isVisible());
        QCOMPARE(edit->text(), QStringLiteral("X"));
        QCOMPARE(edit->cursorPosition(), 1);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(rig.cellText(0, 1), QStringLiteral("X       "));
        rig.clickSingle();
        QCOMPARE(rig.dataLines(QStringLiteral("SINAV1")),
                 QList<QByteArray>{"12345678" + kAnswers1 + "A"});
    }

    void editBoxKeys()
    {
        StationRig rig;
        QVERIFY(oneSheetShown(rig));
        QTableWidget *grid = rig.w->MSG;
        QLineEdit *edit = rig.w->Text1;
        grid->setFocus();

        // Escape drops the edit.
        grid->setCurrentCell(0, 1);
        QTest::keyClick(grid, 'Q');
        QTest::keyClick(edit, Qt::Key_Escape);
        QVERIFY(!edit->isVisible());
        QCOMPARE(rig.cellText(0, 1), QStringLiteral("12345678"));

        // Down commits and moves on; on the last row it stays.
        grid->setCurrentCell(1, 2);
        QTest::keyClick(grid, 'A');
        QTest::keyClick(edit, Qt::Key_Down);
        QCOMPARE(rig.cellText(1, 2), QStringLiteral("A"));
        QCOMPARE(grid->currentRow(), 2);
        QTest::keyClick(grid, Qt::Key_Return); // a control key starts from the cell's text
        QCOMPARE(edit->text(), QStringLiteral("-B"));
        QCOMPARE(edit->maxLength(), 100);
        QTest::keyClick(edit, Qt::Key_Down);
        QCOMPARE(grid->currentRow(), 2);
        QCOMPARE(rig.cellText(2, 2), QStringLiteral("-B"));

        // Up commits and moves back; on the first row it stays.
        QTest::keyClick(grid, 'C');
        QTest::keyClick(edit, Qt::Key_Up);
        QCOMPARE(rig.cellText(2, 2), QStringLiteral("C"));
        QCOMPARE(grid->currentRow(), 1);
        grid->setCurrentCell(0, 2);
        QTest::keyClick(grid, 'Z');
        QTest::keyClick(edit, Qt::Key_Up);
        QCOMPARE(grid->currentRow(), 0);
        QCOMPARE(rig.cellText(0, 2), QStringLiteral("Z"));
    }

    void changingTheDataNameBetweenReads()
    {
        StationRig rig;
        QVERIFY(ready(rig));
        QVERIFY(rig.addSheet(QStringLiteral("sinav.fmt"), sheet("00000001")));
        rig.clickSingle();
        QVERIFY(rig.w->recordPending());

        rig.typeDataName(QStringLiteral("SINAV2"));
        QVERIFY(rig.addSheet(QStringLiteral("sinav.fmt"), sheet("00000002")));
        rig.fx.reader().clearReceived();
        rig.clickSingle();
        QCOMPARE(rig.boxes.texts(),
                 QStringList{QStringLiteral("Data dosyası adını değiştirdiniz bundan sonraki "
                                            "formlar bu dosyaya kayıt edilecek")});
        QCOMPARE(rig.dataLines(QStringLiteral("SINAV1")),
                 QList<QByteArray>{"00000001" + kAnswers1 + "A"});
        QVERIFY(rig.fx.reader().receivedBytes().startsWith('\x32')); // the format again
        QCOMPARE(rig.cellText(0, 1), QStringLiteral("00000002"));
        QTest::mouseClick(rig.w->Command3, Qt::LeftButton);
        QCOMPARE(rig.dataLines(QStringLiteral("SINAV2")),
                 QList<QByteArray>{"00000002" + kAnswers1 + "A"});
    }

    void changingTheFormBetweenReadsAsksAboutTheSameFile()
    {
        StationRig rig;
        QVERIFY(ready(rig));
        rig.addForm(QStringLiteral("kisa.fmt"),
                    "40=12=00=D=\r\n03=12=02=09=H=D=0123456789=X=[NO]\r\n");
        QVERIFY(rig.addSheet(QStringLiteral("sinav.fmt"), sheet("00000001")));
        rig.clickSingle();

        rig.choose(QStringLiteral("kisa.fmt"));
        QVERIFY(rig.addSheet(QStringLiteral("kisa.fmt"), {"55555555"}));
        rig.boxes.queueAnswer(MsgBox::Answer::Ok);     // the warning
        rig.boxes.queueAnswer(MsgBox::Answer::Cancel); // the file exists: empty it
        rig.clickSingle();
        const QStringList texts = rig.boxes.texts();
        QCOMPARE(texts.size(), 2);
        QCOMPARE(texts[0], QStringLiteral("FMT Dosya adını değiştirdiniz bundan sonraki formlar "
                                          "bu formatta okunacak"));
        QCOMPARE(texts[1], rig.dataPath(QStringLiteral("SINAV1")) +
                               QStringLiteral("  dosyası mevcuttur. Üzerine eklensin mi?"));
        QCOMPARE(rig.w->expectedLength(), 8);
        QCOMPARE(rig.cellText(0, 1), QStringLiteral("55555555"));
        QCOMPARE(rig.dataLines(QStringLiteral("SINAV1")), QList<QByteArray>()); // emptied
    }

    void changingBothNamesWarnsTwice()
    {
        StationRig rig;
        QVERIFY(ready(rig));
        rig.addForm(QStringLiteral("kisa.fmt"), "40=12=00=D=\r\n03=12=02=09=H=D=0123456789=X=\r\n");
        QVERIFY(rig.addSheet(QStringLiteral("sinav.fmt"), sheet("00000001")));
        rig.clickSingle();
        rig.choose(QStringLiteral("kisa.fmt"));
        rig.typeDataName(QStringLiteral("KISA"));
        rig.clickSingle();
        QCOMPARE(rig.boxes.count(), 2);
        QVERIFY(rig.boxes.texts()[0].startsWith(QStringLiteral("Data dosyası adını")));
        QVERIFY(rig.boxes.texts()[1].startsWith(QStringLiteral("FMT Dosya adını")));
        QCOMPARE(rig.dataLines(QStringLiteral("SINAV1")).size(), 1);
    }

    void readerFallsSilentMidSheet()
    {
        qputenv("OMR_LONG_WAIT_MS", "400");
        StationRig rig;
        QVERIFY(ready(rig));
        QVERIFY(rig.addSheet(QStringLiteral("sinav.fmt"), sheet("00000001")));
        QVERIFY(rig.addSheet(QStringLiteral("sinav.fmt"), sheet("00000002")));
        rig.clickSingle();
        // Silent after the tray query of the next sheet: the feed is never answered.
        rig.fx.reader().setPartialReplies(true);
        rig.clickSingle();
        qunsetenv("OMR_LONG_WAIT_MS");
        QCOMPARE(rig.w->Optik_Durum->text(), QStringLiteral("Form Bilgisi Eksik geldi"));
        QVERIFY(!rig.w->recordPending());
        QCOMPARE(rig.dataLines(QStringLiteral("SINAV1")).size(), 1);
        rig.fx.reader().setPartialReplies(false);
        rig.fx.reader().setSilent(true);
        qputenv("OMR_LONG_WAIT_MS", "300");
        rig.clickSingle();
        qunsetenv("OMR_LONG_WAIT_MS");
        QCOMPARE(rig.w->Optik_Durum->text(),
                 QStringLiteral("Optik Okuyucu cevap vermiyor (süre doldu)"));
        QVERIFY(rig.w->Command1->isEnabled());
    }

    void aWriteErrorStopsReadingAndKeepsTheSheet()
    {
        StationRig rig;
        QVERIFY(ready(rig, QStringLiteral("DOLU")));
        // A data file on a full disk: every write fails.
        QVERIFY(QFile::link(QStringLiteral("/dev/full"), rig.dataPath(QStringLiteral("DOLU"))));
        QVERIFY(rig.addSheet(QStringLiteral("sinav.fmt"), sheet("00000001")));
        QVERIFY(rig.addSheet(QStringLiteral("sinav.fmt"), sheet("00000002")));
        QVERIFY(rig.addSheet(QStringLiteral("sinav.fmt"), sheet("00000003")));
        rig.clickRead();
        // The question on the existing file, then the write error; reading stopped there.
        QCOMPARE(rig.boxes.count(), 2);
        QVERIFY(rig.boxes.lastText().startsWith(QStringLiteral("Data dosyasına yazılamadı: ")));
        QCOMPARE(rig.boxes.shown().last().icon, MsgBox::Icon::Critical);
        QCOMPARE(rig.w->ssay->text(), QStringLiteral("0"));
        QVERIFY(rig.w->recordPending());
        QCOMPARE(rig.cellText(0, 1), QStringLiteral("00000001"));
        QCOMPARE(rig.fx.reader().withDevice([](ReaderDevice &d) { return d.sheetsInTray(); }), 2);
        QVERIFY(rig.w->Command1->isEnabled());
    }

    void aTornLastLineIsReportedAndLeftWhole()
    {
        StationRig rig;
        rig.fx.writeFile(rig.dataPath(QStringLiteral("ESKI")), "11111111\r\n2222");
        QVERIFY(ready(rig, QStringLiteral("ESKI")));
        QVERIFY(rig.addSheet(QStringLiteral("sinav.fmt"), sheet("00000003")));
        rig.clickSingle();
        QCOMPARE(rig.boxes.count(), 2); // append? then the torn line
        QVERIFY(rig.boxes.lastText().contains(QStringLiteral("son satırı yarım kalmış")));
        QTest::mouseClick(rig.w->Command3, Qt::LeftButton);
        QCOMPARE(rig.dataBytes(QStringLiteral("ESKI")),
                 "11111111\r\n2222\r\n00000003" + kAnswers1 + "A\r\n");
    }

    void readerUnpluggedDuringASheet()
    {
        StationRig rig;
        QVERIFY(ready(rig));
        QVERIFY(rig.addSheet(QStringLiteral("sinav.fmt"), sheet("00000001")));
        QVERIFY(rig.addSheet(QStringLiteral("sinav.fmt"), sheet("00000002")));
        rig.clickSingle();
        rig.fx.reader().setSilent(true);
        QTimer::singleShot(100, rig.w.get(), [&rig] { rig.fx.reader().hangUp(); });
        rig.clickSingle();
        QVERIFY2(rig.w->Optik_Durum->text().contains(QStringLiteral("koptu")),
                 qPrintable(rig.w->Optik_Durum->text()));
        QVERIFY(!rig.w->recordPending()); // the first sheet was written, no record for this one
        QCOMPARE(rig.dataLines(QStringLiteral("SINAV1")).size(), 1);
        QVERIFY(rig.w->Command1->isEnabled());
    }

    void aDataFileThatCannotBeCreatedIsReported()
    {
        StationRig rig;
        QVERIFY(ready(rig));
        QVERIFY(QDir(rig.fx.dataFolder()).removeRecursively());
        rig.fx.reader().clearReceived();
        rig.clickRead();
        QCOMPARE(rig.boxes.count(), 1);
        QVERIFY(rig.boxes.lastText().startsWith(QStringLiteral("Data dosyası açılamadı: ") +
                                                rig.dataPath(QStringLiteral("SINAV1"))));
        QTest::qWait(50);
        QVERIFY(!rig.fx.reader().receivedBytes().contains('\x32')); // no format, no sheet
        QVERIFY(rig.w->Command1->isEnabled() && rig.w->Frame1->isEnabled());
        QVERIFY(!rig.w->dataFileOpen());
    }

    void choicesAreLockedWhileReading()
    {
        StationRig rig;
        QVERIFY(ready(rig));
        QVERIFY(rig.addSheet(QStringLiteral("sinav.fmt"), sheet("00000001")));
        rig.fx.reader().setReplyDelayMs(100);
        bool checked = false;
        QTimer::singleShot(150, rig.w.get(), [&rig, &checked] {
            checked = !rig.w->Command1->isEnabled() && !rig.w->Command4->isEnabled() &&
                      !rig.w->Combo1->isEnabled() && !rig.w->dosyaadi->isEnabled() &&
                      !rig.w->Frame1->isEnabled() && rig.w->Command2->isEnabled();
        });
        rig.clickRead();
        QVERIFY(checked);
        QVERIFY(rig.w->Command1->isEnabled() && rig.w->Combo1->isEnabled());
    }

    void validationWarnings_data()
    {
        QTest::addColumn<QString>("fmt");
        QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("message");
        QTest::newRow("no data name") << "sinav.fmt"
                                      << "  "
                                      << "DATA DOSYASI ADINI GİRİNİZ";
        QTest::newRow("no form") << ""
                                 << "SINAV1"
                                 << "FMT DOSYASINI SEÇİNİZ";
        QTest::newRow("a path, not a name") << "sinav.fmt"
                                            << "../disari"
                                            << "";
    }

    void validationWarnings()
    {
        QFETCH(QString, fmt);
        QFETCH(QString, data);
        QFETCH(QString, message);
        StationRig rig;
        rig.addForm(QStringLiteral("sinav.fmt"), kSinav);
        QVERIFY(rig.start());
        if (!fmt.isEmpty())
            rig.choose(fmt);
        rig.typeDataName(data);
        rig.fx.reader().clearReceived();
        rig.clickRead();
        QVERIFY(rig.boxes.count() >= 1);
        if (!message.isEmpty())
            QCOMPARE(rig.boxes.shown().first().text, message);
        QCOMPARE(rig.boxes.shown().first().icon, MsgBox::Icon::Warning);
        QTest::qWait(50);
        QVERIFY(!rig.fx.reader().receivedBytes().contains('\x22')); // nothing was read
        QVERIFY(QDir(rig.fx.dataFolder()).entryList(QDir::Files).isEmpty());
        QVERIFY(!QFile::exists(rig.fx.home() + QStringLiteral("/disari.DAT")));
    }
};

QTEST_MAIN(TestReading)
#include "tst_reading.moc"
