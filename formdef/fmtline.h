#pragma once

#include <QChar>
#include <QString>
#include <QStringList>
#include <QStringView>

// One line of an FMT file: the fixed layout, field lengths, the station's line check and the
// splitting of title and check text. Positions are counted from 1, as in the file's layout.
// Nothing here reads outside a line: a short line is simply invalid.

namespace formdef {

// Layout of a header line: "40=12=00=D=".
inline constexpr int kHeaderLength = 11;
inline constexpr int kDirectionPosition = 10;
inline constexpr QStringView kHeaderMiddle = u"=00=";

// Layout of a field line: "03=12=02=09=H=D=0123456789=X=[title](check)".
inline constexpr QChar kSeparator = u'=';
inline constexpr QStringView kFieldMarker = u"=H=";
inline constexpr QStringView kEndMarker = u"=X=";
inline constexpr int kOrientationPosition = 15;
inline constexpr int kSetPosition = 17;

inline constexpr QChar kTitleOpen = u'[';
inline constexpr QChar kTitleClose = u']';
inline constexpr QChar kCheckOpen = u'(';
inline constexpr QChar kCheckClose = u')';
inline constexpr QChar kItemDelimiter = u',';

// Direction letters: timing marks on the left ("Solda") or the right ("Sağda") of the sheet.
inline constexpr QChar kMarksLeft = u'D';
inline constexpr QChar kMarksRight = u'T';

// Orientation letters: one character per row ("Yatay") or per column ("Dikey").
inline constexpr QChar kHorizontal = u'Y';
inline constexpr QChar kVertical = u'D';

// Limits: two-digit numbers, the reader's 48 eyes, the station's table (header + 399 fields),
// the designer's table.
inline constexpr int kMaxNumber = 99;
inline constexpr int kColumns = 48;
inline constexpr int kStationMaxLines = 400;
inline constexpr int kDesignerMaxFields = 1000;

// The character sets the designer offers: "0123456789", "ABCD", "ABCDE" and the Turkish
// alphabet for marks on the left; the same reversed for kMarksRight. Any other letter counts
// as the left side.
QStringList offeredSets(QChar direction);

// Characters of the data record one field yields: rows for "Y", columns for "D". Any letter
// but "D" counts as "Y", as the designer computes it.
int fieldLength(int startRow, int endRow, int startColumn, int endColumn, QChar orientation);

// Length n of the character set: the cells along one character, columns for "Y", rows for
// "D"; any letter but "D" counts as "Y".
int setLength(int startRow, int endRow, int startColumn, int endColumn, QChar orientation);

// Space and tab: what the station trims from items and character sets.
bool isBlank(QChar c);
QString trimBlanks(QStringView text);

// The character at a 1-based position, or a null QChar beyond either end; up to `count`
// characters from a position, fewer or none near the end.
QChar charAt(QStringView line, int position);
QStringView textAt(QStringView line, int position, qsizetype count);

struct FieldLineCheck
{
    int fieldLength = 0;     // 0: the line is invalid
    bool missingEnd = false; // the line does not end in "=X="; the station shows "son" then
};

// The station's check of one field line without title and check text, rule by rule, stopping
// at the first failure: the four numbers (value of two characters each, non-zero, start not
// after end), "H" at 13, "D"/"Y" at 15, the end marker, the character set (trimmed; at least
// n characters, a longer set is cut to n and passes), "=" at 14 and 16, "=" at 3, 6, 9, 12.
// Unlike a bare numeric value, a number must be a whole number from 1 to 99: "-1" or ".5"
// would describe no cell of the form yet pass a mere non-zero test.
FieldLineCheck fmt_kontrol(QStringView line);

struct FieldLineParts
{
    QString line; // the field line proper, as the reader receives it
    QString title;
    QString check;
};

// Splits a field line the station's way: from the first "(" the check text, up to the line's
// last character, which is dropped as the closing bracket; then likewise the title from the
// first "[" of what remains. A part that is absent is empty.
FieldLineParts splitFieldLine(QStringView line);

struct HeaderLineParts
{
    QString line;    // the header proper, as the reader receives it
    QString caption; // text between "[" and the last character; empty when there is none
    QChar direction; // position 10; null when the line is shorter
};

// Splits a header line the station's way.
HeaderLineParts splitHeaderLine(QStringView line);

} // namespace formdef
