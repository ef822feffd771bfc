#include "val.h"

#include <cmath>

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

} // namespace

double Val(const QString &text)
{
    // Blanks anywhere are skipped, so "1 2" reads as 12.
    QString s;
    s.reserve(text.size());
    for (QChar c : text)
        if (!isBlank(c))
            s.append(c);

    if (s.size() >= 2 && s[0] == u'&') {
        const QChar kind = s[1].toUpper();
        const int base = kind == u'H' ? 16 : kind == u'O' ? 8 : 0;
        if (base) {
            long long value = 0;
            int i = 2;
            for (; i < s.size(); ++i) {
                const int digit = s[i].isDigit() ? s[i].digitValue()
                                  : (base == 16 && s[i].toUpper() >= u'A' && s[i].toUpper() <= u'F')
                                      ? s[i].toUpper().unicode() - 'A' + 10
                                      : -1;
                if (digit < 0 || digit >= base)
                    break;
                value = value * base + digit;
                if (value > 0xFFFFFFFFLL)
                    break;
            }
            return double(value);
        }
    }

    int i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-'))
        negative = s[i++] == u'-';
    QByteArray number;
    bool digits = false;
    while (i < s.size() && s[i] >= u'0' && s[i] <= u'9') {
        number.append(char(s[i++].unicode()));
        digits = true;
    }
    if (i < s.size() && s[i] == u'.') {
        number.append('.');
        ++i;
        while (i < s.size() && s[i] >= u'0' && s[i] <= u'9') {
            number.append(char(s[i++].unicode()));
            digits = true;
        }
    }
    if (!digits)
        return 0.0;
    if (i < s.size() && (s[i] == u'E' || s[i] == u'e' || s[i] == u'D' || s[i] == u'd')) {
        int j = i + 1;
        QByteArray exponent = "e";
        if (j < s.size() && (s[j] == u'+' || s[j] == u'-'))
            exponent.append(char(s[j++].unicode()));
        const int firstDigit = j;
        while (j < s.size() && s[j] >= u'0' && s[j] <= u'9')
            exponent.append(char(s[j++].unicode()));
        if (j > firstDigit)
            number.append(exponent);
    }
    bool ok = false;
    double value = number.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return 0.0;
    return negative ? -value : value;
}

QString signedText(long long value)
{
    return value < 0 ? QString::number(value) : u' ' + QString::number(value);
}
