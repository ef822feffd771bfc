#include "sheetimage.h"

namespace {

// Bytes 0..15 stand for grey values; the text shows them as the file writes them.
char greyChar(int value)
{
    if (value <= 0)
        return '.';
    if (value >= SheetImage::kFullMark)
        return 'X';
    return value <= 9 ? char('0' + value) : '9';
}

} // namespace

int SheetImage::grey(int line, int eye) const
{
    if (line < 0 || line >= lines.size() || eye < 0 || eye >= kEyeCount)
        return 0;
    return quint8(lines.at(line).at(eye));
}

int SheetImage::eyeValue(int line, int eye) const
{
    const int value = grey(line, eye);
    return value >= kFullMark ? kFullEye : qMin(kFullEye, value * kEyeStep);
}

void SheetImage::setGrey(int line, int eye, int value)
{
    if (line < 0 || eye < 0 || eye >= kEyeCount)
        return;
    while (lines.size() <= line)
        lines.append(QByteArray(kEyeCount, '\0'));
    lines[line][eye] = char(qBound(0, value, kFullMark));
}

bool SheetImage::parse(const QByteArray &text, SheetImage *sheet, QString *error)
{
    SheetImage result;
    result.name = sheet->name;
    QList<QByteArray> rows = text.split('\n');
    if (!rows.isEmpty() && rows.last().isEmpty())
        rows.removeLast(); // the final line break ends the last row, it adds none

    bool inHeader = true;
    for (int i = 0; i < rows.size(); ++i) {
        QByteArray row = rows.at(i);
        if (row.endsWith('\r'))
            row.chop(1);
        const auto fail = [&](const QString &why) {
            if (error)
                *error = QStringLiteral("line %1: %2").arg(i + 1).arg(why);
            return false;
        };
        if (inHeader && row.startsWith('#')) {
            const QByteArray directive = row.mid(1).trimmed();
            if (directive.startsWith("status")) {
                bool ok = false;
                const int status = directive.mid(6).trimmed().toInt(&ok);
                if (!ok || status < 0 || status > 255)
                    return fail(QStringLiteral("status must be a number from 0 to 255"));
                result.status = status;
            }
            continue;
        }
        inHeader = false;
        if (row.size() > kEyeCount)
            return fail(QStringLiteral("more than %1 characters").arg(kEyeCount));
        QByteArray greys(kEyeCount, '\0');
        for (int eye = 0; eye < row.size(); ++eye) {
            const char c = row.at(eye);
            if (c == 'X' || c == 'x')
                greys[eye] = char(kFullMark);
            else if (c >= '1' && c <= '9')
                greys[eye] = char(c - '0');
            else if (c != '.')
                return fail(QStringLiteral("'%1' is not '.', '1'-'9' or 'X'").arg(QChar(c)));
        }
        result.lines.append(greys);
    }
    *sheet = result;
    return true;
}

QByteArray SheetImage::toText() const
{
    QByteArray text;
    if (status != 0)
        text += "#status " + QByteArray::number(status) + '\n';
    for (const QByteArray &line : lines) {
        QByteArray row(kEyeCount, '.');
        for (int eye = 0; eye < kEyeCount; ++eye)
            row[eye] = greyChar(quint8(line.at(eye)));
        text += row + '\n';
    }
    return text;
}
