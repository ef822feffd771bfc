#include "visualdesigner.h"

#include "formpainter.h"
#include "msgbox.h"
#include "placementdialog.h"
#include "twips.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <cmath>

using namespace formdef;
using namespace visual;

namespace {

// The cells of `grown` that `old` does not hold, as at most four bands.
QList<CellBox> addedBands(const CellBox &grown, const CellBox &old)
{
    if (!old.isSet())
        return {grown};
    QList<CellBox> bands;
    if (grown.startRow < old.startRow)
        bands.append({grown.startRow, old.startRow - 1, grown.startColumn, grown.endColumn});
    if (grown.endRow > old.endRow)
        bands.append({old.endRow + 1, grown.endRow, grown.startColumn, grown.endColumn});
    if (grown.startColumn < old.startColumn)
        bands.append({old.startRow, old.endRow, grown.startColumn, old.startColumn - 1});
    if (grown.endColumn > old.endColumn)
        bands.append({old.startRow, old.endRow, old.endColumn + 1, grown.endColumn});
    return bands;
}

QLabel *hiddenLabel(QWidget *parent, const char *name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setVisible(false);
    return label;
}

} // namespace

VisualDesigner::VisualDesigner(DefinitionModel &model, QWidget *parent)
    : QWidget(parent), m_model(model),
      m_geometry(FormGeometry::screen(model.mapRows(), model.direction() == kMarksRight)),
      m_dpi(screenDpi())
{
    setObjectName(QStringLiteral("dokum"));
    fsat1 = hiddenLabel(this, "fsat1");
    fsat2 = hiddenLabel(this, "fsat2");
    fsut1 = hiddenLabel(this, "fsut1");
    fsut2 = hiddenLabel(this, "fsut2");

    const int width = int(std::ceil(m_geometry.width() * qreal(m_dpi) / kTwipsPerInch));
    const int height = int(std::ceil(m_geometry.height() * qreal(m_dpi) / kTwipsPerInch));
    m_image = QImage(width, height, QImage::Format_RGB32);
    const int dotsPerMeter = int(std::lround(m_dpi / 0.0254));
    m_image.setDotsPerMeterX(dotsPerMeter);
    m_image.setDotsPerMeterY(dotsPerMeter);
    m_image.fill(Qt::white);
    QList<FieldDef> fields;
    for (int row = 0; row < m_model.rowCount(); ++row)
        fields.append(m_model.field(row));
    QPainter painter(&m_image);
    drawForm(painter, m_geometry, fields, true);

    setFixedSize(m_image.size());
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
}

VisualDesigner::~VisualDesigner()
{
    delete m_placement;
}

PlacementDialog *VisualDesigner::placement() const
{
    return m_placement;
}

QPoint VisualDesigner::toPixels(QPoint twips) const
{
    return {twipsToPixels(twips.x(), m_dpi), twipsToPixels(twips.y(), m_dpi)};
}

QPoint VisualDesigner::toTwips(QPoint pixels) const
{
    return {pixelsToTwips(pixels.x(), m_dpi), pixelsToTwips(pixels.y(), m_dpi)};
}

Cell VisualDesigner::cellAt(QMouseEvent *event) const
{
    const QPoint twips = toTwips(event->position().toPoint());
    return m_geometry.hitTest(twips.x(), twips.y());
}

void VisualDesigner::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    for (const QRect &rect : event->region())
        painter.drawImage(rect, m_image, rect);
}

void VisualDesigner::mousePressEvent(QMouseEvent *event)
{
    const Cell cell = cellAt(event);
    const int field = cornerField(cell);
    if (field >= 0 && event->button() == Qt::RightButton) {
        if (MsgBox::show(this, QStringLiteral("Bilgi hücresi iptal edilecek. Emin misiniz?"),
                         MsgBox::Buttons::OkCancel, MsgBox::Icon::Question) == MsgBox::Answer::Ok)
            deleteField(field);
        m_marked = {};
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    // A press outside the grid leaves no rectangle.
    m_marked = {cell.row, cell.row, cell.column, cell.column};
    if (cell.isCell())
        markCells(m_marked, {});
}

void VisualDesigner::mouseMoveEvent(QMouseEvent *event)
{
    const Cell cell = cellAt(event);
    QString caption = QStringLiteral(" Optik Form  ( ") + m_model.name() +
                      QStringLiteral(" )                Satır : ") + QString::number(cell.row) +
                      QStringLiteral("     Sütun : ") + QString::number(cell.column);
    if (cell.isCell())
        caption += QStringLiteral("      ") + m_model.mapCell(cell.row - 1, cell.column - 1);
    emit statusCaption(caption);

    if (m_marked.isSet() && event->buttons() == Qt::LeftButton && cell.isCell()) {
        const CellBox grown = m_marked.grownTo(cell);
        markCells(grown, m_marked);
        m_marked = grown;
    }
}

void VisualDesigner::mouseReleaseEvent(QMouseEvent *)
{
    if (!m_marked.isSet())
        return;
    fsat1->setText(QString::number(m_marked.startRow));
    fsat2->setText(QString::number(m_marked.endRow));
    fsut1->setText(QString::number(m_marked.startColumn));
    fsut2->setText(QString::number(m_marked.endColumn));
    setEnabled(false);
    // The dialog belongs to the preview window: a child of this disabled window would be
    // disabled too.
    m_placement = new PlacementDialog(m_model, this, window());
    m_placement->show();
}

int VisualDesigner::cornerField(Cell cell) const
{
    if (!cell.isCell())
        return -1;
    // The form is shown turned by half a circle when the marks are on the right, so a field's
    // upper-left cell on the screen is its end row and end column.
    for (int row = 0; row < m_model.rowCount(); ++row) {
        const FieldDef field = m_model.field(row);
        if (!hasCoordinates(field))
            continue;
        const CellBox box = boxOf(field);
        const Cell corner = m_geometry.marksRight() ? Cell{box.endRow, box.endColumn}
                                                    : Cell{box.startRow, box.startColumn};
        if (corner == cell)
            return row;
    }
    return -1;
}

void VisualDesigner::deleteField(int row)
{
    // The model frees the map, moves the later fields up, labels their cells with their new
    // numbers and brings positions and lengths up to date.
    const CellBox box = boxOf(m_model.field(row)).intersected(m_geometry.cells());
    m_model.deleteRow(row);
    redrawCells(box);
}

void VisualDesigner::redrawCells(const CellBox &box)
{
    if (box.isEmpty())
        return;
    QPainter painter(&m_image);
    FormPainter form(painter, m_geometry);
    for (int row = box.startRow; row <= box.endRow; ++row)
        for (int column = box.startColumn; column <= box.endColumn; ++column)
            form.erasedCell({row, column});
    // A field that shared cells with the wiped ones keeps its look there.
    for (int i = 0; i < m_model.rowCount(); ++i) {
        const FieldDef field = m_model.field(i);
        if (hasCoordinates(field))
            form.field(field, FormPainter::Both, box);
    }
    repaintCells(form, box);
}

void VisualDesigner::markCells(const CellBox &box, const CellBox &already)
{
    QPainter painter(&m_image);
    FormPainter form(painter, m_geometry);
    // Cells marked before are red already: only the new ones are drawn and repainted.
    for (const CellBox &band : addedBands(box, already)) {
        for (int row = band.startRow; row <= band.endRow; ++row)
            for (int column = band.startColumn; column <= band.endColumn; ++column)
                form.fieldBubble({row, column});
        repaintCells(form, band);
    }
}

void VisualDesigner::repaintCells(const FormPainter &form, const CellBox &box)
{
    update(form.deviceRect({box.startRow, box.startColumn})
               .united(form.deviceRect({box.endRow, box.endColumn})));
}

void VisualDesigner::drawCharacters(const FieldDef &field)
{
    const CellBox box = boxOf(field).intersected(m_geometry.cells());
    if (box.isEmpty())
        return;
    QPainter painter(&m_image);
    FormPainter form(painter, m_geometry);
    form.field(field, FormPainter::Characters, box);
    repaintCells(form, box);
}

void VisualDesigner::dropMarking(const CellBox &box)
{
    redrawCells(box.intersected(m_geometry.cells()));
}

void VisualDesigner::placementClosed()
{
    // A later release of another button must not hand this rectangle over again.
    m_marked = {};
    setEnabled(true);
}

void VisualDesigner::closePlacement()
{
    if (m_placement)
        m_placement->reject();
}
