#pragma once

#include <QByteArray>
#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>

// The station's copy of the loaded FMT file, indexed by line number: 1 is the header, 2 up to
// lineCount - 1 the field lines. No widgets: the window shows what loading reports.
class FieldTable
{
public:
    static constexpr int kMaxIndex = 400; // the header and at most 399 field lines

    struct LoadReport
    {
        QStringList messages; // one box each, in order
        bool faulty = false;
        bool hasCaption = false;
        QString caption;
    };

    FieldTable();

    // Reads the file's items; every bad line gets its message and makes the format faulty.
    LoadReport load(const QByteArray &fileBytes);
    void clear();

    int lineCount() const { return m_lineCount; }
    int fieldCount() const { return m_lineCount - 2; }
    QChar directionLetter() const { return m_direction; }
    bool formatFaulty() const { return m_faulty; }

    const QString &formatLine(int i) const { return m_formatLine[i]; }
    const QString &fieldTitle(int i) const { return m_fieldTitle[i]; }
    const QString &fieldCheck(int i) const { return m_fieldCheck[i]; }
    int fieldLength(int i) const { return m_fieldLength[i]; }
    QByteArray &fieldValue(int i) { return m_fieldValue[i]; }
    const QByteArray &fieldValue(int i) const { return m_fieldValue[i]; }

    // Sum of the field lengths: the characters one sheet yields.
    int recordLength() const;
    // The bytes the reader receives: the header and field lines without titles and check
    // texts, nothing between them.
    QByteArray downloadText() const;

private:
    QList<QString> m_formatLine;
    QList<QString> m_fieldTitle;
    QList<QString> m_fieldCheck;
    QList<int> m_fieldLength;
    QList<QByteArray> m_fieldValue;
    int m_lineCount = 1;
    QChar m_direction;
    bool m_faulty = false;
};
