// Which cell a point of the drawn form falls on, for both sides, and what each cell shows.
#include "formlayout.h"

#include <QTest>

using namespace visual;
using namespace Qt::StringLiterals;

class TestFormLayout : public QObject
{
    Q_OBJECT

private slots:
    void hitTest_data()
    {
        QTest::addColumn<bool>("marksRight");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        // Ten rows: W = 48 × 220 + 800 = 11360, H = 10 × 220 + 800 = 3000.
        // Marks on the left: a cell reaches 75 left of its centre and 145 right, 85 above and 135
        // below.
        QTest::newRow("D top-left border") << false << 345 << 345 << 1 << 1;
        QTest::newRow("D left of the grid") << false << 344 << 430 << 0 << 0;
        QTest::newRow("D above the grid") << false << 420 << 344 << 0 << 0;
        QTest::newRow("D 144 right") << false << 564 << 430 << 1 << 1;
        QTest::newRow("D 145 right") << false << 565 << 430 << 1 << 2;
        QTest::newRow("D 134 below") << false << 420 << 564 << 1 << 1;
        QTest::newRow("D 135 below") << false << 420 << 565 << 2 << 1;
        QTest::newRow("D column 48") << false << 10904 << 430 << 1 << 48;
        QTest::newRow("D past column 48") << false << 10905 << 430 << 0 << 0;
        QTest::newRow("D row 10") << false << 420 << 2544 << 10 << 1;
        QTest::newRow("D past row 10") << false << 420 << 2545 << 0 << 0;
        // Marks on the right: row 1 at the bottom, column 1 next to the marks; a cell reaches 140
        // left of its centre (10940, 2410 for 1,1) and 80 right, 200 above and 20 below.
        QTest::newRow("T 80 right") << true << 11020 << 2410 << 1 << 1;
        QTest::newRow("T 81 right") << true << 11021 << 2410 << 0 << 0;
        QTest::newRow("T 139 left") << true << 10801 << 2410 << 1 << 1;
        QTest::newRow("T 140 left") << true << 10800 << 2410 << 1 << 2;
        QTest::newRow("T 20 below") << true << 10940 << 2430 << 1 << 1;
        QTest::newRow("T 21 below") << true << 10940 << 2431 << 0 << 0;
        QTest::newRow("T 199 above") << true << 10940 << 2211 << 1 << 1;
        QTest::newRow("T 200 above") << true << 10940 << 2210 << 2 << 1;
        QTest::newRow("T top row") << true << 10940 << 345 << 10 << 1;
        QTest::newRow("T above the grid") << true << 10940 << 344 << 0 << 0;
        QTest::newRow("T column 48") << true << 461 << 430 << 10 << 48;
        QTest::newRow("T past column 48") << true << 460 << 430 << 0 << 0;
    }
    void hitTest()
    {
        QFETCH(bool, marksRight);
        QFETCH(int, x);
        QFETCH(int, y);
        const FormGeometry geometry = FormGeometry::screen(10, marksRight);
        QCOMPARE(geometry.width(), 11360);
        QCOMPARE(geometry.height(), 3000);
        QTEST(geometry.hitTest(x, y).row, "row");
        QTEST(geometry.hitTest(x, y).column, "column");
    }

    void fieldCharacters_data()
    {
        QTest::addColumn<QString>("orientation");
        QTest::addColumn<QString>("set");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("shown");
        // Rows 3 to 5, columns 10 to 13.
        QTest::newRow("D first row") << u"D"_s << u"ABC"_s << 3 << 12 << u"A"_s;
        QTest::newRow("D last row") << u"D"_s << u"ABC"_s << 5 << 10 << u"C"_s;
        QTest::newRow("Y first column") << u"Y"_s << u"ABCD"_s << 4 << 10 << u"A"_s;
        QTest::newRow("Y last column") << u"Y"_s << u"ABCD"_s << 5 << 13 << u"D"_s;
        QTest::newRow("no orientation runs along the columns")
            << u""_s << u"ABCD"_s << 3 << 11 << u"B"_s;
        QTest::newRow("past the set") << u"Y"_s << u"ABC"_s << 3 << 13 << u""_s;
    }
    void fieldCharacters()
    {
        QFETCH(QString, orientation);
        QFETCH(QString, set);
        QFETCH(int, row);
        QFETCH(int, column);
        const formdef::FieldDef field{"3", "5", "10", "13", orientation, set, {}, {}};
        const QChar ch = fieldCharacter(field, row, column);
        QTEST(ch.isNull() ? QString() : QString(ch), "shown");
    }
};

QTEST_APPLESS_MAIN(TestFormLayout)
#include "tst_formlayout.moc"
