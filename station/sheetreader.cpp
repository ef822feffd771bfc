#include "sheetreader.h"

#include "fmtline.h"
#include "record.h"

SheetReader::SheetReader(ReaderCommands &commands, QObject *parent)
    : QObject(parent), m_commands(commands)
{}

bool SheetReader::sendFormat(const FieldTable &format)
{
    m_formatSent = false;
    m_lengths = format.fieldLengths();
    m_reversed = format.directionLetter() == formdef::kMarksRight;
    m_expectedLength = format.recordLength();
    if (!m_commands.downloadFormat(format.downloadText()) || !m_commands.startReading())
        return false;
    m_formatSent = true;
    return true;
}

namespace {

SheetReader::Outcome failedWait(const SerialLine::Reply &reply)
{
    switch (reply.outcome) {
    case SerialLine::Outcome::PortError:
        return SheetReader::Outcome::PortError;
    case SerialLine::Outcome::Aborted:
        return SheetReader::Outcome::Aborted;
    default:
        return SheetReader::Outcome::TimedOut;
    }
}

} // namespace

SheetReader::Result SheetReader::readSheet(const QStringList &checkTexts)
{
    Result result;
    if (!m_formatSent)
        return result;

    // An exchange cut short at the tray or status step still leaves the reader armed for the
    // next sheet, as every other sheet exchange that ends without data does.
    const auto failed = [this](const SerialLine::Reply &reply) {
        const Outcome outcome = failedWait(reply);
        if (outcome == Outcome::TimedOut)
            m_commands.startReading();
        return outcome;
    };

    const SerialLine::Reply paper = m_commands.trayQuery();
    if (!paper.ok()) {
        result.outcome = failed(paper);
        return result;
    }
    if (paper.bytes.at(0) == 0) {
        // The last sheet of a run stays pending, so the operator can still correct it.
        m_commands.startReading();
        result.outcome = Outcome::NoPaper;
        return result;
    }
    // Another sheet is coming: the one shown is done with.
    if (!writePendingRecord()) {
        result.outcome = Outcome::WriteFailed;
        return result;
    }

    const SerialLine::Reply status = m_commands.sheetStatus();
    if (!status.ok()) {
        result.outcome = failed(status);
        return result;
    }
    result.statusCode = static_cast<unsigned char>(status.bytes.at(0));
    if (result.statusCode != 0) {
        m_commands.startReading();
        result.outcome = Outcome::StatusError;
        return result;
    }

    const SerialLine::Reply data = m_commands.sheetData(m_expectedLength);
    if (!data.ok() || data.bytes.isEmpty() || data.bytes.size() < m_expectedLength) {
        // Only a lost port or a closing program says more than that the sheet came short.
        result.outcome = failedWait(data);
        if (result.outcome == Outcome::TimedOut)
            result.outcome = Outcome::Incomplete;
        return result;
    }

    m_values = record::splitFields(data.bytes, m_lengths);
    if (m_reversed)
        record::ReverseFields(m_values);
    result.hits.fill(false, m_values.size());
    for (qsizetype i = 0; i < m_values.size(); ++i) {
        const QString check = i < checkTexts.size() ? checkTexts[i] : QString();
        // The grid's check column decides, so a constant typed now holds from this sheet on.
        if (const std::optional<QByteArray> constant = record::constantOf(check))
            m_values[i] = *constant;
        else if (!check.isEmpty())
            result.hits[i] = record::CheckValue(m_values[i], check);
    }
    m_editedRecord.reset();
    m_recordPending = true;
    result.outcome = Outcome::Sheet;
    return result;
}

bool SheetReader::openDataFile(const QString &path, bool truncate)
{
    return m_dataFile.open(path, truncate);
}

void SheetReader::closeDataFile()
{
    m_dataFile.close();
}

QByteArray SheetReader::pendingRecord() const
{
    return m_editedRecord ? *m_editedRecord : record::joinRecord(m_values);
}

bool SheetReader::writePendingRecord()
{
    if (!m_recordPending)
        return true;
    if (m_beforeRecordWrite)
        m_beforeRecordWrite();
    if (!m_dataFile.writeRecord(pendingRecord()))
        return false;
    m_recordPending = false;
    m_editedRecord.reset();
    emit recordWritten();
    return true;
}
