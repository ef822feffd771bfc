#pragma once

#include "datafile.h"
#include "fieldtable.h"
#include "readercommands.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// The reading of sheets without a window: the format download, one sheet's exchange (tray
// query, feed and status, data), cutting the characters into field values, constants and check
// texts, and the pending record with the data file it goes to. The window turns results into
// status texts and grid cells.
//
// A sheet's record stays pending until the reader reports the next sheet, a read command
// starts, a name changes or the program ends, so that the operator can still correct it.
class SheetReader : public QObject
{
    Q_OBJECT

public:
    enum class Outcome {
        Sheet,       // values() hold the sheet; its record is pending
        NoPaper,     // the tray is empty
        StatusError, // the feed reported statusCode
        Incomplete,  // the data came short
        TimedOut,    // the reader did not answer in time
        PortError,   // the line is gone
        Aborted,     // the program is closing
        WriteFailed, // the previous sheet's record could not be written; it stays pending
        NotReady,    // no format was downloaded
    };

    struct Result
    {
        Outcome outcome = Outcome::NotReady;
        int statusCode = 0;
        QList<bool> hits; // per field: its value hit the field's check text
        bool anyHit() const { return hits.contains(true); }
    };

    explicit SheetReader(ReaderCommands &commands, QObject *parent = nullptr);

    // Downloads the format and arms the reader. The characters of one sheet, the format's field
    // lengths and its side are kept for the sheets that follow.
    bool sendFormat(const FieldTable &format);

    // One sheet; checkTexts are the grid's check cells, one per field: "=value" makes the field
    // a constant, any other text is tested against the value.
    Result readSheet(const QStringList &checkTexts);
    const QList<QByteArray> &values() const { return m_values; }

    // The data file the records go to.
    bool openDataFile(const QString &path, bool truncate);
    void closeDataFile();
    const DataFile &dataFile() const { return m_dataFile; }

    bool recordPending() const { return m_recordPending; }
    // The operator's corrected record for the pending sheet, in place of its values.
    void setEditedRecord(const QByteArray &record) { m_editedRecord = record; }
    // Called right before the pending record is written, so that an edit still open lands in
    // it; set by the window.
    void setBeforeRecordWrite(std::function<void()> hook) { m_beforeRecordWrite = std::move(hook); }
    // Writes the pending record, if any; false when the write failed (the sheet stays pending).
    bool writePendingRecord();
    QByteArray pendingRecord() const;

signals:
    void recordWritten();

private:
    ReaderCommands &m_commands;
    DataFile m_dataFile;
    QList<int> m_lengths;
    bool m_reversed = false;
    int m_expectedLength = 0;
    bool m_formatSent = false;
    QList<QByteArray> m_values;
    std::optional<QByteArray> m_editedRecord;
    bool m_recordPending = false;
    std::function<void()> m_beforeRecordWrite;
};
