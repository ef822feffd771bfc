#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class SheetImage;

// The form as the reader's firmware holds it after a download. The downloaded text is one
// stream: the header (11 characters, optionally "[caption]"), then the field lines with nothing
// between them. Each field line is 16 fixed characters "RR=RR=CC=CC=H=O=", the character set
// and "=X="; a "[title]" and a "(check)" after it, and CR LF or blanks between the records, are
// skipped, because the service console downloads the file lines as they stand.
struct ReaderField
{
    int startRow = 0;
    int endRow = 0;
    int startColumn = 0;
    int endColumn = 0;
    char orientation = 'Y'; // 'Y': a character per row, coded across columns; 'D': per column
    QByteArray characterSet;

    int length() const; // characters the field adds to a sheet's data
    int setLength() const;
};

struct ReaderFormat
{
    int timingMarks = 0;
    char direction = 'D'; // 'T': timing marks on the right of the sheet
    QList<ReaderField> fields;

    bool marksOnRight() const { return direction == 'T'; }
    int expectedLength() const;

    // False, with the reason in *error, when the stream is not a well-formed format.
    static bool parse(const QByteArray &stream, ReaderFormat *format, QString *error);
};

// Where the cell of form row `row` and form column `column` (both counted from 1, columns from
// the timing marks) lies on a scanned sheet: timing-mark line and eye, both counted from 0.
//
// A sheet is scanned as it lies in the tray, eye 0 at its left edge, line 0 at its top. A form
// with its marks on the left ("D") is read as it lies. A form with its marks on the right ("T")
// is defined on the sheet turned half round so that its marks come to the left: its form row r
// is scanned on line timingMarks - r and its form column c by eye 48 - c. Its character sets
// are written reversed, so that each character still lands on its own cell, and its fields
// come out last character first; the station turns every field of such a form round.
struct SheetCell
{
    int line = 0;
    int eye = 0;
};
SheetCell sheetCellOf(const ReaderFormat &format, int row, int column);

// The sheet's data: every field in format order, each character the set's character of its
// one marked cell, ' ' for none and '*' for several. A cell counts as marked when its eye value
// (0 to 255) reaches lowerLimit; an empty cell never does, even with a limit of 0.
QByteArray decodeSheet(const ReaderFormat &format, const SheetImage &sheet, int lowerLimit);
