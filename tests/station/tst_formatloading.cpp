// Choosing, checking and downloading an FMT file, as the operator does it in form1, and what
// the simulated reader makes of the download.
#include "clicklabel.h"
#include "protocol.h"
#include "stationrig.h"

#include <QComboBox>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

namespace {

const QByteArray kWorkedExample = "40=12=00=D=\r\n"
                                  "03=12=02=09=H=D=0123456789=X=[NUMARA]\r\n"
                                  "14=38=02=06=H=Y=ABCDE=X=[CEVAP]\r\n"
                                  "03=03=11=12=H=Y=AB=X=[KITAPCIK](-B)\r\n";

// Marks on the right: reversed sets; Turkish title and set in code page 1254.
const QByteArray kRightForm = "30=14=00=T=[MEMNUN\xDDYET ANKET\xDD]\r\n"
                              "02=02=01=10=H=Y=9876543210=X=[SINIF]\r\n"
                              "03=03=01=04=H=Y=\xDE\xC7\x42\x41=X=[\xDEUBE]\r\n"
                              "04=13=01=02=H=D=9876543210=X=[YA\xDE]\r\n"
                              "15=29=10=14=H=Y=EDCBA=X=[CEVAP](-EE)\r\n";

QString cell(const QTableWidget *grid, int row, int column)
{
    const QTableWidgetItem *item = grid->item(row, column);
    return item ? item->text() : QString();
}

// One sheet exchange by hand: tray query, feed, data.
QByteArray readOneSheet(StationWindow &w)
{
    ReaderLink &link = w.link();
    link.line()->write(Reader::kReadSheet);
    if (link.WaitReply(1) != QByteArray(1, 1))
        return "no paper";
    link.line()->write(Reader::kSheetStatus);
    if (link.WaitReply(1) != QByteArray(1, 0))
        return "bad status";
    link.line()->write(Reader::kSendData);
    return link.WaitReply(w.expectedLength());
}

} // namespace

class TestFormatLoading : public QObject
{
    Q_OBJECT

private slots:
    void init() { qputenv("OMR_HEARTBEAT_MS", "60000"); }

    void choosingAGoodFileFillsTheGrid()
    {
        StationRig s;
        QVERIFY(s.start());
        s.addForm(QStringLiteral("sinav.fmt"), kWorkedExample);
        QImage picture(20, 20, QImage::Format_RGB32);
        picture.fill(Qt::gray);
        // Pictures are found by name and read by content; Qt writes no GIF.
        QVERIFY(picture.save(s.fx.fmtFolder() + QStringLiteral("sinav.gif"), "PNG"));
        s.choose(QStringLiteral("sinav.fmt"));

        QCOMPARE(s.boxes.texts(), QStringList());
        QCOMPARE(s.w->MSG->rowCount(), 3);
        QCOMPARE(cell(s.w->MSG, 0, 0), QStringLiteral("NUMARA"));
        QCOMPARE(cell(s.w->MSG, 1, 0), QStringLiteral("CEVAP"));
        QCOMPARE(cell(s.w->MSG, 2, 0), QStringLiteral("KITAPCIK"));
        QCOMPARE(cell(s.w->MSG, 2, 2), QStringLiteral("-B"));
        QCOMPARE(cell(s.w->MSG, 0, 2), QString());
        QCOMPARE(s.w->fieldTable().fieldLength(2), 8);
        QCOMPARE(s.w->fieldTable().recordLength(), 34);
        QVERIFY(!s.w->Picture1->isHidden());
        QCOMPARE(s.w->windowTitle(), QStringLiteral("Orvel_KESA OMR Reading Ver: 3.7"));
    }

    void captionFollowsTheHeader()
    {
        StationRig s;
        QVERIFY(s.start());
        s.addForm(QStringLiteral("anket.fmt"), kRightForm);
        s.addForm(QStringLiteral("sinav.fmt"), kWorkedExample);
        s.choose(QStringLiteral("anket.fmt"));
        QCOMPARE(s.w->windowTitle(), QStringLiteral("MEMNUNİYET ANKETİ"));
        QCOMPARE(s.w->fieldTable().directionLetter(), QChar(u'T'));
        QCOMPARE(cell(s.w->MSG, 1, 0), QStringLiteral("ŞUBE"));
        QVERIFY(s.w->Picture1->isHidden()); // no picture beside this one
        s.choose(QStringLiteral("sinav.fmt"));
        QCOMPARE(s.w->windowTitle(), QStringLiteral("Orvel_KESA OMR Reading Ver: 3.7"));
    }

    void faultyFileIsRefusedLineByLine_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("messages");
        const QString refused =
            QStringLiteral("Hatalı FMT Dosyası ile işlem yapamazsınız hataları düzeltiniz");
        QTest::newRow("short set and missing end")
            << QByteArray("40=12=00=D=\r\n01=05=01=10=H=D=ABCD=X=[A]\r\n\r\n   \r\n"
                          "01=05=01=10=H=D=ABCDE=X\r\n03=12=02=09=H=D=0123456789=X=\r\n")
            << QStringList{
                   QStringLiteral("fmt dosyasının  2. satırı Hatalı>>01=05=01=10=H=D=ABCD=X="),
                   QStringLiteral("son"),
                   QStringLiteral("fmt dosyasının  3. satırı Hatalı>>01=05=01=10=H=D=ABCDE=X"),
                   refused};
        // A comma splits a line into two items, and each counts.
        QTest::newRow("comma") << QByteArray("40=12=00=D=\r\nX,03=12=02=09=H=D=0123456789=X=\r\n")
                               << QStringList{QStringLiteral("fmt dosyasının  2. satırı Hatalı>>X"),
                                              refused};
        QTest::newRow("start row after end row")
            << QByteArray("40=12=00=D=\r\n05=01=01=10=H=D=ABCDE=X=\r\n")
            << QStringList{
                   QStringLiteral("fmt dosyasının  2. satırı Hatalı>>05=01=01=10=H=D=ABCDE=X="),
                   refused};
        QTest::newRow("empty file")
            << QByteArray(" \r\n\r\n")
            << QStringList{QStringLiteral("FMT dosyası boş: başlık satırı yok."), refused};
        QByteArray big = "40=12=00=D=\r\n";
        for (int i = 0; i < 400; ++i)
            big += "01=01=01=01=H=Y=A=X=\r\n";
        QTest::newRow("more than the table holds")
            << big
            << QStringList{QStringLiteral("FMT dosyasında 400 alan satırı var; en çok 399 alan "
                                          "satırı okunabilir."),
                           refused};
    }

    void faultyFileIsRefusedLineByLine()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, messages);
        StationRig s;
        QVERIFY(s.start());
        s.addForm(QStringLiteral("sinav.fmt"), kWorkedExample);
        s.addForm(QStringLiteral("bozuk.fmt"), file);
        s.choose(QStringLiteral("sinav.fmt"));
        QCOMPARE(s.w->MSG->rowCount(), 3);
        s.choose(QStringLiteral("bozuk.fmt"));
        QCOMPARE(s.boxes.texts(), messages);
        QCOMPARE(s.w->MSG->rowCount(), 0);
        QVERIFY(s.w->readFailed());

        // Nothing reaches the reader from a faulty format.
        s.fx.reader().clearReceived();
        s.boxes.clear();
        s.w->PrepareReading();
        QVERIFY(
            s.boxes.texts().contains(QStringLiteral("Hatalı FMT Dosyası ile işlem yapamazsınız")));
        QTest::qWait(50);
        QVERIFY(!s.fx.reader().receivedBytes().contains(Reader::kFormatBegin));
    }

    void reloadKeepsTypedCheckTexts()
    {
        StationRig s;
        QVERIFY(s.start());
        s.addForm(QStringLiteral("sinav.fmt"), kWorkedExample);
        s.choose(QStringLiteral("sinav.fmt"));
        s.w->MSG->item(0, 2)->setText(QStringLiteral("=2024"));
        s.w->MSG->item(2, 2)->setText(QStringLiteral("AB"));
        s.w->MSG->item(1, 0)->setText(QStringLiteral("changed"));
        s.choose(QStringLiteral("sinav.fmt"));
        QCOMPARE(cell(s.w->MSG, 0, 2), QStringLiteral("=2024"));
        QCOMPARE(cell(s.w->MSG, 2, 2), QStringLiteral("AB"));
        QCOMPARE(cell(s.w->MSG, 1, 0), QStringLiteral("CEVAP")); // titles always come back
        s.w->MSG->item(2, 2)->setText(QStringLiteral("  "));
        s.choose(QStringLiteral("sinav.fmt"));
        QCOMPARE(cell(s.w->MSG, 2, 2), QStringLiteral("-B"));
    }

    void downloadIsTheBareLinesInOneStream()
    {
        StationRig s;
        QVERIFY(s.start());
        s.addForm(QStringLiteral("sinav.fmt"), kWorkedExample);
        s.choose(QStringLiteral("sinav.fmt"));
        QVERIFY(s.fx.reader().waitForReceived(6, 2000));
        s.fx.reader().clearReceived();
        s.w->PrepareReading();
        const QByteArray expected = "\x32"
                                    "40=12=00=D="
                                    "03=12=02=09=H=D=0123456789=X="
                                    "14=38=02=06=H=Y=ABCDE=X="
                                    "03=03=11=12=H=Y=AB=X="
                                    "\xA5"
                                    "\x3A";
        QVERIFY(s.fx.reader().waitForReceived(expected.size(), 2000));
        QCOMPARE(s.fx.reader().receivedBytes(), expected);
        QCOMPARE(s.w->expectedLength(), 34);
        QCOMPARE(s.w->Optik_Durum->text(), QStringLiteral("Optik okuyucu Hazır"));
        QVERIFY(!s.w->readFailed());
        QCOMPARE(s.fx.reader().withDevice([](ReaderDevice &d) { return d.expectedLength(); }), 34);
    }

    void readerDecodesWhatTheSheetWriterMarked_data()
    {
        QTest::addColumn<QByteArray>("fmt");
        QTest::addColumn<QList<QByteArray>>("values");
        QTest::addColumn<QByteArray>("reply");
        QTest::newRow("marks on the left")
            << kWorkedExample << QList<QByteArray>{"20260417", "ABCDE ABCD*ABCDEABCDEEDCB", "B"}
            << QByteArray("20260417ABCDE ABCD*ABCDEABCDEEDCBB");
        // Marks on the right: each field comes last character first.
        QTest::newRow("marks on the right")
            << kRightForm << QList<QByteArray>{"3", "\xC7", "27", "ABCDEABCDEABCDE"}
            << QByteArray("3\xC7"
                          "72EDCBAEDCBAEDCBA");
    }

    void readerDecodesWhatTheSheetWriterMarked()
    {
        QFETCH(QByteArray, fmt);
        QFETCH(QList<QByteArray>, values);
        QFETCH(QByteArray, reply);
        StationRig s;
        QVERIFY(s.start());
        s.addForm(QStringLiteral("form.fmt"), fmt);
        QVERIFY(s.addSheet(QStringLiteral("form.fmt"), values));
        s.choose(QStringLiteral("form.fmt"));
        s.w->PrepareReading();
        s.w->stopHeartbeat();
        QCOMPARE(s.w->expectedLength(), reply.size());
        QCOMPARE(readOneSheet(*s.w), reply);
    }
};

QTEST_MAIN(TestFormatLoading)
#include "tst_formatloading.moc"
