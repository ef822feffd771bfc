#include "fieldtable.h"

#include "cp1254.h"
#include "fmtfile.h"
#include "fmtline.h"
#include "msgbox.h"
#include "val.h"

void FieldTable::clear()
{
    m_header.clear();
    m_fields.clear();
    m_direction = QChar();
    m_faulty = false;
}

FieldTable::LoadReport FieldTable::load(const QByteArray &fileBytes)
{
    LoadReport report;
    const QStringList items = formdef::readItems(fileBytes);
    clear();

    if (items.isEmpty()) {
        report.messages << QStringLiteral("FMT dosyası boş: başlık satırı yok.");
        m_faulty = true;
    } else if (items.size() - 1 > kMaxFields) {
        // Beyond the table: refuse the whole file rather than read part of a form.
        report.messages << QStringLiteral("FMT dosyasında %1 alan satırı var; en çok %2 alan "
                                          "satırı okunabilir.")
                               .arg(items.size() - 1)
                               .arg(kMaxFields);
        m_faulty = true;
    }
    if (m_faulty) {
        report.faulty = true;
        return report;
    }

    const formdef::HeaderLineParts header = formdef::splitHeaderLine(items.first());
    m_direction = header.direction;
    m_header = header.line;
    report.hasCaption = items.first().contains(formdef::kTitleOpen);
    report.caption = header.caption;

    int faultyLines = 0;
    for (qsizetype i = 1; i < items.size(); ++i) {
        const formdef::FieldLineParts parts = formdef::splitFieldLine(items[i]);
        const formdef::FieldLineCheck check = formdef::fmt_kontrol(parts.line);
        m_fields.append({parts.line, parts.title, parts.check, check.fieldLength});
        const bool bad = check.fieldLength == 0;
        // A file that is not a form at all would otherwise bring one box per line.
        if ((bad || check.missingEnd) && faultyLines < kShownFaultyLines) {
            if (check.missingEnd)
                report.messages << QStringLiteral("son");
            if (bad)
                report.messages << QStringLiteral("fmt dosyasının ") + signedText(int(i + 1)) +
                                       QStringLiteral(". satırı Hatalı>>") +
                                       MsgBox::quoted(parts.line);
        }
        if (bad) {
            ++faultyLines;
            m_faulty = true;
        }
    }
    if (faultyLines > kShownFaultyLines)
        report.messages << QStringLiteral("fmt dosyasında %1 satır daha hatalı.")
                               .arg(faultyLines - kShownFaultyLines);
    report.faulty = m_faulty;
    return report;
}

QList<int> FieldTable::fieldLengths() const
{
    QList<int> lengths;
    lengths.reserve(m_fields.size());
    for (const Field &field : m_fields)
        lengths.append(field.length);
    return lengths;
}

int FieldTable::recordLength() const
{
    return formdef::recordLength(fieldLengths());
}

QByteArray FieldTable::downloadText() const
{
    QByteArray bytes = toCp1254(m_header);
    for (const Field &field : m_fields)
        bytes += toCp1254(field.formatLine);
    return bytes;
}
