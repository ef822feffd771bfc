#include "fmtline.h"

#include "val.h"

#include <cmath>

namespace formdef {

namespace {

// The value of the two characters at a position as a row or column number, or 0 when it is
// not one: zero, negative and fractional values all describe no cell.
int twoCharNumber(QStringView line, int position)
{
    const double value = Val(textAt(line, position, 2).toString());
    if (value < 1 || value > kMaxNumber || value != std::floor(value))
        return 0;
    return int(value);
}

QStringView trimTrailingBlanks(QStringView text)
{
    qsizetype end = text.size();
    while (end > 0 && isBlank(text[end - 1]))
        --end;
    return text.first(end);
}

// Text after the first `open` up to the last character (excluded), and the text before the
// `open`. The last character is taken for the closing bracket without looking at it.
bool cutBracketPart(QStringView line, QChar open, QString *before, QString *inside)
{
    const qsizetype at = line.indexOf(open);
    if (at < 0)
        return false;
    *before = line.first(at).toString();
    const qsizetype insideLength = line.size() - at - 2;
    *inside = insideLength > 0 ? line.mid(at + 1, insideLength).toString() : QString();
    return true;
}

} // namespace

QStringList offeredSets(QChar direction)
{
    if (direction == kMarksRight)
        return {QStringLiteral("9876543210"), QStringLiteral("DCBA"), QStringLiteral("EDCBA"),
                QStringLiteral("ZYVÜUTŞSRPÖONMLKJİIHĞGFEDÇCBA")};
    return {QStringLiteral("0123456789"), QStringLiteral("ABCD"), QStringLiteral("ABCDE"),
            QStringLiteral("ABCÇDEFGĞHIİJKLMNOÖPRSŞTUÜVYZ")};
}

int fieldLength(int startRow, int endRow, int startColumn, int endColumn, QChar orientation)
{
    return orientation == kVertical ? endColumn - startColumn + 1 : endRow - startRow + 1;
}

int setLength(int startRow, int endRow, int startColumn, int endColumn, QChar orientation)
{
    return orientation == kVertical ? endRow - startRow + 1 : endColumn - startColumn + 1;
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QString trimBlanks(QStringView text)
{
    qsizetype begin = 0;
    while (begin < text.size() && isBlank(text[begin]))
        ++begin;
    return trimTrailingBlanks(text.sliced(begin)).toString();
}

QStringView textAt(QStringView line, int position, qsizetype count)
{
    const qsizetype from = position - 1;
    if (from < 0 || from >= line.size() || count <= 0)
        return {};
    return line.sliced(from, std::min(count, line.size() - from));
}

QChar charAt(QStringView line, int position)
{
    return position >= 1 && position <= line.size() ? line[position - 1] : QChar();
}

FieldLineCheck fmt_kontrol(QStringView line)
{
    FieldLineCheck result;

    const int startRow = twoCharNumber(line, 1);
    const int endRow = twoCharNumber(line, 4);
    const int startColumn = twoCharNumber(line, 7);
    const int endColumn = twoCharNumber(line, 10);
    if (!startRow || !endRow || !startColumn || !endColumn || startRow > endRow ||
        startColumn > endColumn)
        return result;

    if (charAt(line, 13) != u'H')
        return result;

    const QChar orientation = charAt(line, kOrientationPosition);
    if (orientation != kVertical && orientation != kHorizontal)
        return result;

    // Trailing blanks are dropped for the set as well, so that they cannot stand in for the
    // end marker's characters there.
    const QStringView trimmed = trimTrailingBlanks(line);
    if (!trimmed.endsWith(kEndMarker)) {
        result.missingEnd = true;
        return result;
    }

    const int n = setLength(startRow, endRow, startColumn, endColumn, orientation);
    const QStringView withoutEnd = trimmed.chopped(kEndMarker.size());
    if (trimBlanks(textAt(withoutEnd, kSetPosition, n)).size() < n)
        return result;

    for (int position : {14, 16, 3, 6, 9, 12})
        if (charAt(line, position) != kSeparator)
            return result;

    result.fieldLength = fieldLength(startRow, endRow, startColumn, endColumn, orientation);
    return result;
}

FieldLineParts splitFieldLine(QStringView line)
{
    FieldLineParts parts;
    QString rest = line.toString();
    QString before;
    if (cutBracketPart(rest, kCheckOpen, &before, &parts.check))
        rest = before;
    if (cutBracketPart(rest, kTitleOpen, &before, &parts.title))
        rest = before;
    parts.line = rest;
    return parts;
}

HeaderLineParts splitHeaderLine(QStringView line)
{
    HeaderLineParts parts;
    parts.direction = charAt(line, kDirectionPosition);
    QString before;
    parts.line =
        cutBracketPart(line, kTitleOpen, &before, &parts.caption) ? before : line.toString();
    return parts;
}

} // namespace formdef
