#include "readerformat.h"

#include "sheetimage.h"

namespace {

constexpr int kHeaderLength = 11;
constexpr int kFieldFixedLength = 16;

bool isSeparator(char c)
{
    return c == '\r' || c == '\n' || c == ' ' || c == '\t';
}

bool twoDigits(const QByteArray &text, int at, int *value)
{
    const char high = text.at(at);
    const char low = text.at(at + 1);
    if (high < '0' || high > '9' || low < '0' || low > '9')
        return false;
    *value = (high - '0') * 10 + (low - '0');
    return true;
}

// Reads the stream record by record; every failure names the byte where it was noticed.
class StreamParser
{
public:
    explicit StreamParser(const QByteArray &stream) : m_stream(stream) {}

    bool parse(ReaderFormat *format, QString *error)
    {
        ReaderFormat result;
        skipSeparators();
        if (!header(&result) || !skipAnnotations())
            return fail(error);
        for (skipSeparators(); m_pos < m_stream.size(); skipSeparators()) {
            ReaderField field;
            if (!fieldLine(&field) || !skipAnnotations())
                return fail(error);
            result.fields.append(field);
        }
        *format = result;
        return true;
    }

private:
    bool fail(QString *error) const
    {
        if (error)
            *error = QStringLiteral("%1 at byte %2").arg(m_why).arg(m_failedAt + 1);
        return false;
    }
    bool problem(const QString &why, int at)
    {
        m_why = why;
        m_failedAt = at;
        return false;
    }

    void skipSeparators()
    {
        while (m_pos < m_stream.size() && isSeparator(m_stream.at(m_pos)))
            ++m_pos;
    }

    // "[title]" and "(check)" stay on the computer, but a line sent as it stands carries them.
    bool skipAnnotations()
    {
        for (;;) {
            skipSeparators();
            if (m_pos >= m_stream.size())
                return true;
            const char open = m_stream.at(m_pos);
            if (open != '[' && open != '(')
                return true;
            const int close = m_stream.indexOf(open == '[' ? ']' : ')', m_pos + 1);
            if (close < 0)
                return problem(QStringLiteral("unclosed '%1'").arg(QChar(open)), m_pos);
            m_pos = close + 1;
        }
    }

    bool header(ReaderFormat *format)
    {
        const int at = m_pos;
        if (m_stream.size() - at < kHeaderLength)
            return problem(QStringLiteral("header shorter than 11 characters"), at);
        const QByteArray text = m_stream.mid(at, kHeaderLength);
        int highestColumn = 0;
        if (!twoDigits(text, 0, &format->timingMarks) || format->timingMarks == 0 ||
            !twoDigits(text, 3, &highestColumn) || text.at(2) != '=' || text.at(5) != '=' ||
            text.at(8) != '=' || text.at(10) != '=')
            return problem(QStringLiteral("malformed header"), at);
        // The layout knows only "T" for marks on the right; every other letter means left.
        format->direction = text.at(9) == 'T' ? 'T' : 'D';
        m_pos += kHeaderLength;
        return true;
    }

    bool fieldLine(ReaderField *field)
    {
        const int at = m_pos;
        if (m_stream.size() - at < kFieldFixedLength)
            return problem(QStringLiteral("field line shorter than 16 characters"), at);
        const QByteArray fixed = m_stream.mid(at, kFieldFixedLength);
        for (int equals : {2, 5, 8, 11, 13, 15}) {
            if (fixed.at(equals) != '=')
                return problem(QStringLiteral("'=' expected"), at + equals);
        }
        if (!twoDigits(fixed, 0, &field->startRow) || !twoDigits(fixed, 3, &field->endRow) ||
            !twoDigits(fixed, 6, &field->startColumn) || !twoDigits(fixed, 9, &field->endColumn))
            return problem(QStringLiteral("two-digit number expected"), at);
        if (fixed.at(12) != 'H')
            return problem(QStringLiteral("'H' expected"), at + 12);
        field->orientation = fixed.at(14);
        if (field->orientation != 'Y' && field->orientation != 'D')
            return problem(QStringLiteral("orientation 'Y' or 'D' expected"), at + 14);
        if (field->startRow == 0 || field->startColumn == 0 || field->startRow > field->endRow ||
            field->startColumn > field->endColumn)
            return problem(QStringLiteral("empty or reversed rectangle"), at);
        if (field->endColumn > SheetImage::kEyeCount)
            return problem(QStringLiteral("column beyond the last eye"), at + 9);

        m_pos += kFieldFixedLength;
        const int setLength = field->setLength();
        if (m_stream.size() - m_pos < setLength + 3 || m_stream.mid(m_pos + setLength, 3) != "=X=")
            return problem(QStringLiteral("%1 set characters and \"=X=\" expected").arg(setLength),
                           m_pos);
        field->characterSet = m_stream.mid(m_pos, setLength);
        m_pos += setLength + 3;
        return true;
    }

    const QByteArray &m_stream;
    int m_pos = 0;
    QString m_why;
    int m_failedAt = 0;
};

} // namespace

int ReaderField::length() const
{
    return orientation == 'Y' ? endRow - startRow + 1 : endColumn - startColumn + 1;
}

int ReaderField::setLength() const
{
    return orientation == 'Y' ? endColumn - startColumn + 1 : endRow - startRow + 1;
}

int ReaderFormat::expectedLength() const
{
    int total = 0;
    for (const ReaderField &field : fields)
        total += field.length();
    return total;
}

bool ReaderFormat::parse(const QByteArray &stream, ReaderFormat *format, QString *error)
{
    return StreamParser(stream).parse(format, error);
}

SheetCell sheetCellOf(const ReaderFormat &format, int row, int column)
{
    if (format.marksOnRight())
        return {format.timingMarks - row, SheetImage::kEyeCount - column};
    return {row - 1, column - 1};
}

QByteArray decodeSheet(const ReaderFormat &format, const SheetImage &sheet, int lowerLimit)
{
    QByteArray data;
    data.reserve(format.expectedLength());
    for (const ReaderField &field : format.fields) {
        for (int position = 0; position < field.length(); ++position) {
            int marked = -1;
            bool several = false;
            for (int index = 0; index < field.setLength(); ++index) {
                const int row =
                    field.orientation == 'Y' ? field.startRow + position : field.startRow + index;
                const int column = field.orientation == 'Y' ? field.startColumn + index
                                                            : field.startColumn + position;
                const SheetCell cell = sheetCellOf(format, row, column);
                const int value = sheet.eyeValue(cell.line, cell.eye);
                if (value > 0 && value >= lowerLimit) {
                    several = marked >= 0;
                    if (several)
                        break;
                    marked = index;
                }
            }
            data += several ? '*' : marked < 0 ? ' ' : field.characterSet.at(marked);
        }
    }
    return data;
}
