// Code page 1254 and the numeric value of a text: the two conversions every file, reply and
// settings box goes through.
#include "cp1254.h"
#include "val.h"

#include <QTest>

class TestTextValues : public QObject
{
    Q_OBJECT

private slots:
    void turkishLetters_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("letters") << QByteArray("\xC7\xD0\xDD\xD6\xDE\xDC\xE7\xF0\xFD\xF6\xFE\xFC")
                                 << QStringLiteral("ÇĞİÖŞÜçğıöşü");
        QTest::newRow("euro and typographic signs")
            << QByteArray("\x80\x8A\x8C\x9F\xA0") << QStringLiteral("€ŠŒŸ\u00A0");
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        QTest::newRow("every byte, so no two share a character") << all << fromCp1254(all);
    }
    void turkishLetters()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(fromCp1254(bytes), text);
        QCOMPARE(text.size(), bytes.size());
        QCOMPARE(toCp1254(text), bytes);
        // A character 1254 cannot hold becomes "?" instead of a byte of another character.
        QCOMPARE(toCp1254(text + QStringLiteral("Ð日")), bytes + "??");
    }
    void val_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        const QList<std::pair<QString, double>> rows = {
            {"", 0},      {"abc", 0},    {"07", 7},     {"12abc", 12}, {" 1 2 ", 12},
            {"-5", -5},   {"2.5x", 2.5}, {"1e3", 1000}, {"3e", 3},     {"&HFF", 255},
            {"&O17", 15}, {"-", 0},      {"a1", 0},     {"3\r", 3}};
        for (const auto &[text, value] : rows)
            QTest::newRow(qPrintable(text)) << text << value;
    }
    void val()
    {
        QFETCH(QString, text);
        QTEST(Val(text), "value");
    }
    // A blank keeps the place of the sign.
    void signs() { QCOMPARE(signedText(6) + signedText(0) + signedText(-2), " 6 0-2"); }
};

QTEST_GUILESS_MAIN(TestTextValues)
#include "tst_textvalues.moc"
