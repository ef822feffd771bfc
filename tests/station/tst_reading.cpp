// Reading sheets through form1's controls against the simulated reader: the loop, its stops,
// the grid and its corrections, the names, and what lands in the data file.
#include "protocol.h"
#include "samples.h"
#include "stationrig.h"
#include "testfiles.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

using namespace Samples;

namespace {

const QString kSinavFmt = QStringLiteral("sinav.fmt");
const QString kData = QStringLiteral("SINAV1");
const QString kNoPaper = QStringLiteral("Optik Okuyucuda Kağıt yok");
const QColor kHit(0xFF, 0xC0, 0x80);

QByteArray record(const QByteArray &number, const QByteArray &answers = kAnswers1,
                  const QByteArray &booklet = "A")
{
    return number + answers + booklet;
}

// A station with the worked example chosen, a data name typed and these sheets in the tray.
bool ready(StationRig &rig, const QList<QByteArray> &numbers = {}, const QString &data = kData)
{
    rig.addForm(kSinavFmt, kSinav);
    for (const QByteArray &number : numbers)
        if (!rig.addSheet(kSinavFmt, sinavSheet(number)))
            return false;
    if (!rig.start())
        return false;
    rig.choose(kSinavFmt);
    rig.typeDataName(data);
    return true;
}

int sheetsLeft(StationRig &rig)
{
    return rig.fx.reader().withDevice([](ReaderDevice &d) { return d.sheetsInTray(); });
}

// Runs f as soon as the reader has received the given byte so many times. The station looks at
// its events while it waits for a reply, so the reader must not answer at once.
void whenReceived(StationRig &rig, char byte, std::function<void()> f, int times = 1)
{
    rig.fx.reader().setReplyDelayMs(20);
    auto *poll = new QTimer(rig.w.get());
    QObject::connect(poll, &QTimer::timeout, rig.w.get(), [&rig, poll, byte, f, times] {
        if (rig.fx.reader().receivedBytes().count(byte) >= times) {
            poll->deleteLater();
            poll->stop();
            f();
        }
    });
    poll->start(2);
}

} // namespace

class TestReading : public QObject
{
    Q_OBJECT

private slots:
    void threeSheetsTheLastStaysPending()
    {
        StationRig rig;
        QVERIFY(ready(rig));
        rig.fx.reader().clearReceived();
        rig.clickRead(); // an empty tray first
        QCOMPARE(rig.status(), kNoPaper);
        QTRY_VERIFY(rig.fx.reader().receivedBytes().endsWith("\xA5\x3A\x22\x3A"));
        QVERIFY(!rig.w->recordPending());

        for (const QByteArray number : {"00000001", "00000002", "00000003"})
            QVERIFY(rig.addSheet(kSinavFmt, sinavSheet(number)));
        rig.clickRead();
        QCOMPARE(rig.status(), kNoPaper);
        QCOMPARE(rig.dataLines(kData), (QList<QByteArray>{record("00000001"), record("00000002")}));
        QCOMPARE(rig.control<QLabel>("ssay")->text(), QStringLiteral("2"));
        QVERIFY(rig.w->recordPending());
        QCOMPARE(rig.cellText(0, 1), QStringLiteral("00000003"));
        // Back where the operator started, not on "Sıfırla ", where Enter would reset the count.
        QCOMPARE(QApplication::focusWidget(), rig.control("Command1"));
        QVERIFY(rig.w->session().heartbeatTimer()->isActive());

        // The next command writes it before its own exchange.
        rig.clickSingle();
        QCOMPARE(rig.dataLines(kData).size(), 3);
        QCOMPARE(rig.control<QLabel>("ssay")->text(), QStringLiteral("3"));
        QCOMPARE(rig.boxes.count(), 0); // the data file stayed open: no question
    }

    void failuresEndTheRunWithTheirText_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("silent");
        QTest::addColumn<QString>("status");
        QTest::newRow("jam") << 1 << false << QStringLiteral("Kağıt Sıkıştı      Hata : - 1");
        QTest::newRow("timing marks")
            << 5 << false << QStringLiteral("Tm Hatalı Okundu   Hata : - 5");
        QTest::newRow("unknown") << 6 << false << QStringLiteral("Tanımlanmamış      Hata : - 6");
        QTest::newRow("silent reader")
            << 0 << true << QStringLiteral("Optik Okuyucu cevap vermiyor (süre doldu)");
    }

    void failuresEndTheRunWithTheirText()
    {
        QFETCH(int, code);
        QFETCH(bool, silent);
        QFETCH(QString, status);
        ReaderTimings timings = StationRig::testTimings();
        timings.longWaitMs = 400;
        StationRig rig(timings);
        QVERIFY(ready(rig, {"00000001"}));
        QVERIFY(rig.addSheet(kSinavFmt, sinavSheet("00000002"), code));
        QVERIFY(rig.addSheet(kSinavFmt, sinavSheet("00000003")));
        // Silent from the second sheet's tray query on: the status never comes.
        if (silent)
            whenReceived(
                rig, Reader::kReadSheet, [&rig] { rig.fx.reader().setSilent(true); }, 2);
        rig.clickRead();
        QCOMPARE(rig.status(), status);
        QVERIFY(!rig.w->recordPending());
        QCOMPARE(rig.dataLines(kData), QList<QByteArray>{record("00000001")});
        QVERIFY(rig.control("Command1")->isEnabled());
    }

    void stopWhileASheetIsRead()
    {
        StationRig rig;
        QVERIFY(ready(rig, {"00000001", "00000002", "00000003"}));
        // While a sheet is read nothing but "Durdur" can start another exchange or change a
        // name under it.
        bool locked = false;
        whenReceived(rig, Reader::kSheetStatus, [&rig, &locked] {
            locked = !rig.control("Command1")->isEnabled() &&
                     !rig.control("Command4")->isEnabled() && !rig.control("Combo1")->isEnabled() &&
                     !rig.control("dosyaadi")->isEnabled() && !rig.control("Frame1")->isEnabled();
            rig.click("Command2");
        });
        rig.clickRead();
        QVERIFY(locked);
        QVERIFY(rig.control("Command1")->isEnabled() && rig.control("Combo1")->isEnabled());
        // The sheet under way when "Durdur" came is finished, shown and left pending.
        QCOMPARE(rig.status(), QStringLiteral("Okuma duraklatıldı"));
        QVERIFY(rig.w->recordPending());
        QCOMPARE(rig.cellText(0, 1), QStringLiteral("00000001"));
        QCOMPARE(sheetsLeft(rig), 2);
    }

    // "Durdur" while the data file question waits does not carry over to the first sheet.
    void stopDuringTheQuestionDoesNotLeak()
    {
        StationRig rig;
        TestFiles::write(rig.dataPath(kData), "");
        QVERIFY(ready(rig, {"00000001", "00000002"}));
        rig.boxes.onShow = [&rig] { rig.click("Command2"); };
        rig.clickRead();
        QCOMPARE(rig.status(), kNoPaper);
        QCOMPARE(rig.dataLines(kData), QList<QByteArray>{record("00000001")});
    }

    void checkTextsAndConstants()
    {
        StationRig rig;
        rig.addForm(kSinavFmt, kSinav);
        QVERIFY(rig.addSheet(kSinavFmt, sinavSheet("00000001", kAnswers1, "B")));
        QVERIFY(rig.addSheet(kSinavFmt, sinavSheet("00000002", kAnswers1, "B")));
        QVERIFY(rig.addSheet(kSinavFmt, sinavSheet("00000003", kAnswers1, "A")));
        QVERIFY(rig.start());
        rig.choose(kSinavFmt);
        rig.typeDataName(kData);
        rig.grid()->item(1, 2)->setText(QStringLiteral("=X")); // a constant typed by the operator
        rig.clickRead();
        QCOMPARE(rig.status(), QStringLiteral("Okuma duraklatıldı"));
        QCOMPARE(rig.cellText(0, 1), QStringLiteral("00000001"));
        QCOMPARE(rig.cellText(1, 1), QStringLiteral("X"));
        QCOMPARE(rig.cellColour(2, 1), kHit);
        QCOMPARE(rig.cellColour(0, 1), QColor(Qt::white));

        // One sheet at a time: coloured, no stop.
        rig.clickSingle();
        QCOMPARE(rig.status(), QStringLiteral("Form tek tek Okunuyor"));
        QCOMPARE(rig.cellColour(2, 1), kHit);
        rig.clickSingle();
        QCOMPARE(rig.cellColour(2, 1), QColor(Qt::white));
        QCOMPARE(rig.dataLines(kData), (QList<QByteArray>{"00000001XB", "00000002XB"}));
    }

    void doubleClickEditGoesIntoTheRecordTypedEditDoesNot()
    {
        StationRig rig;
        QVERIFY(ready(rig, {"12345678", "00000002"}));
        rig.clickSingle();
        QTableWidget *grid = rig.grid();
        auto *edit = rig.control<QLineEdit>("Text1");
        grid->setCurrentCell(0, 1);
        const QPoint centre = grid->visualItemRect(grid->item(0, 1)).center();
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, centre);
        QVERIFY(edit->isVisible());
        QCOMPARE(edit->text(), QStringLiteral("12345678"));
        QCOMPARE(edit->maxLength(), 8);
        QTest::keyClick(edit, Qt::Key_End);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, "XY"); // one fits, the width is the field's
        QCOMPARE(edit->text(), QStringLiteral("1234567X"));
        QTest::keyClick(edit, Qt::Key_Return);
        rig.clickSingle(); // writes the pending record, from the grid
        QCOMPARE(rig.dataLines(kData), QList<QByteArray>{record("1234567X")});

        // An edit begun by typing only changes what is shown.
        grid->setFocus();
        grid->setCurrentCell(0, 1);
        QTest::keyClick(grid, 'Z');
        QCOMPARE(edit->text(), QStringLiteral("Z"));
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(rig.cellText(0, 1), QStringLiteral("Z       "));
        rig.clickExit();
        QCOMPARE(rig.dataLines(kData).last(), record("00000002"));
    }

    void editBoxKeys()
    {
        StationRig rig;
        QVERIFY(ready(rig, {"12345678"}));
        rig.clickSingle();
        QTableWidget *grid = rig.grid();
        auto *edit = rig.control<QLineEdit>("Text1");
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
        // Up commits and moves back.
        QTest::keyClick(grid, 'C');
        QTest::keyClick(edit, Qt::Key_Up);
        QCOMPARE(rig.cellText(2, 2), QStringLiteral("C"));
        QCOMPARE(grid->currentRow(), 1);
    }

    // An edit opened while the next sheet is under way belongs to no sheet: it must neither
    // overwrite the new sheet's value nor put the old answers into the new record.
    void anEditLeftOpenDuringReadingTouchesNoOtherSheet()
    {
        StationRig rig;
        QVERIFY(ready(rig, {"00000001", "00000002", "00000003", "00000004"}));
        rig.clickSingle();
        rig.fx.reader().clearReceived();
        const auto editNumber = [&rig](const QByteArray &typed) {
            QTableWidget *grid = rig.grid();
            grid->setCurrentCell(0, 1);
            QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {},
                               grid->visualItemRect(grid->item(0, 1)).center());
            auto *edit = rig.control<QLineEdit>("Text1");
            edit->selectAll();
            QTest::keyClicks(edit, typed);
        };
        whenReceived(rig, Reader::kSendData, [&] { editNumber(""); });
        rig.clickSingle(); // sheet 2, with the edit box opened on sheet 1's number meanwhile
        QCOMPARE(rig.cellText(0, 1), QStringLiteral("00000002"));
        QVERIFY(!rig.control("Text1")->isVisible());

        // Reading on: a correction typed while the next sheet is asked for goes into the record
        // of the sheet it was typed on.
        whenReceived(
            rig, Reader::kReadSheet, [&] { editNumber("00000009"); }, 3);
        rig.clickRead();
        QCOMPARE(rig.cellText(0, 1), QStringLiteral("00000004"));
        QCOMPARE(rig.dataLines(kData),
                 (QList<QByteArray>{record("00000001"), record("00000002"), record("00000009")}));
    }

    void choosingAFormKeepsThePendingSheet_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<int>("boxes");
        QTest::newRow("the same form") << kSinavFmt << 0;
        QTest::newRow("another form") << QStringLiteral("kisa.fmt") << 2; // warning, question
        // Its line and the refusal; then the warning, the question, the refusal again.
        QTest::newRow("a faulty form") << QStringLiteral("bozuk.fmt") << 5;
    }

    void choosingAFormKeepsThePendingSheet()
    {
        QFETCH(QString, chosen);
        QFETCH(int, boxes);
        StationRig rig;
        QVERIFY(ready(rig, {"00000001"}));
        rig.addForm(QStringLiteral("kisa.fmt"), "40=12=00=D=\r\n03=12=02=09=H=D=0123456789=X=\r\n");
        rig.addForm(QStringLiteral("bozuk.fmt"), "40=12=00=D=\r\n05=01=01=10=H=D=ABCDE=X=\r\n");
        rig.clickSingle();
        rig.choose(chosen);
        rig.click("Command4");
        QCOMPARE(rig.boxes.count(), boxes);
        QCOMPARE(rig.dataLines(kData), QList<QByteArray>{record("00000001")});
        QCOMPARE(rig.control<QLabel>("ssay")->text(), QStringLiteral("1"));
    }

    void changingNamesBetweenReads()
    {
        StationRig rig;
        QVERIFY(ready(rig, {"00000001", "00000002", "00000003"}));
        rig.addForm(QStringLiteral("kisa.fmt"), "40=12=00=D=\r\n03=12=02=09=H=D=0123456789=X=\r\n");
        rig.clickSingle();

        // Another data name: the pending sheet goes to the old file, the format is sent again.
        rig.typeDataName(QStringLiteral("SINAV2"));
        rig.fx.reader().clearReceived();
        rig.clickSingle();
        QCOMPARE(rig.boxes.texts(),
                 QStringList{QStringLiteral("Data dosyası adını değiştirdiniz bundan sonraki "
                                            "formlar bu dosyaya kayıt edilecek")});
        QCOMPARE(rig.dataLines(kData), QList<QByteArray>{record("00000001")});
        QVERIFY(rig.fx.reader().receivedBytes().startsWith('\x32'));

        // Both names: both warnings, then the question on the existing file (Cancel empties it).
        rig.choose(QStringLiteral("kisa.fmt"));
        rig.typeDataName(kData);
        rig.boxes.clear();
        rig.boxes.queueAnswer(MsgBox::Answer::Ok);
        rig.boxes.queueAnswer(MsgBox::Answer::Ok);
        rig.boxes.queueAnswer(MsgBox::Answer::Cancel);
        rig.clickSingle();
        const QStringList texts = rig.boxes.texts();
        QCOMPARE(texts.size(), 3);
        QVERIFY(texts[0].startsWith(QStringLiteral("Data dosyası adını")));
        QCOMPARE(texts[1], QStringLiteral("FMT Dosya adını değiştirdiniz bundan sonraki formlar "
                                          "bu formatta okunacak"));
        QCOMPARE(texts[2],
                 rig.dataPath(kData) + QStringLiteral("  dosyası mevcuttur. Üzerine eklensin mi?"));
        QCOMPARE(rig.dataLines(QStringLiteral("SINAV2")), QList<QByteArray>{record("00000002")});
        QCOMPARE(rig.dataLines(kData), QList<QByteArray>()); // emptied
        QCOMPARE(rig.cellText(0, 1), QStringLiteral("00000003"));
    }

    // A name listed from "c.dat" under ".DAT" opens that file, not a new "c.DAT".
    void aListedNameOpensTheListedFile()
    {
        StationRig rig;
        TestFiles::write(rig.fx.dataFolder() + QStringLiteral("c.dat"), "eski\r\n");
        QVERIFY(ready(rig, {"00000001"}, QStringLiteral("c")));
        rig.clickSingle();
        rig.clickExit();
        QCOMPARE(rig.boxes.count(), 1); // the question on the existing file
        QCOMPARE(QDir(rig.fx.dataFolder()).entryList(QDir::Files), QStringList{"c.dat"});
        QCOMPARE(TestFiles::read(rig.fx.dataFolder() + QStringLiteral("c.dat")),
                 "eski\r\n" + record("00000001") + "\r\n");
    }

    void aWriteErrorStopsReadingAndKeepsTheSheetWithItsFile()
    {
        StationRig rig;
        // A data file on a full disk: every write fails.
        QVERIFY(QFile::link(QStringLiteral("/dev/full"), rig.dataPath(QStringLiteral("DOLU"))));
        QVERIFY(ready(rig, {"00000001", "00000002", "00000003"}, QStringLiteral("DOLU")));
        rig.clickRead();
        QCOMPARE(rig.boxes.count(), 2); // the question on the existing file, the write error
        QVERIFY(rig.boxes.lastText().startsWith(QStringLiteral("Data dosyasına yazılamadı: ")));
        QCOMPARE(rig.boxes.shown().last().icon, MsgBox::Icon::Critical);
        QCOMPARE(rig.control<QLabel>("ssay")->text(), QStringLiteral("0"));
        QVERIFY(rig.w->recordPending());
        QCOMPARE(rig.cellText(0, 1), QStringLiteral("00000001"));
        QCOMPARE(sheetsLeft(rig), 2);

        // Another name now: the sheet cannot leave its file, so it stays pending there.
        rig.typeDataName(QStringLiteral("YENI"));
        rig.boxes.clear();
        rig.clickSingle();
        // The name warning and the write error when the operator moves to the button, the
        // write error again on its click.
        QCOMPARE(rig.boxes.count(), 3);
        QVERIFY(rig.boxes.texts().first().startsWith(QStringLiteral("Data dosyası adını")));
        QVERIFY(rig.boxes.lastText().startsWith(QStringLiteral("Data dosyasına yazılamadı: ")));
        QVERIFY(rig.w->recordPending());
        QCOMPARE(rig.w->dataFilePath(), rig.dataPath(QStringLiteral("DOLU")));
        QVERIFY(!QFile::exists(rig.dataPath(QStringLiteral("YENI"))));
        QCOMPARE(sheetsLeft(rig), 2);
    }

    void aTornLastLineIsReportedAndLeftWhole()
    {
        StationRig rig;
        TestFiles::write(rig.dataPath(QStringLiteral("ESKI")), "11111111\r\n2222");
        QVERIFY(ready(rig, {"00000003"}, QStringLiteral("ESKI")));
        rig.clickSingle();
        QCOMPARE(rig.boxes.count(), 2); // append? then the torn line
        QVERIFY(rig.boxes.lastText().contains(QStringLiteral("son satırı yarım kalmış")));
        rig.clickExit();
        QCOMPARE(rig.dataBytes(QStringLiteral("ESKI")),
                 "11111111\r\n2222\r\n" + record("00000003") + "\r\n");
    }

    // While a silent reader is awaited: the cable is pulled, or the program is closed. The
    // sheet shown before is written exactly once; no record comes for the one awaited.
    void interruptedWhileASheetIsAwaited_data()
    {
        QTest::addColumn<bool>("unplugged");
        QTest::newRow("cable pulled") << true;
        QTest::newRow("program closed") << false;
    }

    void interruptedWhileASheetIsAwaited()
    {
        QFETCH(bool, unplugged);
        StationRig rig;
        QVERIFY(ready(rig, {"00000001", "00000002"}));
        rig.clickSingle();
        rig.fx.reader().setSilent(true);
        QTimer::singleShot(100, rig.w.get(), [&rig, unplugged] {
            if (unplugged)
                rig.fx.reader().hangUp();
            else
                rig.w->close();
        });
        rig.clickSingle();
        QCOMPARE(rig.dataLines(kData), QList<QByteArray>{record("00000001")});
        QVERIFY(!rig.w->recordPending());
        QCOMPARE(rig.w->isVisible(), unplugged);
        if (unplugged) {
            QVERIFY2(rig.status().contains(QStringLiteral("koptu")), qPrintable(rig.status()));
            QVERIFY(rig.control("Command1")->isEnabled());
        }
    }

    // A read command clicked while a heartbeat ping waits for its "Y" runs after it: the "Y" is
    // not taken for paper, no false jam, and the sheet is read.
    void aReadCommandWaitsForThePing()
    {
        StationRig rig(StationRig::testTimings(40));
        QVERIFY(ready(rig, {"00000001"}));
        rig.clickSingle(); // the data file and the format, out of the way
        QVERIFY(rig.addSheet(kSinavFmt, sinavSheet("00000002")));
        rig.fx.reader().setReplyDelayMs(100);
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, rig.w.get(), [&rig, &poll] {
            if (rig.w->session().isBusy()) { // the ping waits for its delayed "Y"
                poll.stop();
                rig.fx.reader().clearReceived();
                rig.clickSingle();
            }
        });
        poll.start(1);
        QTRY_COMPARE(rig.cellText(0, 1), QStringLiteral("00000002"));
        QCOMPARE(rig.status(), QStringLiteral("Form tek tek Okunuyor"));
        // The ping's own bytes may reach the reader after the clearing; the read comes after them.
        QByteArray sent = rig.fx.reader().receivedBytes();
        while (sent.startsWith("\x01Y"))
            sent.remove(0, 2);
        QVERIFY(sent.startsWith("\x22\x2A\x2F"));
        QCOMPARE(rig.dataLines(kData), QList<QByteArray>{record("00000001")});
    }

    void nothingIsReadWithoutAValidChoice_data()
    {
        QTest::addColumn<QString>("fmt");
        QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("message");
        QTest::newRow("no data name") << kSinavFmt << "  "
                                      << "DATA DOSYASI ADINI GİRİNİZ";
        QTest::newRow("no form") << "" << kData << "FMT DOSYASINI SEÇİNİZ";
        QTest::newRow("a path, not a name") << kSinavFmt << "../disari"
                                            << "";
        QTest::newRow("no data folder") << kSinavFmt << kData << "Data dosyası açılamadı: ";
    }

    void nothingIsReadWithoutAValidChoice()
    {
        QFETCH(QString, fmt);
        QFETCH(QString, data);
        QFETCH(QString, message);
        StationRig rig;
        rig.addForm(kSinavFmt, kSinav);
        QVERIFY(rig.start());
        if (!fmt.isEmpty())
            rig.choose(fmt);
        rig.typeDataName(data);
        if (message.startsWith(QStringLiteral("Data dosyası")))
            QVERIFY(QDir(rig.fx.dataFolder()).removeRecursively());
        rig.fx.reader().clearReceived();
        rig.clickRead();
        QVERIFY(rig.boxes.count() >= 1);
        QVERIFY(rig.boxes.shown().first().text.startsWith(message));
        QVERIFY(!rig.fx.reader().receivedBytes().contains('\x22')); // nothing was read
        QVERIFY(QDir(rig.fx.dataFolder()).entryList(QDir::Files).isEmpty());
        QVERIFY(!QFile::exists(rig.fx.home() + QStringLiteral("/disari.DAT")));
        QVERIFY(rig.control("Command1")->isEnabled() && rig.control("Frame1")->isEnabled());
    }
};

QTEST_MAIN(TestReading)
#include "tst_reading.moc"
