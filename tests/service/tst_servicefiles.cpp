// The console's files read and written without a window: path.txt in free format, and an FMT
// file as the console downloads it and counts its sheets' characters.
#include "pathfile.h"
#include "serviceformat.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestServiceFiles : public QObject
{
    Q_OBJECT

private slots:
    void pathTxt_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("fmtName");
        QTest::addColumn<QString>("portLine");
        using B = QByteArray;
        QTest::newRow("as written") << B("sinav.fmt\r\n 2 \r\n") << u"sinav.fmt"_s << u"2"_s;
        QTest::newRow("one line, comma") << B("sinav.fmt, 3") << u"sinav.fmt"_s << u"3"_s;
        QTest::newRow("quoted, comma inside") << B("\"a, b.fmt\"\n4\n") << u"a, b.fmt"_s << u"4"_s;
        QTest::newRow("the last pair counts")
            << B("a.fmt\r\n1\r\nb.fmt\r\n 4 \r\n") << u"b.fmt"_s << u"4"_s;
        QTest::newRow("bare CR, blank lines") << B("\rc.fmt\r\r 2\r") << u"c.fmt"_s << u"2"_s;
        QTest::newRow("a device path")
            << B("c.fmt\n/dev/ttyUSB0\n") << u"c.fmt"_s << u"/dev/ttyUSB0"_s;
        QTest::newRow("a name without its port") << B("a.fmt\n2\nb.fmt\n") << u"b.fmt"_s << u"2"_s;
        QTest::newRow("Turkish letters") << B("\xDE\xFD.fmt\r\n1\r\n") << u"Şı.fmt"_s << u"1"_s;
        QTest::newRow("empty") << B() << u""_s << u"1"_s;
    }
    void pathTxt()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QString, fmtName);
        QFETCH(QString, portLine);
        const PathSettings settings = PathSettings::parse(contents);
        const PathSettings again = PathSettings::parse(settings.text()); // written, read back
        for (const PathSettings &read : {settings, again}) {
            QCOMPARE(read.fmtName, fmtName);
            QCOMPARE(read.portLine, portLine);
        }
    }

    void fmtDownload_data()
    {
        QTest::addColumn<QByteArray>("fmt");
        QTest::addColumn<QByteArray>("download");
        QTest::addColumn<char>("direction");
        QTest::addColumn<QList<int>>("lengths");
        QTest::addColumn<int>("dataLength");
        QTest::addColumn<bool>("lastShort");
        using B = QByteArray;
        const B head = "30=14=00=D=\r\n";
        QTest::newRow("Y by rows, D by columns")
            << B("40=12=00=D=\r\n03=12=02=09=H=D=0123456789=X=[NO]\r\n"
                 "14=38=02=06=H=Y=ABCDE=X=[CEVAP](-B)\r\n")
            << B() << 'D' << QList<int>{8, 25} << 33 << false;
        QTest::newRow("a header with its caption")
            << B("30=14=00=T=[ANKET]\r\n02=02=01=10=H=Y=9876543210=X=\r\n") << B() << 'T'
            << QList<int>{1} << 1 << false;
        QTest::newRow("not H: one more character") << head + "02=02=01=03=X=Y=ABC=X=\r\n"
                                                   << B() << 'D' << QList<int>{1} << 2 << false;
        QTest::newRow("a comma ends a field")
            << head + "02=02=01=03=H=Y=ABC=X=[A,B]\r\n"
            << B("30=14=00=D=02=02=01=03=H=Y=ABC=X=[AB]") << 'D' << QList<int>{1, 1} << 3 << true;
        QTest::newRow("header only") << head << B() << 'D' << QList<int>{} << 0 << true;
        QTest::newRow("a reversed rectangle") << head + "05=02=01=03=H=Y=ABC=X=\r\n"
                                              << B() << 'D' << QList<int>{0} << 0 << false;
    }
    void fmtDownload()
    {
        QFETCH(QByteArray, fmt);
        QFETCH(QByteArray, download);
        const ServiceFormat format = ServiceFormat::fromFile(fmt);
        // The lines joined, unless the row says otherwise.
        QCOMPARE(format.downloadText(),
                 download.isNull() ? QByteArray(fmt).replace("\r\n", "") : download);
        QTEST(format.direction, "direction");
        QTEST(format.fieldLengths, "lengths");
        QTEST(format.dataLength, "dataLength");
        QTEST(format.lastItemShort, "lastShort");
    }

    void dataLine_data()
    {
        QTest::addColumn<char>("direction");
        QTest::addColumn<QByteArray>("received");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("D: as received") << 'D' << QByteArray("ABCDEF") << QByteArray("ABCDEF");
        QTest::newRow("T: short line") << 'T' << QByteArray("ABCD") << QByteArray("CBAD");
    }
    void dataLine()
    {
        QFETCH(char, direction);
        QFETCH(QByteArray, received);
        ServiceFormat format;
        format.direction = direction;
        format.fieldLengths = {3, 2, 1};
        QTEST(format.dataLine(received), "written");
    }
};

QTEST_GUILESS_MAIN(TestServiceFiles)
#include "tst_servicefiles.moc"
