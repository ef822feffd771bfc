// The preview window, the drawn form and the placement dialog, driven with the mouse on the
// drawing, working on the definition the written designer shows.
#include "visualfixture.h"

#include <QAbstractButton>
#include <QLabel>
#include <QRadioButton>
#include <QToolBar>
#include <QToolButton>

using namespace Qt::StringLiterals;
using visual::CellBox;

namespace {

// Twelve rows, marks on the left: BIR rows 2-4 × columns 5-7, IKI row 6 × 1-3, UC (vertical)
// rows 8-10 × 10-14.
const QByteArray kLeft = "12=14=00=D=\r\n"
                         "02=04=05=07=H=Y=ABC=X=[BIR]\r\n"
                         "06=06=01=03=H=Y=XYZ=X=[IKI]\r\n"
                         "08=10=10=14=H=D=123=X=[UC]\r\n";
// Twelve rows, marks on the right: one field, rows 2-4 × columns 5-7.
const QByteArray kRight = "12=07=00=T=\r\n"
                          "02=04=05=07=H=Y=CBA=X=[SOL]\r\n";

const QString kCaptionHead = u" Optik Form  ( form )                Satır : "_s;

// A bubble's ring is drawn in `colour` at the cell centred at `centre` (twips).
bool ringIs(const VisualRig &rig, QPoint centre, const QColor &colour)
{
    const QImage &image = rig.dokum->image();
    return anyNear(image, rig.pixelAt(centre + QPoint(80, 0)), 1, exactly(colour)) &&
           anyNear(image, rig.pixelAt(centre - QPoint(0, 80)), 1, exactly(colour));
}

bool ringIs(const VisualRig &rig, int row, int column, const QColor &colour)
{
    return ringIs(rig, rig.dokum->geometry().centre(row, column), colour);
}

bool hasInk(const VisualRig &rig, int row, int column)
{
    const QPoint centre = rig.dokum->geometry().centre(row, column);
    return anyNear(rig.dokum->image(), rig.pixelAt(centre + QPoint(-10, -10)), 2, isDark);
}

} // namespace

class TestVisualDesigner : public QObject
{
    Q_OBJECT

private slots:
    void controlsAsNamed_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("tip");
        const auto row = [](const char *name, const QString &caption, const QString &tip = {}) {
            QTest::newRow(name) << QString::fromLatin1(name) << caption << tip;
        };
        row("Onizle", u" Optik Form  ( form )"_s);
        row("tbToolBar", {});
        row("Print", {}, u"Print"_s);
        row("dokum", {});
        row("Fyer", u"Karakter Yerleştirme"_s);
        row("Label1", u"Başlık"_s);
        row("FBASLIK", {});
        row("karak", {});
        row("FOpt_0", u"Dikey"_s);
        row("FOpt_1", u"Yatay"_s);
        row("CommandYER", u"Yerleştir"_s);
        row("CommandVAZGEC", u"Vazgeç"_s);
    }
    void controlsAsNamed()
    {
        QFETCH(QString, name);
        VisualRig rig(kLeft);
        const QString title = rig.preview->windowTitle();
        rig.drag(1, 1, 1, 1);
        QVERIFY(rig.fyer());
        QWidget *control = rig.preview->objectName() == name
                               ? rig.preview.data()
                               : rig.preview->findChild<QWidget *>(name);
        QVERIFY(control);
        const QString caption = control == rig.preview ? title
                                : control->isWindow()  ? control->windowTitle()
                                                       : control->property("text").toString();
        QTEST(caption, "caption");
        QTEST(control->toolTip(), "tip");
        QCOMPARE(rig.preview->imlToolbarIcons.keys().size(), 4);
        for (const char *key : {"Print", "Back", "Forward", "Redo"})
            QCOMPARE(rig.preview->imlToolbarIcons.value(QLatin1String(key)).size(), QSize(16, 16));
        // The toolbar holds one button.
        QCOMPARE(rig.preview->tbToolBar->actions().size(), 1);
    }

    void statusCaption_data()
    {
        QTest::addColumn<QByteArray>("fmt");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("caption");
        QTest::newRow("field") << kLeft << 6 << 2
                               << kCaptionHead + u"6     Sütun : 2      (Sıra No : 2 )  IKI"_s;
        QTest::newRow("free cell") << kLeft << 1 << 1 << kCaptionHead + u"1     Sütun : 1      "_s;
        QTest::newRow("field, marks on the right")
            << kRight << 4 << 7 << kCaptionHead + u"4     Sütun : 7      (Sıra No : 1 )  SOL"_s;
    }
    void statusCaption()
    {
        QFETCH(QByteArray, fmt);
        QFETCH(int, row);
        QFETCH(int, column);
        VisualRig rig(fmt);
        rig.hover(rig.centre(row, column));
        QTEST(rig.preview->windowTitle(), "caption");
    }

    void drawnAtPredictedCentres_data()
    {
        QTest::addColumn<QByteArray>("fmt");
        // Centres in twips: a field cell (row 3, column 6), a free cell (row 12, column 48) and
        // timing mark 12.
        QTest::addColumn<QPoint>("fieldCell");
        QTest::addColumn<QPoint>("freeCell");
        QTest::addColumn<QPoint>("mark");
        // W = 48 × 220 + 800 = 11360, H = 12 × 220 + 800 = 3440.
        QTest::newRow("marks on the left")
            << kLeft << QPoint(420 + 5 * 220, 430 + 2 * 220)
            << QPoint(420 + 47 * 220, 430 + 11 * 220) << QPoint(225, 400 + 11 * 220 + 30);
        QTest::newRow("marks on the right")
            << kRight << QPoint(11360 - 420 - 5 * 220, 3440 - 370 - 3 * 220)
            << QPoint(11360 - 420 - 47 * 220, 3440 - 370 - 12 * 220)
            << QPoint(11360 - 225, 400 + 11 * 220 + 30);
    }
    void drawnAtPredictedCentres()
    {
        QFETCH(QByteArray, fmt);
        QFETCH(QPoint, fieldCell);
        QFETCH(QPoint, freeCell);
        QFETCH(QPoint, mark);
        VisualRig rig(fmt);
        const QImage &image = rig.dokum->image();
        // W twips wide, to the pixel.
        QVERIFY(rig.dokum->toTwips(QPoint(image.width(), 0)).x() >= 11360);
        QVERIFY(rig.dokum->toTwips(QPoint(image.width() - 1, 0)).x() < 11360);
        QVERIFY(ringIs(rig, fieldCell, kRed));
        QVERIFY(anyNear(image, rig.pixelAt(fieldCell + QPoint(-10, -10)), 2, isDark));
        QVERIFY(ringIs(rig, freeCell, kCyan));
        QVERIFY(!anyNear(image, rig.pixelAt(freeCell), 2, isDark));
        QCOMPARE(image.pixel(rig.pixelAt(mark)), qRgb(0, 0, 0));
        // The widget shows the image.
        QCOMPARE(rig.dokum->grab().toImage().pixel(rig.pixelAt(mark)), qRgb(0, 0, 0));
    }

    void cellsBeyondTheCountAreSkipped()
    {
        // UC reaches row 10 of a form lowered to nine rows.
        VisualRig rig("09=14=00=D=\r\n08=10=10=14=H=D=123=X=[UC]\r\n");
        QVERIFY(ringIs(rig, QPoint(420 + 9 * 220, 430 + 8 * 220), kRed));
        const QPoint rowTen = rig.pixelAt(QPoint(420 + 9 * 220, 430 + 9 * 220));
        QVERIFY(!anyNear(rig.dokum->image(), rowTen, 8,
                         [](QRgb pixel) { return pixel != qRgb(255, 255, 255); }));
        rig.hover(rowTen);
        QCOMPARE(rig.preview->windowTitle(), kCaptionHead + u"0     Sütun : 0"_s);
    }

    void markingGrowsAndIsPlaced()
    {
        VisualRig rig(kLeft);
        rig.press(5, 10);
        rig.moveTo(3, 12);
        rig.moveTo(4, 11);
        QCOMPARE(rig.dokum->marked(), (CellBox{3, 5, 10, 12}));
        for (const auto &[row, column] : {std::pair{3, 10}, {5, 12}, {3, 12}, {5, 10}})
            QVERIFY(ringIs(rig, row, column, kRed));
        QVERIFY(ringIs(rig, 6, 10, kCyan));
        rig.release(4, 11);
        PlacementDialog *fyer = rig.fyer();
        QVERIFY(fyer && fyer->isVisible());
        QVERIFY(!rig.dokum->isEnabled());
        QCOMPARE((QStringList{rig.dokum->fsat1->text(), rig.dokum->fsat2->text(),
                              rig.dokum->fsut1->text(), rig.dokum->fsut2->text()}),
                 (QStringList{u"3"_s, u"5"_s, u"10"_s, u"12"_s}));
        QCOMPARE(fyer->karak->count(), 4);
        QCOMPARE(fyer->karak->itemText(3), u"ABCÇDEFGĞHIİJKLMNOÖPRSŞTUÜVYZ"_s);
        QVERIFY(!fyer->FOpt[0]->isChecked() && !fyer->FOpt[1]->isChecked());
        // No orientation, then a set as long as the columns but not the rows: refused, still open.
        fyer->karak->setEditText(u"ABC"_s);
        QTest::mouseClick(fyer->CommandYER, Qt::LeftButton);
        QCOMPARE(rig.boxes.lastText(), u"Karakterlerin yerleşimini seçiniz: Dikey ya da Yatay."_s);
        fyer->FOpt[0]->click();
        fyer->karak->setEditText(u"ABCD"_s);
        QTest::mouseClick(fyer->CommandYER, Qt::LeftButton);
        QCOMPARE(rig.boxes.lastText(), u"Karakter uzunluğu satır aralığı ile uyumsuz."_s);
        QCOMPARE(rig.model().rowCount(), 3);
        QVERIFY(fyer->isVisible());
        fyer->FOpt[1]->click();
        fyer->karak->setEditText(u"ABC"_s);
        fyer->FBASLIK->setText(u"SORU"_s);
        QTest::mouseClick(fyer->CommandYER, Qt::LeftButton);
        QCOMPARE(rig.boxes.count(), 2);
        QTRY_VERIFY(!rig.fyer());
        QVERIFY(rig.dokum->isEnabled());
        // In the designer's grid at once, as the dialog's boxes gave it.
        QCOMPARE(
            rig.model().field(3),
            (formdef::FieldDef{u"3"_s, u"5"_s, u"10"_s, u"12"_s, u"Y"_s, u"ABC"_s, u"SORU"_s, {}}));
        QCOMPARE(rig.d->cell(3, 7), u"SORU"_s);
        QVERIFY(hasInk(rig, 3, 10) && hasInk(rig, 5, 12));
        // The rectangle went with the dialog: a right click elsewhere hands nothing over.
        rig.press(1, 1, Qt::RightButton);
        rig.release(1, 1, Qt::RightButton);
        QVERIFY(!rig.fyer());
        QCOMPARE(rig.dokum->marked(), CellBox{});
    }

    void droppedMarking_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Vazgeç") << u"button"_s;
        QTest::newRow("close box") << u"close"_s;
        QTest::newRow("preview closed") << u"preview"_s;
    }
    void droppedMarking()
    {
        QFETCH(QString, how);
        VisualRig rig(kLeft);
        // Over a free cell and into BIR's corner.
        rig.drag(1, 4, 2, 5);
        QVERIFY(rig.fyer());
        QVERIFY(ringIs(rig, 1, 4, kRed));
        if (how == u"button")
            QTest::mouseClick(rig.fyer()->CommandVAZGEC, Qt::LeftButton);
        else if (how == u"close")
            rig.fyer()->close();
        else
            rig.preview->close();
        if (how == u"preview")
            QTRY_VERIFY(!rig.preview);
        else
            QTRY_VERIFY(!rig.fyer());
        QCOMPARE(rig.model().rowCount(), 3);
        QCOMPARE(rig.model().mapCell(0, 3), QString());
        QVERIFY(rig.boxes.texts().isEmpty());
        QVERIFY(how == u"preview" ? rig.d->w->isEnabled() : rig.dokum->isEnabled());
        if (how == u"preview")
            return;
        QCOMPARE(rig.dokum->marked(), CellBox{});
        QVERIFY(ringIs(rig, 1, 4, kCyan) && ringIs(rig, 1, 5, kCyan));
        QVERIFY(ringIs(rig, 2, 5, kRed) && hasInk(rig, 2, 5)); // BIR keeps its look
    }

    void deletedOnTheRightAtTheShownCorner()
    {
        VisualRig rig(kRight);
        // The stored upper-left corner is shown at the lower right: nothing is asked there.
        rig.press(2, 5, Qt::RightButton);
        QVERIFY(rig.boxes.texts().isEmpty());
        rig.boxes.queueAnswer(MsgBox::Answer::Cancel);
        rig.press(4, 7, Qt::RightButton);
        QCOMPARE(rig.boxes.texts(), QStringList{u"Bilgi hücresi iptal edilecek. Emin misiniz?"_s});
        QCOMPARE(rig.boxes.shown().last().buttons, MsgBox::Buttons::OkCancel);
        QCOMPARE(rig.model().rowCount(), 1);
        QVERIFY(ringIs(rig, 4, 7, kRed));
        rig.press(4, 7, Qt::RightButton);
        QCOMPARE(rig.boxes.count(), 2);
        QCOMPARE(rig.model().rowCount(), 0);
        QCOMPARE(rig.d->w->TABLO->rowCount(), 0);
        QCOMPARE(rig.model().mapCell(1, 4) + rig.model().mapCell(3, 6), QString());
        for (const auto &[row, column] : {std::pair{2, 5}, {4, 7}, {3, 6}}) {
            QVERIFY(ringIs(rig, row, column, kCyan));
            QVERIFY(!hasInk(rig, row, column));
        }
        rig.release(4, 7, Qt::RightButton);
        QVERIFY(!rig.fyer());
    }
};

QTEST_MAIN(TestVisualDesigner)
#include "tst_visualdesigner.moc"
