// The printed layout, taken as a PDF file where no printer is installed and rasterised to
// check where its marks and bubbles land on the page.
#include "printout.h"
#include "visualfixture.h"

#include <QFile>
#include <QLineF>
#include <QPrinterInfo>
#include <QProcess>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kLeft = "12=14=00=D=\r\n"
                         "02=04=05=07=H=Y=ABC=X=[BIR]\r\n";
const QByteArray kRight = "12=07=00=T=\r\n"
                          "02=04=05=07=H=Y=CBA=X=[SOL]\r\n";

constexpr int kDpi = 288; // five twips a pixel

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return u"<failed> "_s + QString::fromLocal8Bit(process.readAllStandardError());
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

int pageCount(const QString &pdf)
{
    const QString info = run(u"pdfinfo"_s, {pdf});
    const qsizetype at = info.indexOf(u"Pages:"_s);
    return at < 0 ? -1 : info.mid(at + 6).section(u'\n', 0, 0).trimmed().toInt();
}

// The first page without smoothing, so colours stay as drawn.
QImage firstPage(const QString &pdf)
{
    const QString stem = pdf.chopped(4);
    run(u"pdftoppm"_s, {u"-r"_s, QString::number(kDpi), u"-aa"_s, u"no"_s, u"-aaVector"_s, u"no"_s,
                        u"-f"_s, u"1"_s, u"-l"_s, u"1"_s, u"-singlefile"_s, u"-png"_s, pdf, stem});
    return QImage(stem + u".png"_s).convertToFormat(QImage::Format_RGB32);
}

// The printable part of the PDF page, in twips.
QRectF printable()
{
    const QRectF points = Printout::pdfPageLayout().paintRect(QPageLayout::Point);
    return {points.topLeft() * 20, points.size() * 20};
}

// A page point in twips from the drawing origin, at the margin of the PDF page.
QPointF onPage(QPoint twips)
{
    return (QPointF(twips) + printable().topLeft()) * kDpi / 1440;
}

// The centre of the red ring round a point, from the ring's inner edges on either side.
QPointF ringCentre(const QImage &page, QPointF near)
{
    const QPoint from = near.toPoint();
    const auto edge = [&](QPoint step) {
        QPoint at = from;
        while (page.valid(at) && (at - from).manhattanLength() < 40 &&
               page.pixel(at) != qRgb(255, 0, 0))
            at += step;
        return at;
    };
    const QPoint left = edge({-1, 0}), right = edge({1, 0});
    const QPoint top = edge({0, -1}), bottom = edge({0, 1});
    return {(left.x() + 1 + right.x()) / 2.0, (top.y() + 1 + bottom.y()) / 2.0};
}

// Prints through the toolbar, answering the file question with `path`.
void printTo(VisualRig &rig, const QString &path)
{
    Printout::setFileChooser([path](QWidget *, const QString &) { return path; });
    QTest::mouseClick(rig.preview->Print, Qt::LeftButton);
    Printout::setFileChooser(nullptr);
}

} // namespace

class TestPrintout : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!QPrinterInfo::defaultPrinter().isNull())
            QSKIP("a printer is installed; the page would go to it");
    }

    void pageAtThePapersPitch_data()
    {
        QTest::addColumn<QByteArray>("fmt");
        QTest::addColumn<QPoint>("fieldCell"); // row 3, column 6, in twips
        QTest::addColumn<QPoint>("freeCell");  // row 12, column 20
        QTest::addColumn<QPoint>("mark");      // centre of timing mark 12
        const int p = qRound(printable().width());
        QTest::newRow("marks on the left")
            << kLeft << QPoint(439 + 5 * 239, 430 + 2 * 239)
            << QPoint(439 + 19 * 239, 430 + 11 * 239) << QPoint(225, 400 + 11 * 239 + 32);
        QTest::newRow("marks on the right")
            << kRight << QPoint(p - 1039 - 5 * 239, 430 + 9 * 239)
            << QPoint(p - 1039 - 19 * 239, 430) << QPoint(p - 825, 400 + 11 * 239 + 32);
    }
    void pageAtThePapersPitch()
    {
        QFETCH(QByteArray, fmt);
        QFETCH(QPoint, fieldCell);
        QFETCH(QPoint, freeCell);
        QFETCH(QPoint, mark);
        VisualRig rig(fmt);
        const QString pdf = rig.dir.filePath(u"sayfa.pdf"_s);
        printTo(rig, pdf);
        QCOMPARE(rig.boxes.texts(),
                 QStringList{u"Yazıcı bulunamadı. Form PDF dosyası olarak kaydedilsin mi?"_s});
        QCOMPARE(pageCount(pdf), 1);
        const QImage page = firstPage(pdf);
        QVERIFY(!page.isNull());
        // Where the bubble is, to a third of its ring's width.
        const QPointF ring = ringCentre(page, onPage(fieldCell));
        QVERIFY2(QLineF(ring, onPage(fieldCell)).length() <= 1.0,
                 qPrintable(u"ring at %1,%2"_s.arg(ring.x()).arg(ring.y())));
        QVERIFY(anyNear(page, onPage(fieldCell + QPoint(-10, -10)).toPoint(), 4, isDark));
        // Neither empty bubbles nor anything else where no field is.
        QVERIFY(!anyNear(page, onPage(freeCell + QPoint(80, 0)).toPoint(), 2,
                         [](QRgb pixel) { return pixel != qRgb(255, 255, 255); }));
        QCOMPARE(page.pixel(onPage(mark).toPoint()), qRgb(0, 0, 0));
    }

    void longFormOnOnePage()
    {
        QByteArray fmt = "99=48=00=D=\r\n";
        for (int row = 1; row <= 99; ++row)
            fmt += QStringLiteral("%1=%1=01=48=H=Y=%2=X=\r\n")
                       .arg(row, 2, 10, QLatin1Char('0'))
                       .arg(QString(48, u'A'))
                       .toLatin1();
        VisualRig rig(fmt);
        const QString pdf = rig.dir.filePath(u"uzun.pdf"_s);
        // The lines of marks that fit under each other on the page, the first needing 510 twips.
        const int fitting = (qRound(printable().height()) - 510) / 239 + 1;
        const QString question = u"Formun 99 satırından yalnız %1 satırı sayfaya sığıyor; kalan "
                                 "satırlar basılmayacak. Devam edilsin mi?"_s.arg(fitting);
        rig.boxes.queueAnswer(MsgBox::Answer::Yes);
        rig.boxes.queueAnswer(MsgBox::Answer::Cancel);
        printTo(rig, pdf);
        QCOMPARE(rig.boxes.texts().last(), question);
        QVERIFY(!QFile::exists(pdf));
        // Nor do the 48 columns the fields use: 80 twips of the last bubble past its centre.
        const int across = (qRound(printable().width()) - 80 - 439) / 239 + 1;
        printTo(rig, pdf);
        QCOMPARE(rig.boxes.count(), 5);
        QCOMPARE(
            rig.boxes.texts().mid(3),
            (QStringList{question,
                         u"Alanların kullandığı 48 sütundan yalnız %1 sütun sayfaya "
                         "sığıyor; kalan sütunlar basılmayacak. Devam edilsin mi?"_s.arg(across)}));
        QCOMPARE(pageCount(pdf), 1);
        QCOMPARE(
            firstPage(pdf).pixel(onPage(QPoint(225, 400 + (fitting - 1) * 239 + 32)).toPoint()),
            qRgb(0, 0, 0));
    }

    void failedPrintoutIsSaid()
    {
        VisualRig rig(kLeft);
        const QString unwritable = rig.dir.filePath(u"yok/sayfa.pdf"_s);
        printTo(rig, unwritable);
        QCOMPARE(rig.boxes.texts().last(),
                 u"Form basılamadı. %1 dosyası yazılamadı."_s.arg(unwritable));
    }
};

QTEST_MAIN(TestPrintout)
#include "tst_printout.moc"
