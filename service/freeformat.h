#pragma once

#include <QByteArray>
#include <QList>

// Fields of a text file read the way the console reads path.txt and FMT files: a field ends at
// a comma or at the end of a line (CR LF, LF or CR), blanks around it are dropped, and a field
// that starts with a double quote runs to the next quote (commas inside it included; the rest
// up to the next comma or line end is dropped). Lines with nothing on them give no field.
QList<QByteArray> freeFormatFields(const QByteArray &contents);
