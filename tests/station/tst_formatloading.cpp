// Loading and checking an FMT file: the field table's verdict line by line, and what form1 makes
// of it when the operator chooses a file (grid, caption, picture, boxes, the download).
#include "fieldtable.h"
#include "samples.h"
#include "stationrig.h"
#include "testfiles.h"

#include <QComboBox>
#include <QTableWidget>
#include <QTest>

using namespace Samples;

namespace {

const QString kRefused =
    QStringLiteral("Hatalı FMT Dosyası ile işlem yapamazsınız hataları düzeltiniz");

} // namespace

class TestFormatLoading : public QObject
{
    Q_OBJECT

private slots:
    void goodFiles_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QList<int>>("lengths");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QByteArray>("download");
        QTest::addColumn<QString>("caption");
        QTest::newRow("worked example")
            << kSinav << QList<int>{8, 25, 1} << QStringList{"NUMARA", "CEVAP", "KITAPCIK"}
            << QByteArray("40=12=00=D=03=12=02=09=H=D=0123456789=X=14=38=02=06=H=Y=ABCDE=X="
                          "03=03=11=12=H=Y=AB=X=")
            << QString();
        QTest::newRow("marks on the right, Turkish")
            << kAnket << QList<int>{1, 1, 2, 3} << QStringList{"SINIF", "ŞUBE", "YAŞ", "CEVAP"}
            << QByteArray("30=14=00=T=02=02=01=10=H=Y=9876543210=X=03=03=01=04=H=Y=\xDE\xC7"
                          "BA=X=04=13=01=02=H=D=9876543210=X=15=17=10=14=H=Y=EDCBA=X=")
            << QStringLiteral("MEMNUNİYET ANKETİ");
    }

    void goodFiles()
    {
        QFETCH(QByteArray, file);
        QFETCH(QList<int>, lengths);
        QFETCH(QStringList, titles);
        QFETCH(QByteArray, download);
        QFETCH(QString, caption);
        FieldTable table;
        const FieldTable::LoadReport report = table.load(file);
        QCOMPARE(report.messages, QStringList());
        QVERIFY(!report.faulty && !table.formatFaulty());
        QCOMPARE(table.fieldLengths(), lengths);
        QStringList loadedTitles;
        for (const FieldTable::Field &field : table.fields())
            loadedTitles << field.title;
        QCOMPARE(loadedTitles, titles);
        QCOMPARE(table.downloadText(), download);
        QCOMPARE(report.caption, caption);
    }

    void faultyFiles_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("short set and missing end")
            << QByteArray("40=12=00=D=\r\n01=05=01=10=H=D=ABCD=X=[A]\r\n\r\n   \r\n"
                          "01=05=01=10=H=D=ABCDE=X\r\n03=12=02=09=H=D=0123456789=X=\r\n")
            << QStringList{
                   QStringLiteral("fmt dosyasının  2. satırı Hatalı>>01=05=01=10=H=D=ABCD=X="),
                   QStringLiteral("son"),
                   QStringLiteral("fmt dosyasının  3. satırı Hatalı>>01=05=01=10=H=D=ABCDE=X")};
        QTest::newRow("empty file")
            << QByteArray(" \r\n\r\n")
            << QStringList{QStringLiteral("FMT dosyası boş: başlık satırı yok.")};
        QTest::newRow("more than the table holds")
            << "40=12=00=D=\r\n" + QByteArray("01=01=01=01=H=Y=A=X=\r\n").repeated(400)
            << QStringList{QStringLiteral("FMT dosyasında 400 alan satırı var; en çok 399 alan "
                                          "satırı okunabilir.")};
        // Not a form at all: the first few lines, then how many more.
        QStringList many;
        for (int line = 2; line <= 6; ++line)
            many << QStringLiteral("fmt dosyasının  %1. satırı Hatalı>>binary").arg(line);
        many << QStringLiteral("fmt dosyasında 195 satır daha hatalı.");
        QTest::newRow("a binary file") << "40=12=00=D=\n" + QByteArray("binary\n").repeated(200) << many;
        // A line of megabytes is quoted in part, and says so.
        QTest::newRow("a huge line")
            << "40=12=00=D=\n" + QByteArray(2 * 1024 * 1024, 'Z')
            << QStringList{QStringLiteral("fmt dosyasının  2. satırı Hatalı>>") +
                           QString(120, u'Z') +
                           QStringLiteral(" … (satırın devamı kesildi, 2097152 karakter)")};
    }

    void faultyFiles()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, messages);
        FieldTable table;
        const FieldTable::LoadReport report = table.load(file);
        QVERIFY(report.faulty && table.formatFaulty());
        QCOMPARE(report.messages, messages);
    }

    void choosingFilesInForm1()
    {
        StationRig s;
        QVERIFY(s.start());
        s.addForm(QStringLiteral("sinav.fmt"), kSinav);
        s.addForm(QStringLiteral("anket.fmt"), kAnket);
        s.addForm(QStringLiteral("bozuk.fmt"),
                  "30=14=00=T=[BOZUK FORM]\r\n05=01=01=10=H=D=ABCDE=X=\r\n");
        QImage picture(20, 20, QImage::Format_RGB32);
        picture.fill(Qt::gray);
        // Found by name without regard to case, read by content (Qt writes no GIF).
        QVERIFY(picture.save(s.fx.fmtFolder() + QStringLiteral("sinav.GIF"), "PNG"));
        s.choose(QStringLiteral("sinav.fmt"));
        QCOMPARE(s.boxes.texts(), QStringList());
        QCOMPARE(s.grid()->rowCount(), 3);
        QCOMPARE(s.cellText(1, 0), QStringLiteral("CEVAP"));
        QCOMPARE(s.cellText(2, 2), QStringLiteral("-B"));
        QVERIFY(!s.control("Picture1")->isHidden());
        QCOMPARE(s.w->pictureFile(), s.fx.fmtFolder() + QStringLiteral("sinav.GIF"));
        QCOMPARE(s.w->windowTitle(), QStringLiteral("Orvel_KESA OMR Reading Ver: 3.7"));

        // Check texts the operator typed survive a reload; titles always come back.
        s.grid()->item(0, 2)->setText(QStringLiteral("=2024"));
        s.grid()->item(1, 0)->setText(QStringLiteral("changed"));
        s.grid()->item(2, 2)->setText(QStringLiteral("  "));
        s.choose(QStringLiteral("sinav.fmt"));
        QCOMPARE(s.cellText(0, 2), QStringLiteral("=2024"));
        QCOMPARE(s.cellText(1, 0), QStringLiteral("CEVAP"));
        QCOMPARE(s.cellText(2, 2), QStringLiteral("-B"));

        s.choose(QStringLiteral("anket.fmt"));
        QCOMPARE(s.w->windowTitle(), QStringLiteral("MEMNUNİYET ANKETİ"));
        QVERIFY(s.control("Picture1")->isHidden());

        // A faulty file: its caption shows, its line is refused, the grid is emptied.
        s.choose(QStringLiteral("bozuk.fmt"));
        QCOMPARE(s.w->windowTitle(), QStringLiteral("BOZUK FORM"));
        QCOMPARE(s.boxes.texts(), (QStringList{QStringLiteral("fmt dosyasının  2. satırı Hatalı>>"
                                                              "05=01=01=10=H=D=ABCDE=X="),
                                               kRefused}));
        QCOMPARE(s.grid()->rowCount(), 0);

        // Reading with it: the file unchanged is not loaded again; one box, nothing sent.
        s.typeDataName(QStringLiteral("BOZUK"));
        s.boxes.clear();
        s.fx.reader().clearReceived();
        s.clickRead();
        QCOMPARE(s.boxes.texts(),
                 QStringList{QStringLiteral("Hatalı FMT Dosyası ile işlem yapamazsınız")});
        QVERIFY(!s.fx.reader().receivedBytes().contains('\x32'));

        // Corrected, it is loaded again and read.
        s.addForm(QStringLiteral("bozuk.fmt"), "30=14=00=T=\r\n01=05=01=10=H=D=ABCDE=X=\r\n");
        s.boxes.clear();
        s.clickRead();
        QCOMPARE(s.boxes.texts(),
                 QStringList{s.dataPath(QStringLiteral("BOZUK")) +
                             QStringLiteral("  dosyası mevcuttur. Üzerine eklensin mi?")});
        QTRY_VERIFY(s.fx.reader().receivedBytes().startsWith("\x32"
                                                             "30=14=00=T="));
        QCOMPARE(s.status(), QStringLiteral("Optik Okuyucuda Kağıt yok"));
    }
};

QTEST_MAIN(TestFormatLoading)
#include "tst_formatloading.moc"
