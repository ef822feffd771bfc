#include "previewwindow.h"

#include "msgbox.h"
#include "printout.h"
#include "visualdesigner.h"

#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QScrollArea>
#include <QToolBar>
#include <QToolButton>

namespace {

// The toolbar's 16 × 16 pictures.
QPixmap toolbarPicture(const QString &key)
{
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    if (key == QLatin1String("Print")) {
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.setBrush(QColor(192, 192, 192));
        p.drawRect(QRectF(1.5, 6.5, 13, 6));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 10.5, 7, 4));
        p.setPen(QColor(0, 160, 0));
        p.drawPoint(QPointF(12.5, 8.5));
    } else {
        QPainterPath arrow;
        if (key == QLatin1String("Redo")) {
            arrow.moveTo(3, 12);
            arrow.cubicTo(3, 4, 11, 3, 12, 8);
            p.setPen(QPen(QColor(0, 0, 160), 2));
            p.drawPath(arrow);
            p.setBrush(QColor(0, 0, 160));
            p.drawPolygon(QPolygonF({QPointF(9, 8), QPointF(15, 8), QPointF(12, 12)}));
        } else {
            const bool back = key == QLatin1String("Back");
            const qreal tip = back ? 2 : 14;
            const qreal base = 8;
            const qreal tail = back ? 14 : 2;
            p.setBrush(QColor(0, 128, 0));
            p.drawPolygon(QPolygonF({QPointF(tip, 8), QPointF(base, 2), QPointF(base, 5.5),
                                     QPointF(tail, 5.5), QPointF(tail, 10.5), QPointF(base, 10.5),
                                     QPointF(base, 14)}));
        }
    }
    return picture;
}

} // namespace

PreviewWindow::PreviewWindow(formdef::DefinitionModel &model, QWidget *parent)
    : QMainWindow(parent), m_model(model)
{
    setObjectName(QStringLiteral("Onizle"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral(" Optik Form  ( ") + model.name() + QStringLiteral(" )"));

    for (const char *key : {"Print", "Back", "Forward", "Redo"})
        imlToolbarIcons.insert(QLatin1String(key), toolbarPicture(QLatin1String(key)));
    tbToolBar = addToolBar(QString());
    tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar->setMovable(false);
    tbToolBar->toggleViewAction()->setEnabled(false);
    QAction *print =
        tbToolBar->addAction(QIcon(imlToolbarIcons.value(QStringLiteral("Print"))), QString());
    print->setToolTip(QStringLiteral("Print"));
    Print = qobject_cast<QToolButton *>(tbToolBar->widgetForAction(print));
    Print->setObjectName(QStringLiteral("Print"));
    connect(print, &QAction::triggered, this, &PreviewWindow::printLayout);

    dokum = new VisualDesigner(model);
    connect(dokum, &VisualDesigner::statusCaption, this, &PreviewWindow::setWindowTitle);
    m_area = new QScrollArea;
    m_area->setBackgroundRole(QPalette::Dark);
    m_area->setWidget(dokum);
    setCentralWidget(m_area);

    // As large as the form, as far as the screen allows; a larger form scrolls.
    QSize wanted = dokum->size() + QSize(2 * m_area->frameWidth(), 2 * m_area->frameWidth()) +
                   QSize(0, tbToolBar->sizeHint().height());
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        wanted = wanted.boundedTo(screen->availableGeometry().size() * 9 / 10);
    resize(wanted);
}

void PreviewWindow::closeEvent(QCloseEvent *event)
{
    dokum->closePlacement();
    emit closed();
    event->accept();
}

void PreviewWindow::printLayout()
{
    QPrinter printer(QPrinter::HighResolution);
    const QPrinterInfo installed = QPrinterInfo::defaultPrinter();
    if (installed.isNull()) {
        if (MsgBox::show(
                this, QStringLiteral("Yazıcı bulunamadı. Form PDF dosyası olarak kaydedilsin mi?"),
                MsgBox::Buttons::YesNo, MsgBox::Icon::Question) != MsgBox::Answer::Yes)
            return;
        const QString path = Printout::chooseFile(
            this, QDir::home().filePath(m_model.name() + QStringLiteral(".pdf")));
        if (path.isEmpty())
            return;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setPageLayout(Printout::pdfPageLayout());
    } else {
        printer.setPrinterName(installed.printerName());
    }

    // Printed at the paper's pitch, a long or wide form does not fit: the operator hears how
    // much does.
    const int rows = m_model.mapRows();
    const int fitting = Printout::rowsOnPage(printer, m_model);
    if (fitting < rows &&
        MsgBox::show(this,
                     QStringLiteral("Formun %1 satırından yalnız %2 satırı sayfaya sığıyor; "
                                    "kalan satırlar basılmayacak. Devam edilsin mi?")
                         .arg(rows)
                         .arg(fitting),
                     MsgBox::Buttons::OkCancel, MsgBox::Icon::Warning) != MsgBox::Answer::Ok)
        return;

    // Empty cells are not printed: only columns that fields use must fit across.
    const int columns = Printout::columnsUsed(m_model);
    const int across = Printout::columnsOnPage(printer, m_model);
    if (across < columns &&
        MsgBox::show(this,
                     QStringLiteral("Alanların kullandığı %1 sütundan yalnız %2 sütun sayfaya "
                                    "sığıyor; kalan sütunlar basılmayacak. Devam edilsin mi?")
                         .arg(columns)
                         .arg(across),
                     MsgBox::Buttons::OkCancel, MsgBox::Icon::Warning) != MsgBox::Answer::Ok)
        return;

    QString error;
    if (!Printout::print(printer, m_model, &error))
        MsgBox::show(this, QStringLiteral("Form basılamadı. ") + error, MsgBox::Buttons::Ok,
                     MsgBox::Icon::Warning);
}
