#include "freeformat.h"

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

} // namespace

QList<QByteArray> freeFormatFields(const QByteArray &contents)
{
    QList<QByteArray> fields;
    const qsizetype size = contents.size();
    qsizetype at = 0;
    bool afterComma = false; // an empty field between two commas still counts
    while (at < size) {
        while (at < size && isBlank(contents.at(at)))
            ++at;
        if (at < size && isLineEnd(contents.at(at)) && !afterComma) {
            ++at;
            continue;
        }
        QByteArray field;
        if (at < size && contents.at(at) == '"') {
            const qsizetype close = contents.indexOf('"', at + 1);
            const qsizetype end = close < 0 ? size : close;
            field = contents.mid(at + 1, end - at - 1);
            at = close < 0 ? size : close + 1;
            while (at < size && contents.at(at) != ',' && !isLineEnd(contents.at(at)))
                ++at;
        } else {
            const qsizetype start = at;
            while (at < size && contents.at(at) != ',' && !isLineEnd(contents.at(at)))
                ++at;
            field = contents.mid(start, at - start);
            while (!field.isEmpty() && isBlank(field.back()))
                field.chop(1);
        }
        fields.append(field);
        afterComma = at < size && contents.at(at) == ',';
        if (at < size)
            ++at;
        if (!afterComma && at < size && contents.at(at - 1) == '\r' && contents.at(at) == '\n')
            ++at;
    }
    return fields;
}
