#include "formlayout.h"

#include <algorithm>

using namespace formdef;

namespace visual {

namespace {

// Top of the first line of timing marks, and the first row's centre.
constexpr int kFirstMarkTop = 400;
constexpr int kFirstCentreY = 430;
// The window's margin round the grid: W = 48 × 220 + 800, H = N × 220 + 800.
constexpr int kScreenMargin = 800;

} // namespace

CellBox CellBox::grownTo(Cell cell) const
{
    return {std::min(startRow, cell.row), std::max(endRow, cell.row),
            std::min(startColumn, cell.column), std::max(endColumn, cell.column)};
}

CellBox CellBox::intersected(const CellBox &other) const
{
    return {std::max(startRow, other.startRow), std::min(endRow, other.endRow),
            std::max(startColumn, other.startColumn), std::min(endColumn, other.endColumn)};
}

bool hasCoordinates(const FieldDef &field)
{
    return numberOf(field.startRow) + numberOf(field.endRow) > 0;
}

CellBox boxOf(const FieldDef &field)
{
    return {numberOf(field.startRow), numberOf(field.endRow), numberOf(field.startColumn),
            numberOf(field.endColumn)};
}

QChar fieldCharacter(const FieldDef &field, int row, int column)
{
    const CellBox box = boxOf(field);
    const bool vertical = field.orientation.startsWith(kVertical);
    const int k = vertical ? row - box.startRow : column - box.startColumn;
    return k >= 0 && k < field.characterSet.size() ? field.characterSet.at(k) : QChar();
}

FormGeometry FormGeometry::screen(int count, bool marksRight)
{
    FormGeometry g;
    g.m_count = count;
    g.m_marksRight = marksRight;
    g.m_pitch = kScreenPitch;
    g.m_width = kColumns * kScreenPitch + kScreenMargin;
    g.m_height = count * kScreenPitch + kScreenMargin;
    g.m_firstColumnX = marksRight ? g.m_width - 420 : 420;
    g.m_markLeft = marksRight ? g.m_width - 300 : 150;
    g.m_markWidth = 150;
    g.m_markHeight = 60;
    return g;
}

FormGeometry FormGeometry::printout(int count, bool marksRight, int pageWidth)
{
    FormGeometry g;
    g.m_count = count;
    g.m_marksRight = marksRight;
    g.m_pitch = kPrintPitch;
    g.m_width = pageWidth;
    g.m_height = kFirstCentreY + count * kPrintPitch;
    g.m_firstColumnX = marksRight ? pageWidth - 1039 : 439;
    g.m_markLeft = marksRight ? pageWidth - 910 : 140;
    g.m_markWidth = 170;
    g.m_markHeight = 65;
    return g;
}

QPoint FormGeometry::centre(int row, int column) const
{
    // With the marks on the right the form is shown as printed, turned by half a circle: row 1
    // at the bottom, column 1 next to the marks counting leftwards.
    const int x = m_firstColumnX + (column - 1) * (m_marksRight ? -m_pitch : m_pitch);
    const int y = kFirstCentreY + (m_marksRight ? m_count - row : row - 1) * m_pitch;
    return {x, y};
}

QRect FormGeometry::timingMark(int index) const
{
    return {m_markLeft, kFirstMarkTop + (index - 1) * m_pitch, m_markWidth, m_markHeight};
}

int FormGeometry::linesWithin(int height) const
{
    const int firstBottom = std::max(kFirstMarkTop + m_markHeight, kFirstCentreY + kBubbleRadius);
    if (height < firstBottom)
        return 0;
    return std::min(m_count, (height - firstBottom) / m_pitch + 1);
}

int FormGeometry::columnsWithin() const
{
    const int room =
        m_marksRight ? m_firstColumnX - kBubbleRadius : m_width - kBubbleRadius - m_firstColumnX;
    return room < 0 ? 0 : std::min(kColumns, room / m_pitch + 1);
}

Cell FormGeometry::hitTest(int x, int y) const
{
    Cell cell;
    if (!m_marksRight) {
        if (x < 345 || y < 345)
            return {};
        cell = {(y - 345) / kScreenPitch + 1, (x - 345) / kScreenPitch + 1};
    } else {
        if (x > m_width - 340 || y < 345)
            return {};
        // No "+ 1" for the row: the bottom row's area ends 20 twips below its centre.
        cell = {(m_height - y - 350) / kScreenPitch, (m_width - x - 340) / kScreenPitch + 1};
        if (cell.row < 1)
            return {};
    }
    if (cell.column > kColumns || cell.row > m_count)
        return {};
    return cell;
}

} // namespace visual
