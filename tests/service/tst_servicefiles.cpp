// The console's files read and written without a window: path.txt in free format, and an FMT
// file as the console downloads it and counts its sheets' characters.
#include "pathfile.h"
#include "serviceformat.h"

#include <QTest>

class TestServiceFiles : public QObject
{
    Q_OBJECT

private slots:
    void pathTxt_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("fmtName");
        QTest::addColumn<QString>("portLine");
        QTest::newRow("as written") << QByteArray("sinav.fmt\r\n 2 \r\n") << "sinav.fmt" << "2";
        QTest::newRow("one line, comma") << QByteArray("sinav.fmt, 3") << "sinav.fmt" << "3";
        QTest::newRow("quoted, comma inside") << QByteArray("\"a, b.fmt\"\n4\n") << "a, b.fmt" << "4";
        QTest::newRow("the last pair counts")
            << QByteArray("a.fmt\r\n1\r\nb.fmt\r\n 4 \r\n") << "b.fmt" << "4";
        QTest::newRow("bare CR, blank lines") << QByteArray("\rc.fmt\r\r 2\r") << "c.fmt" << "2";
        QTest::newRow("a device path") << QByteArray("c.fmt\n/dev/ttyUSB0\n") << "c.fmt"
                                       << "/dev/ttyUSB0";
        QTest::newRow("a name without its port") << QByteArray("a.fmt\n2\nb.fmt\n") << "b.fmt"
                                                 << "2";
        QTest::newRow("Turkish letters") << QByteArray("\xDE\xFD.fmt\r\n1\r\n") << "Şı.fmt"
                                         << "1";
        QTest::newRow("empty") << QByteArray() << "" << "1";
    }

    void pathTxt()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QString, fmtName);
        QFETCH(QString, portLine);
        const PathSettings settings = PathSettings::parse(contents);
        QCOMPARE(settings.fmtName, fmtName);
        QCOMPARE(settings.portLine, portLine);
        // What is written reads back the same.
        const PathSettings again = PathSettings::parse(settings.text());
        QCOMPARE(again.fmtName, fmtName);
        QCOMPARE(again.portLine, portLine);
    }

    void fmtDownload_data()
    {
        QTest::addColumn<QByteArray>("fmt");
        QTest::addColumn<QByteArray>("download");
        QTest::addColumn<char>("direction");
        QTest::addColumn<QList<int>>("lengths");
        QTest::addColumn<int>("dataLength");
        QTest::addColumn<bool>("lastShort");
        QTest::newRow("Y by rows, D by columns")
            << QByteArray("40=12=00=D=\r\n03=12=02=09=H=D=0123456789=X=[NO]\r\n"
                          "14=38=02=06=H=Y=ABCDE=X=[CEVAP](-B)\r\n")
            << QByteArray("40=12=00=D=03=12=02=09=H=D=0123456789=X=[NO]"
                          "14=38=02=06=H=Y=ABCDE=X=[CEVAP](-B)")
            << 'D' << QList<int>{8, 25} << 33 << false;
        QTest::newRow("a header with its caption")
            << QByteArray("30=14=00=T=[ANKET]\r\n02=02=01=10=H=Y=9876543210=X=\r\n")
            << QByteArray("30=14=00=T=[ANKET]02=02=01=10=H=Y=9876543210=X=") << 'T'
            << QList<int>{1} << 1 << false;
        QTest::newRow("not H: one more character")
            << QByteArray("30=14=00=D=\r\n02=02=01=03=X=Y=ABC=X=\r\n")
            << QByteArray("30=14=00=D=02=02=01=03=X=Y=ABC=X=") << 'D' << QList<int>{1} << 2
            << false;
        QTest::newRow("a comma ends a field")
            << QByteArray("30=14=00=D=\r\n02=02=01=03=H=Y=ABC=X=[A,B]\r\n")
            << QByteArray("30=14=00=D=02=02=01=03=H=Y=ABC=X=[AB]") << 'D' << QList<int>{1, 1}
            << 3 << true;
        QTest::newRow("header only") << QByteArray("30=14=00=D=\r\n") << QByteArray("30=14=00=D=")
                                     << 'D' << QList<int>{} << 0 << true;
        QTest::newRow("a reversed rectangle")
            << QByteArray("30=14=00=D=\r\n05=02=01=03=H=Y=ABC=X=\r\n")
            << QByteArray("30=14=00=D=05=02=01=03=H=Y=ABC=X=") << 'D' << QList<int>{0} << 0
            << false;
    }

    void fmtDownload()
    {
        QFETCH(QByteArray, fmt);
        QFETCH(QByteArray, download);
        QFETCH(char, direction);
        QFETCH(QList<int>, lengths);
        QFETCH(int, dataLength);
        QFETCH(bool, lastShort);
        const ServiceFormat format = ServiceFormat::fromFile(fmt);
        QCOMPARE(format.downloadText(), download);
        QCOMPARE(format.direction, direction);
        QCOMPARE(format.fieldLengths, lengths);
        QCOMPARE(format.dataLength, dataLength);
        QCOMPARE(format.lastItemShort, lastShort);
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
        QFETCH(QByteArray, written);
        ServiceFormat format;
        format.direction = direction;
        format.fieldLengths = {3, 2, 1};
        QCOMPARE(format.dataLine(received), written);
    }
};

QTEST_GUILESS_MAIN(TestServiceFiles)
#include "tst_servicefiles.moc"
