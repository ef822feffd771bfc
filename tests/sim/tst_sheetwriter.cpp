#include "cp1254.h"
#include "protocol.h"
#include "readerdevice.h"
#include "samples.h"
#include "sheetwriter.h"
#include "testfiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QByteArray kExampleFmt = Samples::kSinav;
const QByteArray kMirroredFmt = "40=12=00=T=\r\n"
                                "03=12=02=09=H=D=9876543210=X=[NUMARA]\r\n"
                                "\r\n"
                                "14=38=02=06=H=Y=EDCBA=X=[CEVAP]\r\n"
                                "03=03=11=12=H=Y=BA=X=(-B)\r\n";

} // namespace

class TestSheetWriter : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("fmt");
        QTest::addColumn<QList<QByteArray>>("values");
        QTest::addColumn<QByteArray>("data");
        using List = QList<QByteArray>;
        const QByteArray blanks(19, ' ');
        QTest::newRow("marks on the left")
            << kExampleFmt << List{"90817263", "ABCDE EDCBA*ABCDE", "B"}
            << "90817263ABCDE EDCBA*ABCDE" + blanks.left(8) + "B";
        // The reader sends each field of such a form last character first.
        QTest::newRow("marks on the right")
            << kMirroredFmt << List{"1234 678", "AB*DE" + blanks + "E", "A"}
            << "876 4321E" + blanks + "ED*BAA";
        QTest::newRow("blank and short values")
            << kExampleFmt << List{"", "   C", " "} << blanks.left(11) + "C" + blanks + "   ";
        QTest::newRow("turkish letters, marks on the right")
            << toCp1254(QStringLiteral(
                   "29=03=00=T=\r\n01=29=01=03=H=D=ZYVÜUTŞSRPÖONMLKJİIHĞGFEDÇCBA=X=\r\n"))
            << List{toCp1254(QStringLiteral("İÖZ"))} << toCp1254(QStringLiteral("ZÖİ"));
    }
    void roundTrip()
    {
        QFETCH(QByteArray, fmt);
        QFETCH(QList<QByteArray>, values);
        SheetImage sheet;
        QString error;
        QVERIFY2(SheetWriter::makeSheet(fmt, values, 0, &sheet, &error), qPrintable(error));
        // Downloaded as the service console sends it: the file's lines as they stand.
        ReaderDevice device;
        device.receive(Reader::kFormatBegin + fmt + Reader::kFormatEnd);
        QVERIFY2(device.hasFormat(), qPrintable(device.formatError()));
        QVERIFY(device.addSheetText(sheet.toText(), QStringLiteral("written"), &error));
        QFETCH(QByteArray, data);
        QCOMPARE(device.receive("\x2A\x2F"), QByteArray(1, '\0') + data);
    }

    void fileInTray()
    {
        QTemporaryDir dir;
        const QString fmtPath =
            TestFiles::write(dir.filePath(QStringLiteral("form.fmt")), kExampleFmt);
        const QString tray = dir.filePath(QStringLiteral("tray"));
        QVERIFY(QDir().mkdir(tray));
        QString error;
        QVERIFY2(SheetWriter::writeSheetFile(fmtPath, {"12345678"}, 3, tray + "/001", &error),
                 qPrintable(error));
        QVERIFY(SheetWriter::writeSheetFile(fmtPath, {"87654321"}, 0, tray + "/002", &error));
        // Nothing half-written is left beside the sheets.
        QCOMPARE(QDir(tray).entryList(QDir::Files | QDir::Hidden), QStringList({"001", "002"}));
        ReaderDevice device(tray);
        device.receive(Reader::kFormatBegin + kExampleFmt + Reader::kFormatEnd);
        QCOMPARE(device.receive("\x2A\x2A\x2F").left(10), QByteArray("\x03\x00"
                                                                     "87654321",
                                                                     10));
    }

    void refusals_data()
    {
        QTest::addColumn<QByteArray>("fmt");
        QTest::addColumn<QList<QByteArray>>("values");
        QTest::addColumn<int>("status");
        using List = QList<QByteArray>;
        QTest::newRow("value longer than its field") << kExampleFmt << List{"123456789"} << 0;
        QTest::newRow("character not in the set") << kExampleFmt << List{"1234567A"} << 0;
        QTest::newRow("two marks in a single cell")
            << QByteArray("01=01=00=D=\r\n01=01=01=01=H=Y=A=X=\r\n") << List{"*"} << 0;
        QTest::newRow("more values than fields") << kExampleFmt << List{"1", "A", "A", "A"} << 0;
        QTest::newRow("status beyond a byte") << kExampleFmt << List{"1"} << 256;
        QTest::newRow("unusable form")
            << QByteArray("40=12=00=D=\r\n03=12=02=09\r\n") << List{} << 0;
    }
    void refusals()
    {
        QFETCH(QByteArray, fmt);
        QFETCH(QList<QByteArray>, values);
        QFETCH(int, status);
        SheetImage sheet;
        sheet.name = QStringLiteral("untouched");
        QString error;
        QVERIFY(!SheetWriter::makeSheet(fmt, values, status, &sheet, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(sheet.name, QStringLiteral("untouched"));
        QVERIFY(sheet.lines.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSheetWriter)
#include "tst_sheetwriter.moc"
