// Reading sheets through form1 against the simulated reader, and what lands in the data file.
#include "protocol.h"
#include "samples.h"
#include "stationrig.h"
#include "testfiles.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

using namespace Samples;

namespace {

const QString kSinavFmt = QStringLiteral("sinav.fmt");
const QString kData = QStringLiteral("SINAV1");
const QString kNoPaper = QStringLiteral("Optik Okuyucuda Kağıt yok");
const QString kPaused = QStringLiteral("Okuma duraklatıldı");
const QString kOneByOne = QStringLiteral("Form tek tek Okunuyor");
const QString kNameChanged = QStringLiteral("Data dosyası adını");
const QString kWriteFailed = QStringLiteral("Data dosyasına yazılamadı: ");
const QByteArray kKisa = "40=12=00=D=\r\n03=12=02=09=H=D=0123456789=X=\r\n";
const QColor kHit(0xFF, 0xC0, 0x80);

QByteArray record(const QByteArray &number)
{
    return number + kAnswers1 + "A";
}
QList<QByteArray> records(const QList<QByteArray> &numbers)
{
    QList<QByteArray> list;
    for (const QByteArray &number : numbers)
        list << record(number);
    return list;
}

// form1 with the moves and looks these tests share.
struct Rig : StationRig
{
    using StationRig::StationRig;
    // The worked example chosen, a data name typed and these sheets in the tray; a ninth
    // character is the sheet's booklet.
    bool ready(const QList<QByteArray> &sheets = {}, const QString &data = kData)
    {
        addForm(kSinavFmt, kSinav);
        for (const QByteArray &s : sheets)
            if (!addSheet(kSinavFmt,
                          sinavSheet(s.left(8), kAnswers1, s.size() > 8 ? s.mid(8) : "A")))
                return false;
        if (!start())
            return false;
        choose(kSinavFmt);
        typeDataName(data);
        return true;
    }
    int sheetsLeft()
    {
        return fx.reader().withDevice([](ReaderDevice &d) { return d.sheetsInTray(); });
    }
    QString counter() const { return control<QLabel>("ssay")->text(); }
    // Opens the edit box on the sheet's number the way that puts a correction into the record.
    QLineEdit *doubleClickNumber()
    {
        grid()->setCurrentCell(0, 1);
        const QPoint centre = grid()->visualItemRect(grid()->item(0, 1)).center();
        QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, centre);
        return control<QLineEdit>("Text1");
    }
    // Runs f once the condition holds, checked between the station's own events.
    void when(std::function<bool()> condition, std::function<void()> f)
    {
        auto *poll = new QTimer(w.get());
        QObject::connect(poll, &QTimer::timeout, w.get(), [poll, condition, f] {
            if (condition()) {
                poll->deleteLater();
                poll->stop();
                f();
            }
        });
        poll->start(1);
    }
    // Runs f once the reader has received the byte so many times; the reader answers late so
    // that the station is still waiting.
    void whenReceived(char byte, std::function<void()> f, int times = 1)
    {
        fx.reader().setReplyDelayMs(20);
        when([this, byte, times] { return fx.reader().receivedBytes().count(byte) >= times; }, f);
    }
};

} // namespace

class TestReading : public QObject
{
    Q_OBJECT

private slots:
    void threeSheetsTheLastStaysPending()
    {
        Rig rig;
        QVERIFY(rig.ready());
        rig.fx.reader().clearReceived();
        rig.clickRead(); // an empty tray first
        QCOMPARE(rig.status(), kNoPaper);
        QTRY_VERIFY(rig.fx.reader().receivedBytes().endsWith("\xA5\x3A\x22\x3A"));
        QVERIFY(!rig.w->recordPending());
        for (const QByteArray number : {"00000001", "00000002", "00000003"})
            QVERIFY(rig.addSheet(kSinavFmt, sinavSheet(number)));
        rig.clickRead();
        QCOMPARE(rig.status(), kNoPaper);
        QCOMPARE(rig.dataLines(kData), records({"00000001", "00000002"}));
        QCOMPARE(rig.counter(), QStringLiteral("2"));
        QVERIFY(rig.w->recordPending());
        QCOMPARE(rig.cellText(0, 1), QStringLiteral("00000003"));
        // Back where the operator started, not on "Sıfırla ", where Enter would reset the count.
        QCOMPARE(QApplication::focusWidget(), rig.control("Command1"));
        QVERIFY(rig.w->session().heartbeatTimer()->isActive());
        rig.clickSingle(); // writes the pending sheet before its own exchange
        QCOMPARE(rig.dataLines(kData).size(), 3);
        QCOMPARE(rig.counter(), QStringLiteral("3"));
        QCOMPARE(rig.boxes.count(), 0); // the data file stayed open: no question
    }

    void failuresEndTheRunWithTheirText_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("status");
        QTest::newRow("jam") << 1 << QStringLiteral("Kağıt Sıkıştı      Hata : - 1");
        QTest::newRow("timing marks") << 5 << QStringLiteral("Tm Hatalı Okundu   Hata : - 5");
        QTest::newRow("unknown") << 6 << QStringLiteral("Tanımlanmamış      Hata : - 6");
        QTest::newRow("silent") << -1
                                << QStringLiteral("Optik Okuyucu cevap vermiyor (süre doldu)");
    }
    void failuresEndTheRunWithTheirText()
    {
        QFETCH(int, code);
        QFETCH(QString, status);
        ReaderTimings timings = StationRig::testTimings();
        timings.longWaitMs = 400;
        Rig rig(timings);
        QVERIFY(rig.ready({"00000001"}));
        QVERIFY(rig.addSheet(kSinavFmt, sinavSheet("00000002"), qMax(code, 0)));
        QVERIFY(rig.addSheet(kSinavFmt, sinavSheet("00000003")));
        if (code < 0) // silent from the second sheet's tray query on: the status never comes
            rig.whenReceived(
                Reader::kReadSheet, [&rig] { rig.fx.reader().setSilent(true); }, 2);
        rig.clickRead();
        QCOMPARE(rig.status(), status);
        QVERIFY(!rig.w->recordPending());
        QCOMPARE(rig.dataLines(kData), records({"00000001"}));
        QVERIFY(rig.control("Command1")->isEnabled());
    }

    void stopWhileASheetIsRead()
    {
        Rig rig;
        QVERIFY(rig.ready({"00000001", "00000002", "00000003"}));
        // While a sheet is read only "Durdur" may start an exchange or change a name under it.
        bool locked = false;
        rig.whenReceived(Reader::kSheetStatus, [&rig, &locked] {
            locked = true;
            for (const char *name : {"Command1", "Command4", "Combo1", "dosyaadi", "Frame1"})
                locked = locked && !rig.control(name)->isEnabled();
            rig.click("Command2");
        });
        rig.clickRead();
        QVERIFY(locked);
        QVERIFY(rig.control("Command1")->isEnabled() && rig.control("Combo1")->isEnabled());
        // The sheet under way when "Durdur" came is finished, shown and left pending.
        QCOMPARE(rig.status(), kPaused);
        QVERIFY(rig.w->recordPending());
        QCOMPARE(rig.cellText(0, 1), QStringLiteral("00000001"));
        QCOMPARE(rig.sheetsLeft(), 2);
    }

    // "Durdur" while the data file question waits does not carry over to the first sheet.
    void stopDuringTheQuestionDoesNotLeak()
    {
        Rig rig;
        TestFiles::write(rig.dataPath(kData), "");
        QVERIFY(rig.ready({"00000001", "00000002"}));
        rig.boxes.onShow = [&rig] { rig.click("Command2"); };
        rig.clickRead();
        QCOMPARE(rig.status(), kNoPaper);
        QCOMPARE(rig.dataLines(kData), records({"00000001"}));
    }

    void checkTextsAndConstants()
    {
        Rig rig;
        QVERIFY(rig.ready({"00000001B", "00000002B", "00000003A"}));
        rig.grid()->item(1, 2)->setText(QStringLiteral("=X")); // a constant typed by the operator
        rig.clickRead();
        QCOMPARE(rig.status(), kPaused);
        QCOMPARE(rig.cellText(0, 1), QStringLiteral("00000001"));
        QCOMPARE(rig.cellText(1, 1), QStringLiteral("X"));
        QCOMPARE(rig.cellColour(2, 1), kHit);
        QCOMPARE(rig.cellColour(0, 1), QColor(Qt::white));
        rig.clickSingle(); // one sheet at a time: coloured, no stop
        QCOMPARE(rig.status(), kOneByOne);
        QCOMPARE(rig.cellColour(2, 1), kHit);
        rig.clickSingle();
        QCOMPARE(rig.cellColour(2, 1), QColor(Qt::white));
        QCOMPARE(rig.dataLines(kData), (QList<QByteArray>{"00000001XB", "00000002XB"}));
    }

    // Edits begun by typing only change what is shown; a double-click edit goes into the record.
    void gridEdits()
    {
        Rig rig;
        QVERIFY(rig.ready({"12345678", "00000002"}));
        rig.clickSingle();
        QTableWidget *grid = rig.grid();
        auto *edit = rig.control<QLineEdit>("Text1");
        grid->setFocus();
        grid->setCurrentCell(0, 1);
        QTest::keyClick(grid, 'Q');
        QTest::keyClick(edit, Qt::Key_Escape); // drops the edit
        QVERIFY(!edit->isVisible());
        QCOMPARE(rig.cellText(0, 1), QStringLiteral("12345678"));
        grid->setCurrentCell(1, 2);
        QTest::keyClick(grid, 'A');
        QTest::keyClick(edit, Qt::Key_Down); // commits and moves on; on the last row it stays
        QCOMPARE(rig.cellText(1, 2), QStringLiteral("A"));
        QCOMPARE(grid->currentRow(), 2);
        QTest::keyClick(grid, Qt::Key_Return); // a control key starts from the cell's text
        QCOMPARE(edit->text(), QStringLiteral("-B"));
        QCOMPARE(edit->maxLength(), 100);
        QTest::keyClick(edit, Qt::Key_Down);
        QCOMPARE(grid->currentRow(), 2);
        QTest::keyClick(grid, 'C');
        QTest::keyClick(edit, Qt::Key_Up); // commits and moves back
        QCOMPARE(rig.cellText(2, 2), QStringLiteral("C"));
        QCOMPARE(grid->currentRow(), 1);
        QCOMPARE(rig.doubleClickNumber(), edit);
        QVERIFY(edit->isVisible());
        QCOMPARE(edit->text(), QStringLiteral("12345678"));
        QCOMPARE(edit->maxLength(), 8);
        QTest::keyClick(edit, Qt::Key_End);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, "XY"); // one fits, the width is the field's
        QCOMPARE(edit->text(), QStringLiteral("1234567X"));
        QTest::keyClick(edit, Qt::Key_Return);
        rig.clickSingle(); // writes the pending record, from the grid
        QCOMPARE(rig.dataLines(kData), records({"1234567X"}));
        grid->setFocus();
        grid->setCurrentCell(0, 1);
        QTest::keyClick(grid, 'Z');
        QCOMPARE(edit->text(), QStringLiteral("Z"));
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(rig.cellText(0, 1), QStringLiteral("Z       "));
        rig.clickExit();
        QCOMPARE(rig.dataLines(kData).last(), record("00000002"));
    }

    // An edit opened while the next sheet is under way belongs to no sheet: it must neither
    // overwrite the new sheet's value nor put the old answers into the new record.
    void anEditLeftOpenDuringReadingTouchesNoOtherSheet()
    {
        Rig rig;
        QVERIFY(rig.ready({"00000001", "00000002", "00000003", "00000004"}));
        rig.clickSingle();
        rig.fx.reader().clearReceived();
        const auto editNumber = [&rig](const QByteArray &typed) {
            QLineEdit *edit = rig.doubleClickNumber();
            edit->selectAll();
            QTest::keyClicks(edit, typed);
        };
        rig.whenReceived(Reader::kSendData, [&] { editNumber(""); });
        rig.clickSingle(); // sheet 2, with the edit box opened on sheet 1's number meanwhile
        QCOMPARE(rig.cellText(0, 1), QStringLiteral("00000002"));
        QVERIFY(!rig.control("Text1")->isVisible());
        // A correction typed while the next sheet is asked for goes to the sheet it was typed on.
        rig.whenReceived(
            Reader::kReadSheet, [&] { editNumber("00000009"); }, 3);
        rig.clickRead();
        QCOMPARE(rig.cellText(0, 1), QStringLiteral("00000004"));
        QCOMPARE(rig.dataLines(kData), records({"00000001", "00000002", "00000009"}));
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
        Rig rig;
        QVERIFY(rig.ready({"00000001"}));
        rig.addForm(QStringLiteral("kisa.fmt"), kKisa);
        rig.addForm(QStringLiteral("bozuk.fmt"), "40=12=00=D=\r\n05=01=01=10=H=D=ABCDE=X=\r\n");
        rig.clickSingle();
        rig.choose(chosen);
        rig.clickSingle();
        QCOMPARE(rig.boxes.count(), boxes);
        QCOMPARE(rig.dataLines(kData), records({"00000001"}));
        QCOMPARE(rig.counter(), QStringLiteral("1"));
    }

    void changingNamesBetweenReads()
    {
        Rig rig;
        QVERIFY(rig.ready({"00000001", "00000002", "00000003"}));
        rig.addForm(QStringLiteral("kisa.fmt"), kKisa);
        rig.clickSingle();
        // Another data name: the pending sheet goes to the old file, the format is sent again.
        rig.typeDataName(QStringLiteral("SINAV2"));
        rig.fx.reader().clearReceived();
        rig.clickSingle();
        QCOMPARE(
            rig.boxes.texts(),
            QStringList{
                kNameChanged +
                QStringLiteral(" değiştirdiniz bundan sonraki formlar bu dosyaya kayıt edilecek")});
        QCOMPARE(rig.dataLines(kData), records({"00000001"}));
        QVERIFY(rig.fx.reader().receivedBytes().startsWith('\x32'));
        // Both names: both warnings, then the question on the existing file (Cancel empties it).
        rig.choose(QStringLiteral("kisa.fmt"));
        rig.typeDataName(kData);
        rig.boxes.clear();
        for (MsgBox::Answer a : {MsgBox::Answer::Ok, MsgBox::Answer::Ok, MsgBox::Answer::Cancel})
            rig.boxes.queueAnswer(a);
        rig.clickSingle();
        const QStringList texts = rig.boxes.texts();
        QCOMPARE(texts.size(), 3);
        QVERIFY(texts[0].startsWith(kNameChanged));
        QCOMPARE(texts[1], QStringLiteral("FMT Dosya adını değiştirdiniz bundan sonraki formlar "
                                          "bu formatta okunacak"));
        QCOMPARE(texts[2], rig.dataPath(kData) + "  dosyası mevcuttur. Üzerine eklensin mi?");
        QCOMPARE(rig.dataLines(QStringLiteral("SINAV2")), records({"00000002"}));
        QCOMPARE(rig.dataLines(kData), QList<QByteArray>()); // emptied
        QCOMPARE(rig.cellText(0, 1), QStringLiteral("00000003"));
    }

    // An existing file gets the sheet appended: "c.dat" listed under ".DAT" is that file, not a
    // new "c.DAT"; a torn last line is reported and left whole.
    void appendingToAnExistingFile_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("report");
        QTest::newRow("listed name") << "c.dat" << QByteArray("eski\r\n") << "";
        QTest::newRow("torn line")
            << "ESKI.DAT" << QByteArray("11111111\r\n2222") << "son satırı yarım kalmış";
    }
    void appendingToAnExistingFile()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, before);
        QFETCH(QString, report);
        Rig rig;
        const QString path = rig.fx.dataFolder() + file;
        TestFiles::write(path, before);
        QVERIFY(rig.ready({"00000003"}, file.section(QLatin1Char('.'), 0, 0)));
        rig.clickSingle();
        rig.clickExit();
        QCOMPARE(rig.boxes.count(), report.isEmpty() ? 1 : 2); // the question, the torn line
        QVERIFY(rig.boxes.lastText().contains(report));
        QCOMPARE(QDir(rig.fx.dataFolder()).entryList(QDir::Files), QStringList{file});
        const QByteArray torn = before.endsWith("\r\n") ? "" : "\r\n";
        QCOMPARE(TestFiles::read(path), before + torn + record("00000003") + "\r\n");
    }

    void aWriteErrorStopsReadingAndKeepsTheSheetWithItsFile()
    {
        Rig rig;
        const QString full = rig.dataPath(QStringLiteral("DOLU")); // every write fails
        QVERIFY(QFile::link(QStringLiteral("/dev/full"), full));
        QVERIFY(rig.ready({"00000001", "00000002", "00000003"}, QStringLiteral("DOLU")));
        rig.clickRead();
        QCOMPARE(rig.boxes.count(), 2); // the question on the existing file, the write error
        QVERIFY(rig.boxes.lastText().startsWith(kWriteFailed));
        QCOMPARE(rig.boxes.shown().last().icon, MsgBox::Icon::Critical);
        QCOMPARE(rig.counter(), QStringLiteral("0"));
        QCOMPARE(rig.cellText(0, 1), QStringLiteral("00000001"));
        // Another name now: the sheet cannot leave its file, so it stays pending there.
        rig.typeDataName(QStringLiteral("YENI"));
        rig.boxes.clear();
        rig.clickSingle();
        // The name warning and the write error on moving to the button, the error again on click.
        QCOMPARE(rig.boxes.count(), 3);
        QVERIFY(rig.boxes.texts().first().startsWith(kNameChanged));
        QVERIFY(rig.boxes.lastText().startsWith(kWriteFailed));
        QVERIFY(rig.w->recordPending());
        QCOMPARE(rig.w->dataFilePath(), full);
        QVERIFY(!QFile::exists(rig.dataPath(QStringLiteral("YENI"))));
        QCOMPARE(rig.sheetsLeft(), 2);
    }

    // While a silent reader is awaited the cable is pulled or the program closed: the sheet
    // shown before is written exactly once; no record comes for the one awaited.
    void interruptedWhileASheetIsAwaited_data()
    {
        QTest::addColumn<bool>("unplugged");
        QTest::newRow("cable pulled") << true;
        QTest::newRow("program closed") << false;
    }
    void interruptedWhileASheetIsAwaited()
    {
        QFETCH(bool, unplugged);
        Rig rig;
        QVERIFY(rig.ready({"00000001", "00000002"}));
        rig.clickSingle();
        rig.fx.reader().setSilent(true);
        QTimer::singleShot(100, rig.w.get(), [&rig, unplugged] {
            unplugged ? rig.fx.reader().hangUp() : void(rig.w->close());
        });
        rig.clickSingle();
        QCOMPARE(rig.dataLines(kData), records({"00000001"}));
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
        Rig rig(Rig::testTimings(40));
        QVERIFY(rig.ready({"00000001"}));
        rig.clickSingle(); // the data file and the format, out of the way
        QVERIFY(rig.addSheet(kSinavFmt, sinavSheet("00000002")));
        rig.fx.reader().setReplyDelayMs(100);
        rig.when([&rig] { return rig.w->session().isBusy(); }, [&rig] { // the ping waits
            rig.fx.reader().clearReceived();
            rig.clickSingle();
        });
        QTRY_COMPARE(rig.cellText(0, 1), QStringLiteral("00000002"));
        QCOMPARE(rig.status(), kOneByOne);
        // The ping's own bytes may reach the reader after the clearing; the read comes after them.
        QByteArray sent = rig.fx.reader().receivedBytes();
        while (sent.startsWith("\x01Y"))
            sent.remove(0, 2);
        QVERIFY(sent.startsWith("\x22\x2A\x2F"));
        QCOMPARE(rig.dataLines(kData), records({"00000001"}));
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
        Rig rig;
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
