#include "findtext.h"

#include <algorithm>

QString foldForSearch(const QString &text)
{
    QString folded(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch == u'i')
            folded[i] = QChar(0x0130);
        else if (ch == QChar(0x0131))
            folded[i] = u'I';
        else
            folded[i] = ch.toUpper();
    }
    return folded;
}

int findForward(const QString &text, const QString &what, int from, bool caseSensitive)
{
    if (what.isEmpty() || from < 0 || from > text.size())
        return -1;
    if (caseSensitive)
        return int(text.indexOf(what, from));
    return int(foldForSearch(text).indexOf(foldForSearch(what), from));
}

int findBackward(const QString &text, const QString &what, int before, bool caseSensitive)
{
    if (what.isEmpty() || before <= 0)
        return -1;
    const QString hay = caseSensitive ? text : foldForSearch(text);
    const QString needle = caseSensitive ? what : foldForSearch(what);
    const int last = std::min(before - 1, int(hay.size() - needle.size()));
    for (int pos = last; pos >= 0; --pos) {
        if (QStringView(hay).mid(pos, needle.size()) == needle)
            return pos;
    }
    return -1;
}
