#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The editor shows a file as lines but must write back the very bytes it read: the kind of each
// line end is kept beside the line, so FMT and DAT files (CR LF) and files from elsewhere (LF,
// lone CR, or a mixture) survive an unchanged open and save byte for byte.

enum class LineEnd { CrLf = 0, Lf = 1, Cr = 2 };

struct TextLines
{
    QStringList lines;             // never empty; "" for an empty file
    QList<LineEnd> ends;           // ends[i] follows lines[i]; one fewer than lines
    LineEnd usual = LineEnd::CrLf; // the file's most common end, used for new lines
};

// Bytes of code page 1254 split at CR LF, LF and lone CR. A file that ends with a line end
// yields an empty last line.
TextLines splitTextLines(const QByteArray &bytes);

// The inverse. A text that does not end with a line end gets one (the usual kind), as a
// written record always does; a text that already ends with one gets no second one, and an
// empty text stays an empty file.
QByteArray joinTextLines(const TextLines &text);

QByteArray lineEndBytes(LineEnd end);
