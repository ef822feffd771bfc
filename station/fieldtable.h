#pragma once

#include <QByteArray>
#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>

// The station's copy of the loaded FMT file: the header and the fields in file order. No
// widgets: the window shows what loading reports. The values of a sheet are kept elsewhere, so
// that loading a format never touches a sheet whose record is still pending.
class FieldTable
{
public:
    static constexpr int kMaxFields = 399;
    // Beyond this many faulty lines one box says how many more there are.
    static constexpr int kShownFaultyLines = 5;

    struct Field
    {
        QString formatLine; // as the reader receives it: no title, no check text
        QString title;
        QString check;
        int length = 0;
    };

    struct LoadReport
    {
        QStringList messages; // one box each, in order
        bool faulty = false;
        bool hasCaption = false;
        QString caption;
    };

    // Reads the file's items; every bad line makes the format faulty and gets its message (the
    // first few; then one message counts the rest).
    LoadReport load(const QByteArray &fileBytes);
    void clear();

    const QString &headerLine() const { return m_header; }
    const QList<Field> &fields() const { return m_fields; }
    qsizetype fieldCount() const { return m_fields.size(); }
    QChar directionLetter() const { return m_direction; }
    bool formatFaulty() const { return m_faulty; }
    bool isLoaded() const { return !m_header.isEmpty() || !m_fields.isEmpty(); }

    QList<int> fieldLengths() const;
    // Sum of the field lengths: the characters one sheet yields.
    int recordLength() const;
    // The bytes the reader receives: the header and field lines without titles and check
    // texts, nothing between them.
    QByteArray downloadText() const;

private:
    QString m_header;
    QList<Field> m_fields;
    QChar m_direction;
    bool m_faulty = false;
};
