// A form defined through the designer's controls and drawn preview, saved, chosen in form1, read.
#include "designerfixture.h"
#include "placementdialog.h"
#include "previewwindow.h"
#include "stationrig.h"
#include "visualdesigner.h"

#include <QComboBox>
#include <QRadioButton>

using namespace Qt::StringLiterals;

class TestDesignerStation : public QObject
{
    Q_OBJECT

private slots:
    void definedDrawnSavedChosenAndRead()
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
            d.add(u"14"_s, u"16"_s, u"2"_s, u"6"_s, false, u"ABCDE"_s, u"CEVAP"_s, u"-E"_s);
            d.add(u"18"_s, u"18"_s, u"1"_s, u"2"_s, false, u"AB"_s, u"TÜR"_s, u"=K"_s);
            // Ten rows of digits in four columns, drawn with the mouse: a four-digit number.
            QTest::mouseClick(d.w->CommandBAK, Qt::LeftButton);
            PreviewWindow *preview = d.w->preview();
            QVERIFY(preview);
            VisualDesigner *dokum = preview->dokum;
            const auto at = [dokum](int row, int column) {
                return dokum->toPixels(dokum->geometry().centre(row, column));
            };
            QTest::mousePress(dokum, Qt::LeftButton, {}, at(3, 2));
            QTest::mouseMove(dokum, at(12, 5));
            QTest::mouseRelease(dokum, Qt::LeftButton, {}, at(12, 5));
            PlacementDialog *fyer = dokum->placement();
            QVERIFY(fyer);
            fyer->FOpt[0]->click();
            fyer->karak->setCurrentIndex(0);
            fyer->FBASLIK->setText(u"NO"_s);
            QTest::mouseClick(fyer->CommandYER, Qt::LeftButton);
            preview->close();
            d.save();
            QVERIFY(!d.w->model().isModified());
            // Listed in form1 at once.
            QVERIFY(rig.control<QComboBox>("Combo1")->findText(u"yoklama.fmt"_s) >= 0);
        }
        rig.choose(u"yoklama.fmt"_s);
        rig.typeDataName(u"YOK"_s);
        QVERIFY(rig.addSheet(u"yoklama.fmt"_s, {"ABC", "B", "0427"}));
        QVERIFY(rig.addSheet(u"yoklama.fmt"_s, {"AEC", "A", "9310"}));
        rig.clickRead();
        QVERIFY(rig.boxes.texts().isEmpty());
        // The second sheet's E stops the reading; its record waits, the constant stands in.
        QTRY_COMPARE(rig.dataLines(u"YOK"_s), QList<QByteArray>{"ABCK0427"});
        QCOMPARE(rig.cellText(0, 1), u"AEC"_s);
        QCOMPARE(rig.cellText(1, 0), u"TÜR"_s);
        QCOMPARE(rig.cellText(2, 1), u"9310"_s);
    }
};

QTEST_MAIN(TestDesignerStation)
#include "tst_designerstation.moc"
