#include "fmtfile.h"

#include "cp1254.h"
#include "fmtline.h"
#include "val.h"

#include <QSaveFile>

#include <algorithm>
#include <cmath>

namespace formdef {

namespace {

bool isLineEnd(QChar c)
{
    return c == u'\r' || c == u'\n';
}

QChar letterOf(const QString &text)
{
    return text.size() == 1 ? text[0] : QChar();
}

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

// Text after the bracket at `open` up to the first `close` after it, or to the end.
QString bracketText(QStringView text, qsizetype open, QChar close)
{
    const qsizetype end = text.indexOf(close, open + 1);
    return text.sliced(open + 1, (end < 0 ? text.size() : end) - open - 1).toString();
}

QList<QStringView> splitLines(QStringView text)
{
    QList<QStringView> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i == text.size() || isLineEnd(text[i])) {
            lines.append(text.sliced(start, i - start));
            if (i + 1 < text.size() && text[i] == u'\r' && text[i + 1] == u'\n')
                ++i;
            start = i + 1;
        }
    }
    return lines;
}

// The field line proper, as the reader receives it; the numbers must have two digits.
QString fieldLineText(const FieldDef &field)
{
    QString line;
    line.append(twoDigits(*twoDigitValue(field.startRow)))
        .append(kSeparator)
        .append(twoDigits(*twoDigitValue(field.endRow)))
        .append(kSeparator)
        .append(twoDigits(*twoDigitValue(field.startColumn)))
        .append(kSeparator)
        .append(twoDigits(*twoDigitValue(field.endColumn)))
        .append(kFieldMarker)
        .append(field.orientation)
        .append(kSeparator)
        .append(field.characterSet)
        .append(kEndMarker);
    return line;
}

bool isReservedDeviceName(const QString &name)
{
    // Windows takes the part before the first dot, trailing blanks dropped, as the device.
    const QString base = name.section(u'.', 0, 0).trimmed().toUpper();
    if (base == u"CON" || base == u"PRN" || base == u"AUX" || base == u"NUL")
        return true;
    if (base.size() != 4 || !(base.startsWith(u"COM") || base.startsWith(u"LPT")))
        return false;
    // Windows also reserves the superscript digits, which code page 1254 can hold.
    const QChar digit = base.at(3);
    return (digit >= u'1' && digit <= u'9') || digit == QChar(0x00B9) || digit == QChar(0x00B2) ||
           digit == QChar(0x00B3);
}

FieldDef fieldByPosition(QStringView line)
{
    auto at = [line](int position, qsizetype count) {
        return textAt(line, position, count).toString();
    };
    FieldDef field;
    field.startRow = at(1, 2);
    field.endRow = at(4, 2);
    field.startColumn = at(7, 2);
    field.endColumn = at(10, 2);
    field.orientation = at(kOrientationPosition, 1);

    const QString restText = at(kSetPosition, line.size());
    const QStringView rest(restText);
    // The check text comes last and may hold "[" or "]", so it is cut off before the title is
    // looked for; the set ends at its first "=", or where a title or check text begins.
    const qsizetype checkAt = rest.indexOf(kCheckOpen);
    const QStringView beforeCheck = checkAt < 0 ? rest : rest.first(checkAt);
    if (checkAt >= 0)
        field.check = bracketText(rest, checkAt, kCheckClose);
    const qsizetype titleAt = beforeCheck.indexOf(kTitleOpen);
    if (titleAt >= 0)
        field.title = bracketText(beforeCheck, titleAt, kTitleClose);
    const QStringView beforeTitle = titleAt < 0 ? beforeCheck : beforeCheck.first(titleAt);
    const qsizetype setEnd = beforeTitle.indexOf(kSeparator);
    field.characterSet = (setEnd < 0 ? beforeTitle : beforeTitle.first(setEnd)).toString();
    return field;
}

} // namespace

int numberOf(const QString &text)
{
    const double value = Val(text);
    constexpr double kLimit = 1e5;
    if (!std::isfinite(value))
        return 0;
    return int(std::lround(std::clamp(value, -kLimit, kLimit)));
}

std::optional<int> twoDigitValue(const QString &text)
{
    const double value = Val(text);
    if (value < 1 || value > kMaxNumber || value != std::floor(value))
        return std::nullopt;
    return int(value);
}

bool writesBack(const QString &text, QStringView forbidden)
{
    for (QChar c : text)
        if (forbidden.contains(c) || isLineEnd(c))
            return false;
    return fromCp1254(toCp1254(text)) == text;
}

QStringList readItems(const QByteArray &fileBytes)
{
    const QString text = fromCp1254(fileBytes);
    QStringList items;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == kItemDelimiter || isLineEnd(text[i])) {
            const QString item = trimBlanks(QStringView(text).sliced(start, i - start));
            if (!item.isEmpty())
                items.append(item);
            start = i + 1;
        }
    }
    return items;
}

int FieldDef::length() const
{
    return fieldLength(numberOf(startRow), numberOf(endRow), numberOf(startColumn),
                       numberOf(endColumn), letterOf(orientation));
}

int FieldDef::setLength() const
{
    return formdef::setLength(numberOf(startRow), numberOf(endRow), numberOf(startColumn),
                              numberOf(endColumn), letterOf(orientation));
}

Definition readDefinition(const QByteArray &fileBytes)
{
    const QString text = fromCp1254(fileBytes);
    Definition definition;
    bool headerRead = false;
    for (QStringView rawLine : splitLines(text)) {
        const QString line = trimBlanks(rawLine);
        if (line.isEmpty())
            continue;
        if (!headerRead) {
            definition.count = line.first(std::min<qsizetype>(2, line.size()));
            definition.direction =
                charAt(line, kDirectionPosition) == kMarksRight ? kMarksRight : kMarksLeft;
            headerRead = true;
        } else {
            definition.fields.append(fieldByPosition(line));
        }
    }
    return definition;
}

bool isWritten(const FieldDef &field)
{
    return Val(field.startRow) > 0;
}

WriteCheck checkForWriting(const Definition &definition)
{
    if (!twoDigitValue(definition.count))
        return {WriteFault::Count, 0};
    if (definition.direction != kMarksLeft && definition.direction != kMarksRight)
        return {WriteFault::Direction, 0};
    if (std::count_if(definition.fields.cbegin(), definition.fields.cend(), isWritten) >=
        kStationMaxLines)
        return {WriteFault::TooManyFields, 0};

    for (int i = 0; i < definition.fields.size(); ++i) {
        const FieldDef &field = definition.fields.at(i);
        const int number = i + 1;
        if (!isWritten(field))
            continue;
        for (const QString *text :
             {&field.startRow, &field.endRow, &field.startColumn, &field.endColumn})
            if (!twoDigitValue(*text))
                return {WriteFault::Number, number};
        if (field.orientation != QStringView(u"Y") && field.orientation != QStringView(u"D"))
            return {WriteFault::Orientation, number};
        if (!writesBack(field.characterSet, kSetForbidden) ||
            !writesBack(field.title, kTitleForbidden) || !writesBack(field.check, kCheckForbidden))
            return {WriteFault::Text, number};
        if (fmt_kontrol(fieldLineText(field)).fieldLength == 0)
            return {WriteFault::Line, number};
    }
    return {};
}

std::optional<QByteArray> writeDefinition(const Definition &definition)
{
    if (checkForWriting(definition).fault != WriteFault::None)
        return std::nullopt;

    int highestColumn = 0;
    for (const FieldDef &field : definition.fields)
        if (isWritten(field))
            highestColumn = std::max(highestColumn, *twoDigitValue(field.endColumn));

    const QString lineEnd = QStringLiteral("\r\n");
    QString text;
    text.append(twoDigits(*twoDigitValue(definition.count)))
        .append(kSeparator)
        .append(twoDigits(highestColumn))
        .append(kHeaderMiddle)
        .append(definition.direction)
        .append(kSeparator)
        .append(lineEnd);
    for (const FieldDef &field : definition.fields) {
        if (!isWritten(field))
            continue;
        text.append(fieldLineText(field));
        if (!field.title.isEmpty())
            text.append(kTitleOpen).append(field.title).append(kTitleClose);
        if (!field.check.isEmpty())
            text.append(kCheckOpen).append(field.check).append(kCheckClose);
        text.append(lineEnd);
    }
    return toCp1254(text);
}

bool replaceFile(const QString &path, const QByteArray &bytes, QString *error)
{
    // No direct write when the folder refuses the temporary file: a write that failed halfway
    // would leave the old file cut.
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    *error = file.errorString();
    return false;
}

NameFault fileNameFault(const QString &name, QString *offending)
{
    if (name == u"." || name == u"..")
        return NameFault::Dots;
    for (const char32_t codePoint : name.toUcs4()) {
        const QString ch = QString::fromUcs4(&codePoint, 1);
        if (offending)
            *offending = ch;
        if (QChar::category(codePoint) == QChar::Other_Control)
            return NameFault::Control;
        if (codePoint < 0x80 && QStringView(u"/\\<>:\"|?*").contains(ch))
            return NameFault::Forbidden;
        if (fromCp1254(toCp1254(ch)) != ch)
            return NameFault::NotInCodePage;
    }
    if (offending)
        offending->clear();
    if (name.endsWith(u'.') || name.endsWith(u' '))
        return NameFault::TrailingDotOrBlank;
    if (isReservedDeviceName(name))
        return NameFault::DeviceName;
    return NameFault::None;
}

QList<FieldSpan> recordLayout(const QList<int> &fieldLengths)
{
    QList<FieldSpan> spans;
    spans.reserve(fieldLengths.size());
    int start = 1;
    for (int length : fieldLengths) {
        spans.append({start, length});
        start += length;
    }
    return spans;
}

int recordLength(const QList<int> &fieldLengths)
{
    int total = 0;
    for (int length : fieldLengths)
        total += length;
    return total;
}

} // namespace formdef
