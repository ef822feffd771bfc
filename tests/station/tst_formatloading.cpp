// An FMT file checked line by line, and what form1 makes of it when the operator chooses it.
#include "fieldtable.h"
#include "samples.h"
#include "stationrig.h"
#include "testfiles.h"

#include <QComboBox>
#include <QTableWidget>
#include <QTest>

using namespace Samples;
using namespace Qt::StringLiterals;

const QString kRefused = u"Hatalı FMT Dosyası ile işlem yapamazsınız"_s;
const QString kFaultyLine = u"fmt dosyasının  %1. satırı Hatalı>>"_s;

class TestFormatLoading : public QObject
{
    Q_OBJECT

private slots:
    // Good files give their fields, download text and caption; faulty ones their messages.
    void loading_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QList<int>>("lengths");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QByteArray>("download");
        QTest::addColumn<QString>("caption");
        QTest::newRow("worked example")
            << kSinav << QStringList() << QList<int>{8, 25, 1}
            << QStringList{"NUMARA", "CEVAP", "KITAPCIK"}
            << QByteArray("40=12=00=D=03=12=02=09=H=D=0123456789=X=14=38=02=06=H=Y=ABCDE=X="
                          "03=03=11=12=H=Y=AB=X=")
            << QString();
        QTest::newRow("marks on the right, Turkish")
            << kAnket << QStringList() << QList<int>{1, 1, 2, 3}
            << QStringList{"SINIF", "ŞUBE", "YAŞ", "CEVAP"}
            << QByteArray("30=14=00=T=02=02=01=10=H=Y=9876543210=X=03=03=01=04=H=Y=\xDE\xC7"
                          "BA=X=04=13=01=02=H=D=9876543210=X=15=17=10=14=H=Y=EDCBA=X=")
            << u"MEMNUNİYET ANKETİ"_s;
        const auto faulty = [](const char *name, const QByteArray &file, const QStringList &texts) {
            QTest::newRow(name) << file << texts << QList<int>() << QStringList() << QByteArray()
                                << QString();
        };
        faulty("short set and missing end",
               "40=12=00=D=\r\n01=05=01=10=H=D=ABCD=X=[A]\r\n\r\n   \r\n"
               "01=05=01=10=H=D=ABCDE=X\r\n03=12=02=09=H=D=0123456789=X=\r\n",
               {kFaultyLine.arg(2) + u"01=05=01=10=H=D=ABCD=X="_s, u"son"_s,
                kFaultyLine.arg(3) + u"01=05=01=10=H=D=ABCDE=X"_s});
        faulty("empty file", " \r\n\r\n", {u"FMT dosyası boş: başlık satırı yok."_s});
        faulty("more than the table holds",
               "40=12=00=D=\r\n" + QByteArray("01=01=01=01=H=Y=A=X=\r\n").repeated(400),
               {u"FMT dosyasında 400 alan satırı var; en çok 399 alan satırı okunabilir."_s});
        // Not a form at all: the first few lines, then how many more.
        QStringList many;
        for (int line = 2; line <= 6; ++line)
            many << kFaultyLine.arg(line) + u"binary"_s;
        faulty("a binary file", "40=12=00=D=\n" + QByteArray("binary\n").repeated(200),
               many << u"fmt dosyasında 195 satır daha hatalı."_s);
        // A line of megabytes is quoted in part, and says so.
        faulty("a huge line", "40=12=00=D=\n" + QByteArray(2 * 1024 * 1024, 'Z'),
               {kFaultyLine.arg(2) + QString(120, u'Z') +
                u" … (satırın devamı kesildi, 2097152 karakter)"_s});
    }
    void loading()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, messages);
        FieldTable table;
        const FieldTable::LoadReport report = table.load(file);
        QCOMPARE(report.messages, messages);
        QCOMPARE(report.faulty, !messages.isEmpty());
        QCOMPARE(table.formatFaulty(), report.faulty);
        if (report.faulty)
            return;
        QStringList titles;
        for (const FieldTable::Field &field : table.fields())
            titles << field.title;
        QTEST(titles, "titles");
        QTEST(table.fieldLengths(), "lengths");
        QTEST(table.downloadText(), "download");
        QTEST(report.caption, "caption");
    }

    void choosingFilesInForm1()
    {
        StationRig s;
        QVERIFY(s.start());
        s.addForm(u"sinav.fmt"_s, kSinav);
        s.addForm(u"anket.fmt"_s, kAnket);
        s.addForm(u"bozuk.fmt"_s, "30=14=00=T=[BOZUK FORM]\r\n05=01=01=10=H=D=ABCDE=X=\r\n");
        QImage picture(20, 20, QImage::Format_RGB32);
        picture.fill(Qt::gray);
        // Found by name without regard to case, read by content (Qt writes no GIF).
        QVERIFY(picture.save(s.fx.fmtFolder() + u"sinav.GIF"_s, "PNG"));
        s.choose(u"sinav.fmt"_s);
        QCOMPARE(s.boxes.texts(), QStringList());
        QCOMPARE(s.grid()->rowCount(), 3);
        QCOMPARE(s.cellText(1, 0), u"CEVAP"_s);
        QCOMPARE(s.cellText(2, 2), u"-B"_s);
        QVERIFY(!s.control("Picture1")->isHidden());
        QCOMPARE(s.w->pictureFile(), s.fx.fmtFolder() + u"sinav.GIF"_s);
        QCOMPARE(s.w->windowTitle(), u"Orvel_KESA OMR Reading Ver: 3.7"_s);
        // Check texts the operator typed survive a reload; titles always come back.
        const QList<std::tuple<int, int, QString, QString>> typed = {
            {0, 2, u"=2024"_s, u"=2024"_s},
            {1, 0, u"changed"_s, u"CEVAP"_s},
            {2, 2, u"  "_s, u"-B"_s}};
        for (const auto &[row, column, text, kept] : typed)
            s.grid()->item(row, column)->setText(text);
        s.choose(u"sinav.fmt"_s);
        for (const auto &[row, column, text, kept] : typed)
            QCOMPARE(s.cellText(row, column), kept);
        s.choose(u"anket.fmt"_s);
        QCOMPARE(s.w->windowTitle(), u"MEMNUNİYET ANKETİ"_s);
        QVERIFY(s.control("Picture1")->isHidden());
        // A faulty file: its caption shows, its line is refused, the grid is emptied.
        s.choose(u"bozuk.fmt"_s);
        QCOMPARE(s.w->windowTitle(), u"BOZUK FORM"_s);
        QCOMPARE(s.boxes.texts(), (QStringList{kFaultyLine.arg(2) + u"05=01=01=10=H=D=ABCDE=X="_s,
                                               kRefused + u" hataları düzeltiniz"_s}));
        QCOMPARE(s.grid()->rowCount(), 0);
        // Reading with it: the file unchanged is not loaded again; one box, nothing sent.
        s.typeDataName(u"BOZUK"_s);
        s.boxes.clear();
        s.fx.reader().clearReceived();
        s.clickRead();
        QCOMPARE(s.boxes.texts(), QStringList{kRefused});
        QVERIFY(!s.fx.reader().receivedBytes().contains('\x32'));
        // Corrected, it is loaded again and read.
        s.addForm(u"bozuk.fmt"_s, "30=14=00=T=\r\n01=05=01=10=H=D=ABCDE=X=\r\n");
        s.boxes.clear();
        s.clickRead();
        QCOMPARE(s.boxes.texts(), QStringList{s.dataPath(u"BOZUK"_s) +
                                              u"  dosyası mevcuttur. Üzerine eklensin mi?"_s});
        QTRY_VERIFY(s.fx.reader().receivedBytes().startsWith("\x32"
                                                             "30=14=00=T="));
        QCOMPARE(s.status(), u"Optik Okuyucuda Kağıt yok"_s);
    }
};

QTEST_MAIN(TestFormatLoading)
#include "tst_formatloading.moc"
