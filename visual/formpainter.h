#pragma once

#include "formlayout.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QPointF>
#include <QRect>

class QPainter;

namespace visual {

inline const QColor kEmptyColour{0, 255, 255};
inline const QColor kFieldColour{255, 0, 0};

// The form's font: Arial, size 6, or the metric-compatible Liberation Sans where Arial is not
// installed, so that characters sit in their bubbles the same way on every system.
QFont formFont();

// Draws the parts of a form on any paint device. Positions are twips, turned into the device's
// pixels at its own resolution, so the window's image and the printed page come from the same
// calls and cannot drift apart.
class FormPainter
{
public:
    FormPainter(QPainter &painter, const FormGeometry &geometry);

    const FormGeometry &geometry() const { return m_geometry; }

    void timingMarks();
    void emptyBubble(Cell cell);
    void fieldBubble(Cell cell);
    // A white disc in a light-cyan ring: wipes a field's bubble and character.
    void erasedCell(Cell cell);
    void character(Cell cell, QChar ch);
    // The field's cells within `within` and within the form: bubbles, characters or both.
    enum Part { Bubbles = 1, Characters = 2, Both = 3 };
    void field(const formdef::FieldDef &field, Part parts, const CellBox &within);

    // The device pixels a cell's drawing can touch.
    QRect deviceRect(Cell cell) const;

private:
    QPointF toDevice(QPoint twips) const;
    void circle(Cell cell, const QColor &ring, bool filled);

    QPainter &m_painter;
    FormGeometry m_geometry;
    qreal m_scaleX;
    qreal m_scaleY;
    qreal m_ascent;
};

// The whole form: timing marks, the empty bubbles when asked for, then every grid row with
// coordinates, in grid order, as bubbles with their characters.
void drawForm(QPainter &painter, const FormGeometry &geometry,
              const QList<formdef::FieldDef> &fields, bool emptyBubbles);

} // namespace visual
