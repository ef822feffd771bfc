#include "serviceformat.h"

#include "freeformat.h"
#include "val.h"

#include <algorithm>

namespace {

constexpr int kHeaderLength = 11;

// The two-digit number at 1-based position `at`, read as Val() reads it.
int number(const QByteArray &item, int at)
{
    return int(Val(QString::fromLatin1(item.mid(at - 1, 2))));
}

char charAt(const QByteArray &item, int at)
{
    return at <= item.size() ? item.at(at - 1) : '\0';
}

// The header is 11 characters; a header that goes on with its "[caption]" is still the header
// when it opens the file (counted as a field it would make every sheet look short).
bool isHeader(const QByteArray &item, bool first)
{
    return item.size() == kHeaderLength ||
           (first && item.size() > kHeaderLength && item.at(kHeaderLength) == '[');
}

} // namespace

ServiceFormat ServiceFormat::fromFile(const QByteArray &contents)
{
    ServiceFormat format;
    format.items = freeFormatFields(contents);
    for (qsizetype i = 0; i < format.items.size(); ++i) {
        const QByteArray &item = format.items.at(i);
        if (isHeader(item, i == 0)) {
            format.direction = charAt(item, 10);
            continue;
        }
        const int length = charAt(item, 15) == 'Y' ? number(item, 4) - number(item, 1) + 1
                                                   : number(item, 10) - number(item, 7) + 1;
        // A reversed rectangle yields nothing; a negative count would cut the other fields.
        format.fieldLengths.append(std::max(length, 0));
        format.dataLength += format.fieldLengths.last();
        if (charAt(item, 13) != 'H')
            ++format.dataLength;
    }
    format.lastItemShort = !format.items.isEmpty() && format.items.last().size() < 12;
    return format;
}

QByteArray ServiceFormat::dataLine(const QByteArray &received) const
{
    if (direction == 'D')
        return received;
    QByteArray line;
    line.reserve(received.size());
    qsizetype at = 0;
    for (const int length : fieldLengths) {
        QByteArray field = received.mid(at, length);
        std::reverse(field.begin(), field.end());
        line += field;
        at += length;
    }
    return line;
}
