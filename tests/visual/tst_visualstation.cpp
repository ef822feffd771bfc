// A field drawn with the mouse on the preview, placed, saved from the designer, chosen in the
// station and read from the simulated reader.
#include "designerfixture.h"
#include "placementdialog.h"
#include "previewwindow.h"
#include "stationrig.h"
#include "visualdesigner.h"

#include <QComboBox>
#include <QRadioButton>

using namespace Qt::StringLiterals;

class TestVisualStation : public QObject
{
    Q_OBJECT

private slots:
    void drawnPlacedSavedAndRead()
    {
        StationRig rig;
        QVERIFY(rig.start());
        rig.click("Command11"); // "FMT Yazımı"
        {
            DesignerUnderTest d(rig.control<DesignerWindow>("menu"));
            d.name(u"cizim"_s);
            d.count(u"20"_s);
            QTest::mouseClick(d.w->CommandBAK, Qt::LeftButton);
            QVERIFY(!d.w->isEnabled());
            PreviewWindow *preview = d.w->preview();
            QVERIFY(preview);
            VisualDesigner *dokum = preview->dokum;
            const auto at = [dokum](int row, int column) {
                return dokum->toPixels(dokum->geometry().centre(row, column));
            };
            // Ten rows of digits in four columns: a four-digit number.
            QTest::mousePress(dokum, Qt::LeftButton, {}, at(3, 2));
            QTest::mouseMove(dokum, at(12, 5));
            QTest::mouseRelease(dokum, Qt::LeftButton, {}, at(12, 5));
            PlacementDialog *fyer = dokum->placement();
            QVERIFY(fyer);
            fyer->FOpt[0]->click();
            fyer->karak->setCurrentIndex(0);
            fyer->FBASLIK->setText(u"NUMARA"_s);
            QTest::mouseClick(fyer->CommandYER, Qt::LeftButton);
            QCOMPARE(d.w->model().rowCount(), 1);
            preview->close();
            QVERIFY(d.w->isEnabled());
            d.save();
            QVERIFY(rig.boxes.texts().isEmpty());
            QVERIFY(rig.control<QComboBox>("Combo1")->findText(u"cizim.fmt"_s) >= 0);
        }
        rig.choose(u"cizim.fmt"_s);
        QVERIFY(rig.boxes.texts().isEmpty());
        rig.typeDataName(u"CIZ"_s);
        QVERIFY(rig.addSheet(u"cizim.fmt"_s, {"0427"}));
        QVERIFY(rig.addSheet(u"cizim.fmt"_s, {"9310"}));
        rig.clickRead();
        QTRY_VERIFY(!rig.dataLines(u"CIZ"_s).isEmpty());
        QCOMPARE(rig.dataLines(u"CIZ"_s).first(), QByteArray("0427"));
        QTRY_COMPARE(rig.cellText(0, 1), u"9310"_s);
        QCOMPARE(rig.cellText(0, 0), u"NUMARA"_s);
    }
};

QTEST_MAIN(TestVisualStation)
#include "tst_visualstation.moc"
