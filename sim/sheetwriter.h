#pragma once

#include "sheetimage.h"

#include <QByteArray>
#include <QList>
#include <QString>

struct ReaderFormat;

// Draws sheets from a form definition and the values wanted in its fields, so tests and demos
// need no hand-drawn sheets. Values are given as the operator reads them in the data file,
// one byte string per field in the form's order: each character is marked on its own cell,
// ' ' leaves a position unmarked, '*' marks its first two cells, and a value shorter than its
// field leaves the rest unmarked. For a form with its timing marks on the right the sheet is
// drawn as it lies in the tray, so the reader sends each field last character first and the
// station, turning it round, gets the wanted value back.
namespace SheetWriter {

bool makeSheet(const ReaderFormat &format, const QList<QByteArray> &values, int status,
               SheetImage *sheet, QString *error);
// fmtText: the FMT file as it stands (CR LF lines, code page 1254, titles and checks).
bool makeSheet(const QByteArray &fmtText, const QList<QByteArray> &values, int status,
               SheetImage *sheet, QString *error);
bool writeSheetFile(const QString &fmtPath, const QList<QByteArray> &values, int status,
                    const QString &sheetPath, QString *error);

} // namespace SheetWriter
