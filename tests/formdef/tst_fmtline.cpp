#include "fmtfile.h"
#include "fmtline.h"
#include "samples.h"

#include <QTest>

#include <algorithm>

using namespace formdef;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(formdef::Definition)

const QString kTurkishRight = u"ZYVÜUTŞSRPÖONMLKJİIHĞGFEDÇCBA"_s;
// A field item as the station takes it: split off title and check, then check the rest.
const auto stationLength = [](const QString &item) {
    return fmt_kontrol(splitFieldLine(item).line).fieldLength;
};

class TestFmtLine : public QObject
{
    Q_OBJECT

private slots:
    void fieldLine_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("check");
        QTest::addColumn<bool>("missingEnd");
        const auto row = [](const char *name, const QString &item, int length,
                            const QString &title = {}, const QString &check = {},
                            bool son = false) {
            QTest::newRow(name) << item << length << title << check << son;
        };
        row("D, title and check", "01=05=01=10=H=D=ABCDE=X=[Ad](-*)", 10, "Ad", "-*");
        row("Y, check before title swallows it", "01=05=01=10=H=Y=ABCDEFGHIJ=X=(c)[t]", 5, "",
            "c)[t");
        row("Y needs a set as wide as the columns", "01=05=01=10=H=Y=ABCDE=X=", 0);
        row("set one short", "01=05=01=10=H=D=ABCD=X=", 0);
        row("longer set is cut, check only", "01=01=01=02=H=Y=ABC=X=(=AB)", 1, "", "=AB");
        row("unclosed title loses its last character", "01=01=01=01=H=Y=A=X=[ab", 1, "a");
        row("start row after end row", "05=01=01=10=H=D=ABCDE=X=", 0);
        row("start column after end", "01=01=10=09=H=Y=AB=X=", 0);
        row("00 start row", "00=05=01=10=H=D=ABCDE=X=", 0);
        row("fractional row", ".5=01=01=01=H=Y=A=X=", 0);
        row("blank for a leading zero", " 1=01=01=01=H=Y=A=X=", 1);
        row("no H", "01=05=01=10=G=D=ABCDE=X=", 0);
        row("orientation neither D nor Y", "01=05=01=10=H=X=ABCDE=X=", 0);
        row("son, bare bracket", "01=05=01=10=H=D=ABCDE=X(", 0, "", "", true);
        row("trailing blanks after the end", "01=05=01=10=H=D=ABCDE=X=   ", 10);
        row("set trimmed of blanks", "01=01=01=03=H=Y= A =X=", 0);
        row("blank inside the set counts", "01=01=01=03=H=Y=A B=X=", 1);
        row("12 not =", "01=05=01=10-H=D=ABCDE=X=", 0);
        row("cut at H", "01=05=01=10=H", 0);
    }
    void fieldLine()
    {
        QFETCH(QString, item);
        const FieldLineParts parts = splitFieldLine(item);
        const FieldLineCheck result = fmt_kontrol(parts.line);
        QTEST(result.fieldLength, "length");
        QTEST(parts.title, "title");
        QTEST(parts.check, "check");
        QTEST(result.missingEnd, "missingEnd");
    }

    void workedExample()
    {
        // Blank lines and blanks around an item are skipped; a comma ends an item like a line end.
        QByteArray messy = "\r\n  " + Samples::kSinav;
        messy.replace("\r\n14=", "\r\n\r\n \t \r\n14=").replace("\r\n03=03", ",,\n03=03");
        const QStringList items = readItems(messy);
        QCOMPARE(items, QString::fromLatin1(Samples::kSinav).split(u"\r\n"_s, Qt::SkipEmptyParts));
        QCOMPARE(splitHeaderLine(items[0]).direction, kMarksLeft);
        const QList<int> lengths = {stationLength(items[1]), stationLength(items[2]),
                                    stationLength(items[3])};
        QCOMPARE(lengths, QList<int>({8, 25, 1}));
        QCOMPARE(recordLength(lengths), 34);
        QCOMPARE(recordLayout(lengths), QList<FieldSpan>({{1, 8}, {9, 25}, {34, 1}}));
        // The designer reads the same lengths and writes the file back byte for byte.
        const Definition definition = readDefinition(Samples::kSinav);
        QCOMPARE(definition.fields.size(), 3);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(definition.fields[i].length(), lengths[i]);
        QCOMPARE(writeDefinition(definition).value_or(QByteArray()), Samples::kSinav);
    }

    void offeredSetsMirrorEachOther()
    {
        QCOMPARE(formdef::offeredSets(kMarksRight).size(), 4);
        QCOMPARE(formdef::offeredSets(kMarksRight).last(), kTurkishRight);
        for (QString offered : formdef::offeredSets(kMarksLeft)) {
            std::reverse(offered.begin(), offered.end());
            QVERIFY2(formdef::offeredSets(kMarksRight).contains(offered), qPrintable(offered));
        }
    }

    void writeThenReadBack()
    {
        Definition definition{
            "60",
            kMarksRight,
            {FieldDef{"01", "10", "01", "01", "D", "9876543210", {}, {}},
             FieldDef{"02", "02", "03", "07", "Y", "EDCBA", "Soru", "=A"},
             FieldDef{"11", "11", "03", "07", "Y", "EDCBA", "", "-[x]"},
             FieldDef{"12", "13", "48", "48", "D", "BA", "Tür", ""},
             FieldDef{"01", "29", "05", "05", "D", kTurkishRight, u"ADI ŞUBE"_s, u"-Ğ"_s}}};
        const QByteArray bytes = writeDefinition(definition).value_or(QByteArray());
        QCOMPARE(bytes, "60=48=00=T=\r\n"
                        "01=10=01=01=H=D=9876543210=X=\r\n"
                        "02=02=03=07=H=Y=EDCBA=X=[Soru](=A)\r\n"
                        "11=11=03=07=H=Y=EDCBA=X=(-[x])\r\n"
                        "12=13=48=48=H=D=BA=X=[T\xFCr]\r\n"
                        // One byte per Turkish letter in code page 1254.
                        "01=29=05=05=H=D=ZYV\xDCUT\xDESRP\xD6ONMLKJ\xDDIH\xD0GFED\xC7"
                        "CBA=X=[ADI \xDEUBE](-\xD0)\r\n");
        QCOMPARE(readDefinition(bytes), definition);
        QCOMPARE(stationLength(readItems(bytes).value(5)), 1);
        // Numbers get their leading zero; a row without a start row is left out, also from the
        // header's highest column.
        definition.fields[0].startRow = "1";
        definition.fields[0].startColumn = " 1";
        definition.fields.prepend(FieldDef{"0", "1", "1", "49", "Y", "A", {}, {}});
        QCOMPARE(writeDefinition(definition).value_or(QByteArray()), bytes);
    }

    void unwritableDefinitionIsRefused_data()
    {
        QTest::addColumn<Definition>("definition");
        QTest::addColumn<int>("fault");
        QTest::addColumn<int>("field");
        const Definition good{"40",
                              kMarksLeft,
                              {FieldDef{"01", "01", "01", "01", "Y", "A", {}, {}},
                               FieldDef{"01", "01", "01", "02", "Y", "AB", "t", "c"}}};
        const auto row = [good](const char *name, QString FieldDef::*member, const QString &value,
                                WriteFault fault) {
            Definition d = good;
            d.fields[1].*member = value;
            QTest::newRow(name) << d << int(fault) << 2;
        };
        QTest::newRow("empty count")
            << Definition{"", kMarksLeft, good.fields} << int(WriteFault::Count) << 0;
        QTest::newRow("direction")
            << Definition{"40", u'X', good.fields} << int(WriteFault::Direction) << 0;
        row("row above 99", &FieldDef::endRow, "100", WriteFault::Number);
        row("fraction", &FieldDef::endColumn, "2.5", WriteFault::Number);
        row("orientation", &FieldDef::orientation, "Dikey", WriteFault::Orientation);
        row("= in set", &FieldDef::characterSet, "A=", WriteFault::Text);
        row("] in title", &FieldDef::title, "a]b", WriteFault::Text);
        row(", in check", &FieldDef::check, "a,", WriteFault::Text);
        row("letter outside 1254", &FieldDef::title, u"Ωmega"_s, WriteFault::Text);
        row("set the station finds short", &FieldDef::characterSet, "A", WriteFault::Line);
    }
    void unwritableDefinitionIsRefused()
    {
        QFETCH(Definition, definition);
        const WriteCheck check = checkForWriting(definition);
        QTEST(int(check.fault), "fault");
        QTEST(check.field, "field");
        QVERIFY(!writeDefinition(definition));
    }

    void readingByPositionOfOddLines()
    {
        // Blank lines before the header are skipped, an unknown direction counts as left, unclosed
        // parts run to the end, a line cut short keeps what it has, and no field line is dropped:
        // a designer holding fewer must be able to refuse them rather than lose them on saving.
        QByteArray file = "\r\n  07=02=00=Q=  \r\n\r\n01=01=01=02=H=Y=AB=X=[ti(ch\r\n01=05=0\r\n";
        for (int i = 0; i < kDesignerMaxFields; ++i)
            file += "01=01=01=01=H=Y=A=X=\r\n";
        const Definition definition = readDefinition(file);
        QCOMPARE(definition.count, "07");
        QCOMPARE(definition.direction, kMarksLeft);
        QCOMPARE(definition.fields.size(), kDesignerMaxFields + 2);
        QCOMPARE(definition.fields[0], (FieldDef{"01", "01", "01", "02", "Y", "AB", "ti", "ch"}));
        QCOMPARE(definition.fields[1], (FieldDef{"01", "05", "0", "", "", "", {}, {}}));
    }
};

QTEST_APPLESS_MAIN(TestFmtLine)
#include "tst_fmtline.moc"
