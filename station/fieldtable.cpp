#include "fieldtable.h"

#include "cp1254.h"
#include "fmtfile.h"
#include "fmtline.h"
#include "val.h"

FieldTable::FieldTable()
{
    clear();
}

void FieldTable::clear()
{
    // Index 0 is unused, so that line numbers index the table directly.
    m_formatLine = QList<QString>(kMaxIndex + 1);
    m_fieldTitle = QList<QString>(kMaxIndex + 1);
    m_fieldCheck = QList<QString>(kMaxIndex + 1);
    m_fieldLength = QList<int>(kMaxIndex + 1, 0);
    m_fieldValue = QList<QByteArray>(kMaxIndex + 1);
    m_lineCount = 1;
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
    } else if (items.size() > kMaxIndex) {
        // Beyond the table: refuse the whole file rather than read part of a form.
        report.messages << QStringLiteral("FMT dosyasında %1 alan satırı var; en çok %2 alan "
                                          "satırı okunabilir.")
                               .arg(items.size() - 1)
                               .arg(kMaxIndex - 1);
        m_faulty = true;
    }
    if (m_faulty) {
        report.faulty = true;
        return report;
    }

    for (const QString &item : items) {
        if (m_lineCount == 1) {
            const formdef::HeaderLineParts header = formdef::splitHeaderLine(item);
            m_direction = header.direction;
            m_formatLine[1] = header.line;
            report.hasCaption = item.contains(formdef::kTitleOpen);
            report.caption = header.caption;
        } else {
            const formdef::FieldLineParts parts = formdef::splitFieldLine(item);
            m_fieldCheck[m_lineCount] = parts.check;
            m_fieldTitle[m_lineCount] = parts.title;
            m_formatLine[m_lineCount] = parts.line;
            const formdef::FieldLineCheck check = formdef::fmt_kontrol(parts.line);
            if (check.missingEnd)
                report.messages << QStringLiteral("son");
            if (check.fieldLength == 0) {
                report.messages << QStringLiteral("fmt dosyasının ") + signedText(m_lineCount) +
                                       QStringLiteral(". satırı Hatalı>>") + parts.line;
                m_faulty = true;
            } else {
                m_fieldLength[m_lineCount] = check.fieldLength;
            }
        }
        ++m_lineCount;
    }
    report.faulty = m_faulty;
    return report;
}

int FieldTable::recordLength() const
{
    int total = 0;
    for (int i = 1; i < m_lineCount; ++i)
        total += m_fieldLength[i];
    return total;
}

QByteArray FieldTable::downloadText() const
{
    QByteArray bytes;
    for (int i = 1; i < m_lineCount; ++i)
        bytes += toCp1254(m_formatLine[i]);
    return bytes;
}
