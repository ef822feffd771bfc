// A form defined through the designer's controls, saved, chosen in the station and read from
// the simulated reader.
#include "designerfixture.h"
#include "stationrig.h"

#include <QComboBox>
#include <QRadioButton>

using namespace Qt::StringLiterals;

class TestDesignerStation : public QObject
{
    Q_OBJECT

private slots:
    void definedSavedChosenAndRead()
    {
        StationRig rig;
        QVERIFY(rig.start());
        rig.click("Command11"); // "FMT Yazımı"
        rig.click("Command11"); // the same window again
        QCOMPARE(rig.w->findChildren<DesignerWindow *>().size(), 1);
        {
            DesignerUnderTest d(rig.control<DesignerWindow>("menu"));
            d.name(u"yoklama"_s);
            d.count(u"20"_s);
            d.add(u"3"_s, u"12"_s, u"2"_s, u"5"_s, true, u"0123456789"_s, u"NO"_s);
            d.add(u"14"_s, u"16"_s, u"2"_s, u"6"_s, false, u"ABCDE"_s, u"CEVAP"_s, u"-E"_s);
            d.add(u"18"_s, u"18"_s, u"1"_s, u"2"_s, false, u"AB"_s, u"TÜR"_s, u"=K"_s);
            d.save();
            QVERIFY(!d.w->model().isModified());
            // Listed in form1 at once.
            QVERIFY(rig.control<QComboBox>("Combo1")->findText(u"yoklama.fmt"_s) >= 0);
        }
        rig.choose(u"yoklama.fmt"_s);
        QVERIFY(rig.boxes.texts().isEmpty());
        rig.typeDataName(u"YOK"_s);
        QVERIFY(rig.addSheet(u"yoklama.fmt"_s, {"0042", "ABC", "B"}));
        QVERIFY(rig.addSheet(u"yoklama.fmt"_s, {"1234", "AEC", "A"}));
        rig.clickRead();
        // The second sheet's E stops the reading; its record waits, the constant stands in.
        QTRY_COMPARE(rig.dataLines(u"YOK"_s), QList<QByteArray>{"0042ABCK"});
        QCOMPARE(rig.cellText(1, 1), u"AEC"_s);
        QCOMPARE(rig.cellText(2, 0), u"TÜR"_s);
    }
};

QTEST_MAIN(TestDesignerStation)
#include "tst_designerstation.moc"
