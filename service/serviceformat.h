#pragma once

#include <QByteArray>
#include <QList>

// An FMT file as the console downloads it: the file's free-format fields sent as they stand
// (titles and checks included; the reader skips them), the direction letter of the header, and
// the console's own count of the characters a sheet yields, field by field.
struct ServiceFormat
{
    QList<QByteArray> items; // what goes to the reader, in file order
    char direction = 0;      // character 10 of the header
    QList<int> fieldLengths;
    int dataLength = 0;
    bool lastItemShort = false; // the file ends with a field too short to be a field line

    static ServiceFormat fromFile(const QByteArray &contents);
    QByteArray downloadText() const { return items.join(); }

    // The data line as it goes to the DAT file: as received for forms read with their marks on
    // the left ("D"), else with every field's characters in reverse order.
    QByteArray dataLine(const QByteArray &received) const;
};
