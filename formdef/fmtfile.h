#pragma once

#include <QByteArray>
#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// A whole FMT file: the station's item-by-item reading, the designer's reading by position and
// its writing, and the layout of the data record. Files are code page 1254 bytes.

namespace formdef {

// The items of a file as the station reads them: an item ends at a comma or a line end, is
// trimmed of blanks, and an empty item is skipped without being counted. The first item is
// the header (the station's line 1), the next ones the field lines 2, 3, …
QStringList readItems(const QByteArray &fileBytes);

// One field as the designer holds it: the texts of its grid row, numbers as they stand.
struct FieldDef
{
    QString startRow;
    QString endRow;
    QString startColumn;
    QString endColumn;
    QString orientation; // "Y" or "D"
    QString characterSet;
    QString title;
    QString check;

    // From the numeric values of the texts; any orientation but "D" counts as "Y".
    int length() const;
    int setLength() const;

    bool operator==(const FieldDef &) const = default;
};

struct Definition
{
    QString count;          // timing marks, as it stands in the header ("05")
    QChar direction = u'D'; // "T": marks on the right; anything else read counts as "D"
    QList<FieldDef> fields;

    bool operator==(const Definition &) const = default;
};

// Reads a file by position: count and direction from the header (the first non-blank line),
// then per further non-blank line the numbers at 1–2, 4–5, 7–8, 10–11, the orientation at 15
// and, from position 17 on, the set (up to its first "=", "[" or "("), the title (between "[" and
// "]") and the check text (between "(" and ")"). Lines are trimmed of blanks first, as the station
// trims them. Every field line is read: a designer that holds fewer (kDesignerMaxFields) must
// say so rather than drop the rest at its next save.
Definition readDefinition(const QByteArray &fileBytes);

// A grid text as a whole number for arithmetic: its numeric value rounded, 0 when there is
// none, clamped so that a text like "1e300" cannot overflow what is computed from it.
int numberOf(const QString &text);
// The value of a text when it is a whole number from 1 to 99, which two digits can hold.
std::optional<int> twoDigitValue(const QString &text);

// What would end a part of a field line early: never in the set, the title or the check text.
inline constexpr QStringView kSetForbidden = u"=[](),";
inline constexpr QStringView kTitleForbidden = u"[](),";
inline constexpr QStringView kCheckForbidden = u"(),";
// Whether a text goes into a line and reads back as it is: none of `forbidden`, no line end,
// and every character one of code page 1254.
bool writesBack(const QString &text, QStringView forbidden);

// Why a definition cannot be written so that it reads back as it is, or so that the station
// takes it.
enum class WriteFault {
    None,
    Count,         // not a whole number from 1 to 99
    Direction,     // not "D" or "T"
    TooManyFields, // more field lines than the station's table holds
    Number,        // a row or column not a whole number from 1 to 99
    Orientation,   // not "Y" or "D"
    Text,          // set, title or check text holds a character that ends it early, or none of 1254
    Line,          // the station's line check refuses the written line
};

struct WriteCheck
{
    WriteFault fault = WriteFault::None;
    int field = 0; // 1-based position in Definition::fields; 0 for the header and the count
};

// Fields with a start row whose value is above 0 are written; the others are left out, as the
// designer leaves its empty grid rows out.
bool isWritten(const FieldDef &field);

// Refuses what would make a file that reads back differently (a number without two digits
// shifts every later position, a bracket or comma in a text cuts it) and what the station
// would refuse as faulty (its line check, more than 399 field lines).
WriteCheck checkForWriting(const Definition &definition);

// The file: header "count=highest end column=00=direction=", then per written field the four
// numbers as two digits joined by "=", "=H=", orientation, "=", set, "=X=", "[title]" and
// "(check)" when not empty; CR LF after each line; code page 1254. Nothing when
// checkForWriting finds a fault.
std::optional<QByteArray> writeDefinition(const Definition &definition);

// Puts bytes in place of the file at path as a whole: written beside it, flushed, then renamed
// over it, so that a full disk or a lost folder leaves any earlier file as it was. false with
// the system's reason in *error when the file was not replaced.
bool replaceFile(const QString &path, const QByteArray &bytes, QString *error);

// What keeps a name from being a plain file name in a folder on every system the program runs
// on; `offending` gets the character at fault where there is one.
enum class NameFault {
    None,
    Dots,          // "." or ".."
    Control,       // a control character
    Forbidden,     // a path separator or a character Windows refuses in names
    NotInCodePage, // a character code page 1254 cannot hold
    TrailingDotOrBlank,
    DeviceName, // CON, PRN, AUX, NUL, COM1…, LPT1…
};
NameFault fileNameFault(const QString &name, QString *offending = nullptr);

// Where each field's characters stand in a sheet's data record.
struct FieldSpan
{
    int start = 1; // 1-based
    int length = 0;
    bool operator==(const FieldSpan &) const = default;
};

QList<FieldSpan> recordLayout(const QList<int> &fieldLengths);
int recordLength(const QList<int> &fieldLengths);

} // namespace formdef
