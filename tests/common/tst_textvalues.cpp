// Code page 1254 and the numeric value of a text: the two conversions every file, reply and
// settings box goes through.
#include "cp1254.h"
#include "val.h"

#include <QTest>

class TestTextValues : public QObject
{
    Q_OBJECT

private slots:
    void everyByteSurvivesTheRoundTrip()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        const QString text = fromCp1254(all);
        QCOMPARE(text.size(), 256);
        QCOMPARE(toCp1254(text), all); // so no two bytes share a character
    }

    void turkishLetters_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("letters") << QByteArray("\xC7\xD0\xDD\xD6\xDE\xDC\xE7\xF0\xFD\xF6\xFE\xFC")
                                 << QStringLiteral("ÇĞİÖŞÜçğıöşü");
        QTest::newRow("euro and typographic signs")
            << QByteArray("\x80\x8A\x8C\x9F\xA0") << QStringLiteral("€ŠŒŸ\u00A0");
    }

    void turkishLetters()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(fromCp1254(bytes), text);
        QCOMPARE(toCp1254(text), bytes);
        // A character 1254 cannot hold becomes "?" instead of a byte of another character.
        QCOMPARE(toCp1254(text + QStringLiteral("Ð日")), bytes + "??");
    }

    void val_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("not a number") << "abc" << 0.0;
        QTest::newRow("two digits") << "07" << 7.0;
        QTest::newRow("leading number") << "12abc" << 12.0;
        QTest::newRow("blanks inside") << " 1 2 " << 12.0;
        QTest::newRow("negative") << "-5" << -5.0;
        QTest::newRow("decimal") << "2.5x" << 2.5;
        QTest::newRow("exponent") << "1e3" << 1000.0;
        QTest::newRow("exponent without digits") << "3e" << 3.0;
        QTest::newRow("hex") << "&HFF" << 255.0;
        QTest::newRow("octal") << "&O17" << 15.0;
        QTest::newRow("sign only") << "-" << 0.0;
        QTest::newRow("digit after letter") << "a1" << 0.0;
        QTest::newRow("port line with CR") << "3\r" << 3.0;
    }

    void val()
    {
        QFETCH(QString, text);
        QTEST(Val(text), "value");
    }

    void signedTextKeepsABlankForTheSign()
    {
        QCOMPARE(signedText(6) + signedText(0) + signedText(-2), QStringLiteral(" 6 0-2"));
    }
};

QTEST_GUILESS_MAIN(TestTextValues)
#include "tst_textvalues.moc"
