#pragma once

#include <QByteArray>
#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>

class QTextStream;

// A data file as a spreadsheet: one CSV row per record, one column per field of the form,
// headed by the field titles. No widgets: the command-line program and the tests use it alike.
namespace csvexport {

// The columns of a form, read as the station loads the FMT file.
struct Form
{
    QStringList titles; // a field without a title gets "Alan <n>"
    QList<int> lengths;
    int recordLength = 0;
    QStringList faults; // the station's messages when it would refuse the file; empty when usable
};

Form readForm(const QByteArray &fmtBytes);

struct WrongRecord
{
    int line = 0; // 1-based line of the data file
    int length = 0;
};

struct Table
{
    QByteArray csv; // UTF-8 with its byte-order mark, CR LF rows
    int records = 0;
    QList<WrongRecord> wrongRecords; // left out of csv, so that no other row shifts
};

// Every line of the data file (code page 1254, CR LF or LF) is one record, cut by the field
// lengths as the station cut it; a record of another length than the form's is left out.
Table toCsv(const Form &form, const QByteArray &dataBytes, QChar separator = u';');

// One cell: quoted when it holds the separator, a quote, a line end or blanks at either end
// (which some spreadsheets drop), its quotes doubled.
QString csvField(const QString &text, QChar separator);

// The program: markcsv [--virgul] FMT DAT [CSV]. Without CSV the table goes to standard output.
// Messages go to err. Returns 0 when every record was written, 1 when the files could not be
// read or written or a record was left out, 2 for a wrong command line.
int run(const QStringList &arguments, QTextStream &err);

} // namespace csvexport
