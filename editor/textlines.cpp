#include "textlines.h"

#include "cp1254.h"

#include <array>

TextLines splitTextLines(const QByteArray &bytes)
{
    const QString all = fromCp1254(bytes);
    TextLines text;
    std::array<int, 3> counts{};
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < all.size(); ++i) {
        const QChar ch = all.at(i);
        if (ch != u'\r' && ch != u'\n')
            continue;
        LineEnd end = ch == u'\n' ? LineEnd::Lf : LineEnd::Cr;
        text.lines.append(all.mid(lineStart, i - lineStart));
        if (end == LineEnd::Cr && i + 1 < all.size() && all.at(i + 1) == u'\n') {
            end = LineEnd::CrLf;
            ++i;
        }
        text.ends.append(end);
        ++counts[size_t(end)];
        lineStart = i + 1;
    }
    text.lines.append(all.mid(lineStart));

    // Ties go to CR LF, the system's own line end.
    text.usual = LineEnd::CrLf;
    if (counts[size_t(LineEnd::Lf)] > counts[size_t(text.usual)])
        text.usual = LineEnd::Lf;
    if (counts[size_t(LineEnd::Cr)] > counts[size_t(text.usual)])
        text.usual = LineEnd::Cr;
    return text;
}

QByteArray lineEndBytes(LineEnd end)
{
    switch (end) {
    case LineEnd::Lf:
        return QByteArrayLiteral("\n");
    case LineEnd::Cr:
        return QByteArrayLiteral("\r");
    case LineEnd::CrLf:
        break;
    }
    return QByteArrayLiteral("\r\n");
}

QByteArray joinTextLines(const TextLines &text)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < text.lines.size(); ++i) {
        bytes += toCp1254(text.lines.at(i));
        if (i + 1 < text.lines.size())
            bytes += lineEndBytes(i < text.ends.size() ? text.ends.at(i) : text.usual);
    }
    if (!text.lines.isEmpty() && !text.lines.last().isEmpty())
        bytes += lineEndBytes(text.usual);
    return bytes;
}
