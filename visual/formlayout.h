#pragma once

#include "fmtfile.h"
#include "fmtline.h"

#include <QChar>
#include <QPoint>
#include <QRect>

// Where the parts of a drawn form lie, in twips, for the window and for the printout, and which
// cell a point of the window falls on. Nothing here draws.

namespace visual {

inline constexpr int kScreenPitch = 220;
inline constexpr int kPrintPitch = 239;
inline constexpr int kBubbleRadius = 80;
// Top-left corner of a field character, from its cell's centre.
inline constexpr QPoint kCharacterOffset{-40, -70};

// A form cell, counted from 1; row 0, column 0 stands for no cell.
struct Cell
{
    int row = 0;
    int column = 0;
    bool isCell() const { return row > 0 && column > 0; }
    bool operator==(const Cell &) const = default;
};

// A rectangle of cells, bounds inclusive; all four 0 is no rectangle.
struct CellBox
{
    int startRow = 0;
    int endRow = 0;
    int startColumn = 0;
    int endColumn = 0;

    bool isSet() const
    {
        return startRow != 0 && endRow != 0 && startColumn != 0 && endColumn != 0;
    }
    bool contains(int row, int column) const
    {
        return row >= startRow && row <= endRow && column >= startColumn && column <= endColumn;
    }
    // Grown to take in a cell; never smaller than before.
    CellBox grownTo(Cell cell) const;
    // The cells of both, bounds limited to the form's rows and columns; empty when they miss.
    CellBox intersected(const CellBox &other) const;
    bool isEmpty() const { return startRow > endRow || startColumn > endColumn; }
    bool operator==(const CellBox &) const = default;
};

// A grid row is drawn, found and relabelled only when it has coordinates.
bool hasCoordinates(const formdef::FieldDef &field);
CellBox boxOf(const formdef::FieldDef &field);
// The character a field shows in one of its cells: along the rows for orientation "D", along the
// columns otherwise; a null QChar past the end of its set.
QChar fieldCharacter(const formdef::FieldDef &field, int row, int column);

// The geometry of one drawing of the form: the window's (pitch 220, the size of the window) or
// the printout's (pitch 239, the page's width).
class FormGeometry
{
public:
    static FormGeometry screen(int count, bool marksRight);
    static FormGeometry printout(int count, bool marksRight, int pageWidth);

    int count() const { return m_count; }
    bool marksRight() const { return m_marksRight; }
    int pitch() const { return m_pitch; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    // The form's cells: rows 1 to count, columns 1 to 48.
    CellBox cells() const { return {1, m_count, 1, formdef::kColumns}; }

    QPoint centre(int row, int column) const;
    QRect timingMark(int index) const;
    // How many lines of marks and bubbles, counted from the top, lie wholly within `height`.
    int linesWithin(int height) const;
    // How many columns, counted from the marks, lie wholly within the width.
    int columnsWithin() const;

    // The cell under a point of the window; the sensitive areas lie off the bubbles' centres,
    // as operators have learnt to point at them. For the window's geometry only.
    Cell hitTest(int x, int y) const;

private:
    int m_count = 0;
    bool m_marksRight = false;
    int m_pitch = kScreenPitch;
    int m_width = 0;
    int m_height = 0;
    int m_firstColumnX = 0; // centre of column 1
    int m_markLeft = 0;
    int m_markWidth = 0;
    int m_markHeight = 0;
};

} // namespace visual
