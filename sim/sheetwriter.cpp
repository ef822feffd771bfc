#include "sheetwriter.h"

#include "readerformat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace SheetWriter {

bool makeSheet(const ReaderFormat &format, const QList<QByteArray> &values, int status,
               SheetImage *sheet, QString *error)
{
    const auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (values.size() > format.fields.size())
        return fail(
            QStringLiteral("%1 values for %2 fields").arg(values.size()).arg(format.fields.size()));
    if (status < 0 || status > 255)
        return fail(QStringLiteral("status %1 is not a byte").arg(status));

    SheetImage result;
    result.status = status;
    for (int line = 0; line < format.timingMarks; ++line)
        result.lines.append(QByteArray(SheetImage::kEyeCount, '\0'));

    for (int f = 0; f < values.size(); ++f) {
        const ReaderField &field = format.fields.at(f);
        QByteArray value = values.at(f);
        if (value.size() > field.length())
            return fail(QStringLiteral("value %1 is longer than its field (%2 characters)")
                            .arg(f + 1)
                            .arg(field.length()));
        value = value.leftJustified(field.length(), ' ');
        if (format.marksOnRight())
            std::reverse(value.begin(), value.end()); // the reader sends such fields backwards

        for (int position = 0; position < value.size(); ++position) {
            const char wanted = value.at(position);
            QList<int> cells;
            if (wanted == '*') {
                if (field.setLength() < 2)
                    return fail(QStringLiteral("field %1 has a single cell: '*' cannot be marked")
                                    .arg(f + 1));
                cells = {0, 1};
            } else if (wanted != ' ') {
                const int index = field.characterSet.indexOf(wanted);
                if (index < 0)
                    return fail(QStringLiteral("value %1: byte 0x%2 is not in the field's set")
                                    .arg(f + 1)
                                    .arg(quint8(wanted), 2, 16, QLatin1Char('0')));
                cells = {index};
            }
            for (const int index : cells) {
                const int row =
                    field.orientation == 'Y' ? field.startRow + position : field.startRow + index;
                const int column = field.orientation == 'Y' ? field.startColumn + index
                                                            : field.startColumn + position;
                const SheetCell cell = sheetCellOf(format, row, column);
                result.setGrey(cell.line, cell.eye, SheetImage::kFullMark);
            }
        }
    }
    *sheet = result;
    return true;
}

bool makeSheet(const QByteArray &fmtText, const QList<QByteArray> &values, int status,
               SheetImage *sheet, QString *error)
{
    ReaderFormat format;
    QString why;
    if (!ReaderFormat::parse(fmtText, &format, &why)) {
        if (error)
            *error = QStringLiteral("unusable FMT text: %1").arg(why);
        return false;
    }
    return makeSheet(format, values, status, sheet, error);
}

bool writeSheetFile(const QString &fmtPath, const QList<QByteArray> &values, int status,
                    const QString &sheetPath, QString *error)
{
    QFile fmt(fmtPath);
    if (!fmt.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(fmtPath, fmt.errorString());
        return false;
    }
    SheetImage sheet;
    if (!makeSheet(fmt.readAll(), values, status, &sheet, error))
        return false;
    // Written whole under a hidden name, then renamed: a running reader lists the tray at any
    // moment and skips hidden files, so it never feeds half a sheet.
    const QFileInfo target(sheetPath);
    const QString partPath =
        target.dir().filePath(QLatin1Char('.') + target.fileName() + QStringLiteral(".part"));
    QFile out(partPath);
    const QByteArray text = sheet.toText();
    const bool written = out.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                         out.write(text) == text.size() && out.flush();
    const QString writeError = out.errorString();
    out.close();
    if (!written || std::rename(QFile::encodeName(partPath).constData(),
                                QFile::encodeName(sheetPath).constData()) != 0) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(
                sheetPath, written ? QString::fromLocal8Bit(std::strerror(errno)) : writeError);
        QFile::remove(partPath);
        return false;
    }
    return true;
}

} // namespace SheetWriter
