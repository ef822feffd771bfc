// A sheet's characters on their way to a record: split, reversed, constants, check texts.
#include "record.h"

#include <QTest>

#include <climits>

using Values = QList<QByteArray>;

class TestRecord : public QObject
{
    Q_OBJECT

private slots:
    void splitAndReverse_data()
    {
        QTest::addColumn<QByteArray>("sheet");
        QTest::addColumn<QList<int>>("lengths");
        QTest::addColumn<Values>("values");
        QTest::addColumn<Values>("reversed");
        // Fields are written "ABC|DE".
        const auto row = [](const char *name, const QByteArray &sheet, const QList<int> &lengths,
                            const QByteArray &values, const QByteArray &reversed) {
            QTest::newRow(name) << sheet << lengths << values.split('|') << reversed.split('|');
        };
        row("3 and 2", "ABCDE", {3, 2}, "ABC|DE", "CBA|ED");
        row("longer reply is cut", "ABCDEFG", {3, 2}, "ABC|DE", "CBA|ED");
        row("short reply", "ABCD", {3, 2}, "ABC|D", "CBA|D");
        row("empty reply", QByteArray(), {3, 2}, "|", "|");
        row("zero and negative lengths take nothing", "ABCDE", {0, 2, -1, 3}, "|AB||CDE",
            "|BA||EDC");
        // Positions must not wrap round when lengths are absurd.
        row("huge lengths", "AB", {INT_MAX, INT_MAX, 1}, "AB||", "BA||");
        row("bytes above 0x7F", "\xDD\xF0\x80\xFF", {3, 1}, "\xDD\xF0\x80|\xFF",
            "\x80\xF0\xDD|\xFF");
    }
    void splitAndReverse()
    {
        QFETCH(QByteArray, sheet);
        QFETCH(QList<int>, lengths);
        QFETCH(Values, values);
        QFETCH(Values, reversed);
        Values split = record::splitFields(sheet, lengths);
        QCOMPARE(split, values);
        record::ReverseFields(split);
        QCOMPARE(split, reversed);
    }

    void constants_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QByteArray>("constant"); // null: the cell holds none
        QTest::newRow("=2024") << "=2024" << QByteArray("2024");
        QTest::newRow("= alone is an empty constant") << "=" << QByteArray("");
        QTest::newRow("without =") << "2024" << QByteArray();
        QTest::newRow("= not first") << " =2024" << QByteArray();
        QTest::newRow("only the first = goes") << "==" << QByteArray("=");
        QTest::newRow("Turkish in 1254") << "=ÇĞİş" << QByteArray("\xC7\xD0\xDD\xFE");
    }
    void constants()
    {
        QFETCH(QString, cell);
        QFETCH(QByteArray, constant);
        const std::optional<QByteArray> got = record::constantOf(cell);
        QCOMPARE(got.has_value(), !constant.isNull());
        // The constant stands in for a field's value, so the record's width changes with it.
        if (got)
            QCOMPARE(record::joinRecord({*got, "", "D\xFF\r"}), constant + "D\xFF\r");
    }

    void checkValue_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QString>("check");
        QTest::addColumn<bool>("hit");
        QTest::newRow("* in value") << QByteArray("AB*C") << "*" << true;
        QTest::newRow("-AB in ZABZ") << QByteArray("ZABZ") << "-AB" << true;
        QTest::newRow("-AB not in ZA B") << QByteArray("ZA B") << "-AB" << false;
        QTest::newRow("AB: B alone hits") << QByteArray("BXX") << "AB" << true;
        // An empty piece would otherwise be found in every value and stop every sheet.
        QTest::newRow("- alone") << QByteArray("A-B") << "-" << false;
        QTest::newRow("empty check text") << QByteArray("ABC") << "" << false;
        QTest::newRow("-- finds a hyphen") << QByteArray("A-B") << "--" << true;
        QTest::newRow("blank is a character") << QByteArray("A C") << "X " << true;
        QTest::newRow("Turkish letter") << QByteArray("X\xDEX") << "Ş" << true;
        QTest::newRow("Turkish piece") << QByteArray("X\xD0\xDCX") << "-ĞÜ" << true;
        QTest::newRow("case counts") << QByteArray("X\xDEX") << "ş" << false;
        // Outside 1254 a character would turn into "?" and match a "?" the reader sent.
        QTest::newRow("not in 1254") << QByteArray("A?B") << "日" << false;
        QTest::newRow("piece not in 1254") << QByteArray("A?B") << "-A日" << false;
    }
    void checkValue()
    {
        QFETCH(QByteArray, value);
        QFETCH(QString, check);
        QTEST(record::CheckValue(value, check), "hit");
    }
};

QTEST_GUILESS_MAIN(TestRecord)
#include "tst_record.moc"
