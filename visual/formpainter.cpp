#include "formpainter.h"

#include "twips.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

using namespace formdef;

namespace visual {

namespace {

// One screen pixel at the usual 96 dots per inch; a fine but visible line on paper.
constexpr qreal kLineTwips = 15;
// How far a character can reach out of its bubble, beyond the ring.
constexpr int kInkMargin = 30;

} // namespace

QFont formFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setPointSizeF(6);
    return font;
}

FormPainter::FormPainter(QPainter &painter, const FormGeometry &geometry)
    : m_painter(painter), m_geometry(geometry),
      m_scaleX(qreal(painter.device()->logicalDpiX()) / kTwipsPerInch),
      m_scaleY(qreal(painter.device()->logicalDpiY()) / kTwipsPerInch)
{
    m_painter.setFont(formFont());
    m_ascent = QFontMetricsF(m_painter.font(), m_painter.device()).ascent();
}

QPointF FormPainter::toDevice(QPoint twips) const
{
    return {twips.x() * m_scaleX, twips.y() * m_scaleY};
}

void FormPainter::timingMarks()
{
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(Qt::black);
    for (int i = 1; i <= m_geometry.count(); ++i) {
        const QRect mark = m_geometry.timingMark(i);
        m_painter.drawRect(QRectF(toDevice(mark.topLeft()),
                                  QSizeF(mark.width() * m_scaleX, mark.height() * m_scaleY)));
    }
}

void FormPainter::circle(Cell cell, const QColor &ring, bool filled)
{
    m_painter.setPen(QPen(ring, kLineTwips * m_scaleX));
    m_painter.setBrush(filled ? QBrush(Qt::white) : QBrush(Qt::NoBrush));
    m_painter.drawEllipse(toDevice(m_geometry.centre(cell.row, cell.column)),
                          kBubbleRadius * m_scaleX, kBubbleRadius * m_scaleY);
}

void FormPainter::emptyBubble(Cell cell)
{
    circle(cell, kEmptyColour, false);
}

void FormPainter::fieldBubble(Cell cell)
{
    circle(cell, kFieldColour, false);
}

void FormPainter::erasedCell(Cell cell)
{
    circle(cell, kEmptyColour, true);
}

void FormPainter::character(Cell cell, QChar ch)
{
    if (ch.isNull())
        return;
    m_painter.setPen(Qt::black);
    const QPointF topLeft = toDevice(m_geometry.centre(cell.row, cell.column) + kCharacterOffset);
    m_painter.drawText(QPointF(topLeft.x(), topLeft.y() + m_ascent), QString(ch));
}

void FormPainter::field(const FieldDef &field, Part parts, const CellBox &within)
{
    // Cells beyond the count or column 48 have no place on the form and are skipped.
    const CellBox box = boxOf(field).intersected(within).intersected(m_geometry.cells());
    for (int row = box.startRow; row <= box.endRow; ++row) {
        for (int column = box.startColumn; column <= box.endColumn; ++column) {
            if (parts & Bubbles)
                fieldBubble({row, column});
            if (parts & Characters)
                character({row, column}, fieldCharacter(field, row, column));
        }
    }
}

QRect FormPainter::deviceRect(Cell cell) const
{
    const QPoint centre = m_geometry.centre(cell.row, cell.column);
    const int reach = kBubbleRadius + kInkMargin;
    return QRectF(toDevice(centre - QPoint(reach, reach)), toDevice(centre + QPoint(reach, reach)))
        .toAlignedRect()
        .adjusted(-1, -1, 1, 1);
}

void drawForm(QPainter &painter, const FormGeometry &geometry, const QList<FieldDef> &fields,
              bool emptyBubbles)
{
    FormPainter form(painter, geometry);
    form.timingMarks();
    if (emptyBubbles) {
        for (int row = 1; row <= geometry.count(); ++row)
            for (int column = 1; column <= kColumns; ++column)
                form.emptyBubble({row, column});
    }
    for (const FieldDef &field : fields)
        if (hasCoordinates(field))
            form.field(field, FormPainter::Both, geometry.cells());
}

} // namespace visual
