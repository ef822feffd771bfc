#include "fmtfuzzentry.h"

#include "cp1254.h"
#include "fmtfile.h"
#include "fmtline.h"

using namespace formdef;

namespace {

// Items beyond this add time, not coverage.
constexpr int kItemsChecked = 64;

QString checkLine(const QString &line)
{
    const FieldLineParts parts = splitFieldLine(line);
    if (!line.startsWith(parts.line))
        return QStringLiteral("split line is not a prefix of the line");
    const FieldLineCheck check = fmt_kontrol(parts.line);
    if (check.fieldLength < 0 || check.fieldLength > kMaxNumber)
        return QStringLiteral("field length out of range");
    if (check.fieldLength > 0 && check.missingEnd)
        return QStringLiteral("valid line reported without end marker");
    if (check.fieldLength > 0) {
        // The designer's reading of the same line must give the same length.
        // A line from a file has no line end in it and starts with its first number.
        const bool oneFileLine =
            !parts.line.contains(u'\r') && !parts.line.contains(u'\n') && !isBlank(parts.line[0]);
        const Definition definition =
            readDefinition(QByteArrayLiteral("01=01=00=D=\r\n") + toCp1254(parts.line));
        if (oneFileLine &&
            (definition.fields.size() != 1 || definition.fields[0].length() != check.fieldLength))
            return QStringLiteral("designer length differs from station length");
    }
    const HeaderLineParts header = splitHeaderLine(line);
    if (header.direction != charAt(line, kDirectionPosition))
        return QStringLiteral("header direction not at position 10");
    if (!line.startsWith(header.line))
        return QStringLiteral("header line is not a prefix of the line");
    return {};
}

QString checkItems(const QByteArray &data)
{
    const QStringList items = readItems(data);
    for (qsizetype i = 0; i < items.size(); ++i) {
        const QString &item = items[i];
        if (item.isEmpty() || item != trimBlanks(item) || item.contains(kItemDelimiter) ||
            item.contains(u'\r') || item.contains(u'\n'))
            return QStringLiteral("item not trimmed, empty or holding a delimiter");
        if (i < kItemsChecked) {
            const QString broken = checkLine(item);
            if (!broken.isEmpty())
                return broken;
        }
    }
    return {};
}

QString checkRoundTrip(const QByteArray &data)
{
    const Definition read = readDefinition(data);
    const std::optional<QByteArray> written = writeDefinition(read);
    if (!written)
        return {};
    const Definition reread = readDefinition(*written);
    qsizetype writtenFields = 0;
    for (const FieldDef &field : read.fields)
        writtenFields += isWritten(field) ? 1 : 0;
    if (reread.fields.size() != writtenFields || reread.direction != read.direction)
        return QStringLiteral("written file reads back with other fields");
    if (writeDefinition(reread) != written)
        return QStringLiteral("writing is not stable");

    // What the designer wrote, the station must split into the same titles and check texts.
    const QStringList items = readItems(*written);
    if (items.size() != writtenFields + 1)
        return QStringLiteral("station counts other lines than were written");
    for (qsizetype i = 0; i < reread.fields.size(); ++i) {
        const FieldLineParts parts = splitFieldLine(items[i + 1]);
        if (parts.title != reread.fields[i].title || parts.check != reread.fields[i].check)
            return QStringLiteral("station and designer split a written line differently");
    }
    return {};
}

} // namespace

QString fmtInvariantBroken(const QByteArray &data)
{
    QString broken = checkItems(data);
    if (broken.isEmpty())
        broken = checkLine(fromCp1254(data));
    if (broken.isEmpty())
        broken = checkRoundTrip(data);
    return broken;
}
