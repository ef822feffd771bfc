#include "cp1254.h"

#include <QHash>

namespace {

// 0x80..0x9F; a zero marks a byte that 1254 leaves undefined.
constexpr char16_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0,      0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0,      0x0178,
};

char16_t unicodeOf(unsigned char b)
{
    if (b >= 0x80 && b <= 0x9F)
        return kHigh[b - 0x80] ? kHigh[b - 0x80] : char16_t(b);
    switch (b) {
    case 0xD0:
        return 0x011E; // Ğ
    case 0xDD:
        return 0x0130; // İ
    case 0xDE:
        return 0x015E; // Ş
    case 0xF0:
        return 0x011F; // ğ
    case 0xFD:
        return 0x0131; // ı
    case 0xFE:
        return 0x015F; // ş
    default:
        return char16_t(b);
    }
}

const QHash<char16_t, unsigned char> &reverseTable()
{
    static const QHash<char16_t, unsigned char> table = [] {
        QHash<char16_t, unsigned char> t;
        for (int b = 0x80; b <= 0xFF; ++b)
            t.insert(unicodeOf(static_cast<unsigned char>(b)), static_cast<unsigned char>(b));
        return t;
    }();
    return table;
}

} // namespace

QChar cp1254Char(unsigned char byte)
{
    return QChar(unicodeOf(byte));
}

QString fromCp1254(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (char c : bytes)
        *out++ = QChar(unicodeOf(static_cast<unsigned char>(c)));
    return text;
}

QByteArray toCp1254(const QString &text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char *out = bytes.data();
    const auto &table = reverseTable();
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x80) {
            *out++ = char(u);
        } else {
            const auto it = table.constFind(u);
            *out++ = it != table.cend() ? char(*it) : '?';
        }
    }
    return bytes;
}
