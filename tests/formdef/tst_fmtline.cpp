#include "fmtfile.h"
#include "fmtline.h"

#include <QTest>

#include <algorithm>

using namespace formdef;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(formdef::FieldDef)

namespace {

const QByteArray kWorkedExample = "40=12=00=D=\r\n"
                                  "03=12=02=09=H=D=0123456789=X=[NUMARA]\r\n"
                                  "14=38=02=06=H=Y=ABCDE=X=[CEVAP]\r\n"
                                  "03=03=11=12=H=Y=AB=X=[KITAPCIK](-B)\r\n";

FieldDef field(const QString &r1, const QString &r2, const QString &c1, const QString &c2,
               const QString &orientation, const QString &set, const QString &title = {},
               const QString &check = {})
{
    return {r1, r2, c1, c2, orientation, set, title, check};
}

} // namespace

class TestFmtLine : public QObject
{
    Q_OBJECT

private slots:
    void fieldLineCheck_data();
    void fieldLineCheck();
    void splitFieldLine_data();
    void splitFieldLine();
    void headerLine_data();
    void headerLine();
    void itemsSkipBlankLinesAndSplitAtCommas();
    void workedExampleLengthsAndRecord();
    void workedExampleWrittenByteForByte();
    void turkishSetsSurviveCodePage();
    void offeredSetsForMarksOnTheRightAreReversed();
    void writeThenReadGivesTheDefinition();
    void numbersBelowTenGetALeadingZero();
    void rowsWithoutStartRowAreNotWritten();
    void unwritableDefinitionIsRefused_data();
    void unwritableDefinitionIsRefused();
    void readingByPositionOfOddLines_data();
    void readingByPositionOfOddLines();
    void everyFieldLineIsRead();
};

void TestFmtLine::fieldLineCheck_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("missingEnd");

    QTest::newRow("D: one character per column") << "01=05=01=10=H=D=ABCDE=X=" << 10 << false;
    QTest::newRow("Y: one character per row") << "01=05=01=10=H=Y=ABCDEFGHIJ=X=" << 5 << false;
    QTest::newRow("Y needs a set as wide as the columns")
        << "01=05=01=10=H=Y=ABCDE=X=" << 0 << false;
    QTest::newRow("set one short") << "01=05=01=10=H=D=ABCD=X=" << 0 << false;
    QTest::newRow("single cell") << "07=07=20=20=H=Y=A=X=" << 1 << false;
    QTest::newRow("Turkish set") << u"01=29=05=05=H=D=ABCÇDEFGĞHIİJKLMNOÖPRSŞTUÜVYZ=X="_s << 1
                                 << false;
    QTest::newRow("start row after end row") << "05=01=01=10=H=D=ABCDE=X=" << 0 << false;
    QTest::newRow("start column after end column") << "01=01=10=09=H=Y=AB=X=" << 0 << false;
    QTest::newRow("00 start row") << "00=05=01=10=H=D=ABCDE=X=" << 0 << false;
    QTest::newRow("00 end column") << "01=05=01=00=H=D=ABCDE=X=" << 0 << false;
    QTest::newRow("negative row") << "-1=05=01=01=H=D=ABCDEFG=X=" << 0 << false;
    QTest::newRow("fractional row") << ".5=01=01=01=H=Y=A=X=" << 0 << false;
    QTest::newRow("blank for a leading zero") << " 1=01=01=01=H=Y=A=X=" << 1 << false;
    QTest::newRow("no H") << "01=05=01=10=G=D=ABCDE=X=" << 0 << false;
    QTest::newRow("orientation neither D nor Y") << "01=05=01=10=H=X=ABCDE=X=" << 0 << false;
    QTest::newRow("last = missing: son") << "01=05=01=10=H=D=ABCDE=X" << 0 << true;
    QTest::newRow("nothing after the orientation: son") << "01=05=01=10=H=D=" << 0 << true;
    QTest::newRow("trailing blanks after the end") << "01=05=01=10=H=D=ABCDE=X=   " << 10 << false;
    QTest::newRow("longer set is cut and passes") << "01=01=01=02=H=Y=ABC=X=" << 1 << false;
    QTest::newRow("set trimmed of blanks") << "01=01=01=03=H=Y= A =X=" << 0 << false;
    QTest::newRow("blank inside the set counts") << "01=01=01=03=H=Y=A B=X=" << 1 << false;
    QTest::newRow("14 not =") << "01=05=01=10=HHD=ABCDE=X=" << 0 << false;
    QTest::newRow("16 not =") << "01=05=01=10=H=D-ABCDE=X=" << 0 << false;
    QTest::newRow("12 not =") << "01=05=01=10-H=D=ABCDE=X=" << 0 << false;
    QTest::newRow("empty") << "" << 0 << false;
    QTest::newRow("cut at H") << "01=05=01=10=H" << 0 << false;
}

void TestFmtLine::fieldLineCheck()
{
    QFETCH(QString, line);
    QFETCH(int, length);
    QFETCH(bool, missingEnd);

    const FieldLineCheck result = fmt_kontrol(line);
    QCOMPARE(result.fieldLength, length);
    QCOMPARE(result.missingEnd, missingEnd);
}

void TestFmtLine::splitFieldLine_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("check");

    const QString base = QStringLiteral("01=05=01=10=H=D=ABCDE=X=");
    QTest::newRow("title and check") << base + "[Ad](-*)" << base << "Ad"
                                     << "-*";
    QTest::newRow("neither") << base << base << ""
                             << "";
    QTest::newRow("check without title") << base + "(=ABC)" << base << ""
                                         << "=ABC";
    // The last character is taken for the closing bracket without looking at it.
    QTest::newRow("unclosed title loses its last character") << base + "[ab" << base << "a"
                                                             << "";
    QTest::newRow("check before title swallows it") << base + "(c)[t]" << base << ""
                                                    << "c)[t";
    QTest::newRow("bare bracket at the end") << base + "(" << base << ""
                                             << "";
}

void TestFmtLine::splitFieldLine()
{
    QFETCH(QString, input);
    const FieldLineParts parts = formdef::splitFieldLine(input);
    QTEST(parts.line, "line");
    QTEST(parts.title, "title");
    QTEST(parts.check, "check");
}

void TestFmtLine::headerLine_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QChar>("direction");

    QTest::newRow("marks on the right") << "20=30=00=T="
                                        << "20=30=00=T="
                                        << "" << QChar(u'T');
    QTest::newRow("caption") << u"09=05=00=D=[Deneme Sınavı]"_s
                             << "09=05=00=D=" << u"Deneme Sınavı"_s << QChar(u'D');
    QTest::newRow("too short for a direction") << "20=3"
                                               << "20=3"
                                               << "" << QChar();
}

void TestFmtLine::headerLine()
{
    QFETCH(QString, input);
    const HeaderLineParts parts = splitHeaderLine(input);
    QTEST(parts.line, "line");
    QTEST(parts.caption, "caption");
    QTEST(parts.direction, "direction");
}

void TestFmtLine::itemsSkipBlankLinesAndSplitAtCommas()
{
    const QByteArray file = "\r\n  40=12=00=D=  \r\n\r\n \t \r\n"
                            "01=01=01=01=H=Y=A=X=,01=02=01=01=H=D=AB=X=\r\n"
                            ",,\n"
                            "03=03=01=01=H=Y=C=X=";
    const QStringList expected = {
        "40=12=00=D=", "01=01=01=01=H=Y=A=X=", "01=02=01=01=H=D=AB=X=", "03=03=01=01=H=Y=C=X="};
    QCOMPARE(readItems(file), expected);
}

void TestFmtLine::workedExampleLengthsAndRecord()
{
    const QStringList items = readItems(kWorkedExample);
    QCOMPARE(items.size(), 4);
    QCOMPARE(splitHeaderLine(items[0]).direction, kMarksLeft);

    QList<int> lengths;
    for (qsizetype i = 1; i < items.size(); ++i)
        lengths.append(fmt_kontrol(formdef::splitFieldLine(items[i]).line).fieldLength);
    QCOMPARE(lengths, QList<int>({8, 25, 1}));
    QCOMPARE(formdef::splitFieldLine(items[3]).title, "KITAPCIK");
    QCOMPARE(formdef::splitFieldLine(items[3]).check, "-B");
    QCOMPARE(recordLength(lengths), 34);
    QCOMPARE(recordLayout(lengths), QList<FieldSpan>({{1, 8}, {9, 25}, {34, 1}}));

    // The designer's reading of the same file gives the same lengths.
    const Definition definition = readDefinition(kWorkedExample);
    QList<int> designerLengths;
    for (const FieldDef &f : definition.fields)
        designerLengths.append(f.length());
    QCOMPARE(designerLengths, lengths);
}

void TestFmtLine::workedExampleWrittenByteForByte()
{
    Definition definition;
    definition.count = "40";
    definition.fields = {field("03", "12", "02", "09", "D", "0123456789", "NUMARA"),
                         field("14", "38", "02", "06", "Y", "ABCDE", "CEVAP"),
                         field("03", "03", "11", "12", "Y", "AB", "KITAPCIK", "-B")};
    QCOMPARE(writeDefinition(definition).value_or(QByteArray()), kWorkedExample);
}

void TestFmtLine::turkishSetsSurviveCodePage()
{
    const QString set = u"ZYVÜUTŞSRPÖONMLKJİIHĞGFEDÇCBA"_s;
    Definition definition;
    definition.count = "35";
    definition.direction = kMarksRight;
    definition.fields = {field("01", "29", "05", "05", "D", set, u"ADI ŞUBE"_s, u"-Ğ"_s)};

    const QByteArray bytes = writeDefinition(definition).value_or(QByteArray());
    // One byte per letter: Ş, İ, Ğ are 0xDE, 0xDD, 0xD0 in 1254.
    QVERIFY(bytes.contains("=ZYV\xDCUT\xDESRP\xD6ONMLKJ\xDDIH\xD0GFED\xC7"
                           "CBA=X="));
    QCOMPARE(readDefinition(bytes), definition);

    const QStringList items = readItems(bytes);
    QCOMPARE(items.size(), 2);
    QCOMPARE(fmt_kontrol(formdef::splitFieldLine(items[1]).line).fieldLength, 1);
    QCOMPARE(formdef::splitFieldLine(items[1]).title, u"ADI ŞUBE"_s);
}

void TestFmtLine::offeredSetsForMarksOnTheRightAreReversed()
{
    const QStringList left = offeredSets(kMarksLeft);
    const QStringList right = offeredSets(kMarksRight);
    QCOMPARE(left.size(), 4);
    QCOMPARE(right.size(), left.size());
    for (qsizetype i = 0; i < left.size(); ++i) {
        QString reversed = left[i];
        std::reverse(reversed.begin(), reversed.end());
        QCOMPARE(right[i], reversed);
    }
    QCOMPARE(left.last().size(), 29);
}

void TestFmtLine::writeThenReadGivesTheDefinition()
{
    Definition definition;
    definition.count = "60";
    definition.direction = kMarksRight;
    definition.fields = {field("01", "10", "01", "01", "D", "9876543210"),
                         field("02", "02", "03", "07", "Y", "EDCBA", "Soru", "=A"),
                         field("11", "11", "03", "07", "Y", "EDCBA", "", "-[x]"),
                         field("12", "13", "48", "48", "D", "BA", "Tür", "")};

    const QByteArray bytes = writeDefinition(definition).value_or(QByteArray());
    QVERIFY(bytes.startsWith("60=48=00=T=\r\n"));
    QVERIFY(bytes.endsWith("12=13=48=48=H=D=BA=X=[T\xFCr]\r\n"));
    QCOMPARE(readDefinition(bytes), definition);
}

void TestFmtLine::numbersBelowTenGetALeadingZero()
{
    Definition definition;
    definition.count = "5";
    definition.fields = {field("3", "3", " 1", "9", "Y", "ABCDEFGHI")};

    const QByteArray bytes = writeDefinition(definition).value_or(QByteArray());
    QCOMPARE(bytes, "05=09=00=D=\r\n03=03=01=09=H=Y=ABCDEFGHI=X=\r\n");

    const Definition reread = readDefinition(bytes);
    QCOMPARE(reread.count, "05");
    QCOMPARE(reread.fields.value(0).startColumn, "01");
    QCOMPARE(writeDefinition(reread).value_or(QByteArray()), bytes);
    QCOMPARE(fmt_kontrol(readItems(bytes).value(1)).fieldLength, 1);
}

void TestFmtLine::rowsWithoutStartRowAreNotWritten()
{
    Definition definition;
    definition.count = "40";
    definition.fields = {field("", "", "", "", "", ""), field("0", "3", "1", "47", "Y", "A"),
                         field("02", "02", "04", "05", "Y", "AB")};

    const QByteArray bytes = writeDefinition(definition).value_or(QByteArray());
    // The header's highest column counts only the fields that are written.
    QCOMPARE(bytes, "40=05=00=D=\r\n02=02=04=05=H=Y=AB=X=\r\n");
}

void TestFmtLine::unwritableDefinitionIsRefused_data()
{
    QTest::addColumn<QString>("count");
    QTest::addColumn<QChar>("direction");
    QTest::addColumn<FieldDef>("second");
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("field");

    const FieldDef good = field("01", "01", "01", "02", "Y", "AB", "t", "c");
    auto with = [good](auto member, const QString &value) {
        FieldDef f = good;
        f.*member = value;
        return f;
    };
    const int number = int(WriteFault::Number);
    const int text = int(WriteFault::Text);

    QTest::newRow("empty count") << "" << QChar(u'D') << good << int(WriteFault::Count) << 0;
    QTest::newRow("direction") << "40" << QChar(u'X') << good << int(WriteFault::Direction) << 0;
    QTest::newRow("row above 99") << "40" << QChar(u'D') << with(&FieldDef::endRow, "100") << number
                                  << 2;
    QTest::newRow("fraction") << "40" << QChar(u'D') << with(&FieldDef::endColumn, "2.5") << number
                              << 2;
    QTest::newRow("orientation") << "40" << QChar(u'D') << with(&FieldDef::orientation, "Dikey")
                                 << int(WriteFault::Orientation) << 2;
    QTest::newRow("= in set") << "40" << QChar(u'D') << with(&FieldDef::characterSet, "A=") << text
                              << 2;
    QTest::newRow("] in title") << "40" << QChar(u'D') << with(&FieldDef::title, "a]b") << text
                                << 2;
    QTest::newRow(") in check") << "40" << QChar(u'D') << with(&FieldDef::check, "a)") << text << 2;
    QTest::newRow("comma in title")
        << "40" << QChar(u'D') << with(&FieldDef::title, "a,b") << text << 2;
    QTest::newRow("letter outside 1254")
        << "40" << QChar(u'D') << with(&FieldDef::title, u"Ωmega"_s) << text << 2;
}

void TestFmtLine::unwritableDefinitionIsRefused()
{
    QFETCH(QString, count);
    QFETCH(QChar, direction);
    QFETCH(FieldDef, second);
    QFETCH(int, fault);
    QFETCH(int, field);

    Definition definition;
    definition.count = count;
    definition.direction = direction;
    definition.fields = {::field("01", "01", "01", "01", "Y", "A"), second};

    const WriteCheck check = checkForWriting(definition);
    QCOMPARE(int(check.fault), fault);
    QCOMPARE(check.field, field);
    QVERIFY(!writeDefinition(definition));
}

void TestFmtLine::readingByPositionOfOddLines_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<FieldDef>("expected");

    QTest::newRow("check holding brackets") << QByteArray("01=01=01=02=H=Y=AB=X=(-[x])")
                                            << field("01", "01", "01", "02", "Y", "AB", "", "-[x]");
    QTest::newRow("unclosed parts run to the end")
        << QByteArray("01=01=01=02=H=Y=AB=X=[ti(ch")
        << field("01", "01", "01", "02", "Y", "AB", "ti", "ch");
    QTest::newRow("no end marker")
        << QByteArray("01=01=01=02=H=Y=AB[t]") << field("01", "01", "01", "02", "Y", "AB", "t");
    QTest::newRow("cut in the numbers")
        << QByteArray("01=05=0") << field("01", "05", "0", "", "", "");
}

void TestFmtLine::readingByPositionOfOddLines()
{
    QFETCH(QByteArray, line);
    QFETCH(FieldDef, expected);

    const Definition definition = readDefinition("\r\n  07=02=00=Q=  \r\n\r\n" + line + "\r\n");
    QCOMPARE(definition.count, "07");
    QCOMPARE(definition.direction, kMarksLeft);
    QCOMPARE(definition.fields.size(), 1);
    QCOMPARE(definition.fields[0], expected);
}

// More lines than the designer holds must reach it, so that it can refuse them instead of
// losing them at the next save.
void TestFmtLine::everyFieldLineIsRead()
{
    QByteArray file = "99=01=00=D=\r\n";
    for (int i = 0; i <= kDesignerMaxFields; ++i)
        file += "01=01=01=01=H=Y=A=X=\r\n";
    QCOMPARE(readDefinition(file).fields.size(), kDesignerMaxFields + 1);
}

QTEST_APPLESS_MAIN(TestFmtLine)
#include "tst_fmtline.moc"
