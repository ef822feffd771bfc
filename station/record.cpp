#include "record.h"

#include "cp1254.h"

#include <algorithm>

namespace record {

namespace {

// The 1254 byte of a character, or nothing when the code page has none: toCp1254 would give
// "?", which must not match a "?" the reader sent.
std::optional<char> byteOf(QChar ch)
{
    const QByteArray bytes = toCp1254(QString(ch));
    if (cp1254Char(static_cast<unsigned char>(bytes.at(0))) != ch)
        return std::nullopt;
    return bytes.at(0);
}

} // namespace

QList<QByteArray> splitFields(const QByteArray &sheet, const QList<int> &lengths)
{
    QList<QByteArray> values;
    values.reserve(lengths.size());
    qsizetype position = 0; // wide enough that no sum of int lengths overflows
    for (int length : lengths) {
        if (length <= 0) {
            values.append(QByteArray());
            continue;
        }
        values.append(sheet.mid(position, length)); // mid stops at the end of a short reply
        position += length;
    }
    return values;
}

void ReverseFields(QList<QByteArray> &values)
{
    for (QByteArray &value : values)
        std::reverse(value.begin(), value.end());
}

std::optional<QByteArray> constantOf(const QString &checkCell)
{
    if (!checkCell.startsWith(QLatin1Char('=')))
        return std::nullopt;
    return toCp1254(checkCell.mid(1));
}

bool CheckValue(const QByteArray &value, const QString &checkText)
{
    if (checkText.startsWith(QLatin1Char('-'))) {
        const QString piece = checkText.mid(1);
        // QByteArray::contains finds an empty piece everywhere; "-" alone would stop every sheet.
        if (piece.isEmpty())
            return false;
        QByteArray bytes;
        bytes.reserve(piece.size());
        for (QChar ch : piece) {
            const std::optional<char> byte = byteOf(ch);
            if (!byte)
                return false;
            bytes.append(*byte);
        }
        return value.contains(bytes);
    }
    for (QChar ch : checkText) {
        const std::optional<char> byte = byteOf(ch);
        if (byte && value.contains(*byte))
            return true;
    }
    return false;
}

QByteArray joinRecord(const QList<QByteArray> &values)
{
    QByteArray joined;
    qsizetype total = 0;
    for (const QByteArray &value : values)
        total += value.size();
    joined.reserve(total);
    for (const QByteArray &value : values)
        joined.append(value);
    return joined;
}

} // namespace record
