#include "readerdevice.h"

#include "protocol.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <utility>

namespace {

constexpr int kAttentionLength = 4;
constexpr int kFirstSensor = 0x23;
constexpr int kLastSensor = 0x27;

// Memory as the reader leaves the factory: motor speeds, timings, the grey limits and the
// timing-mark value, so that a fresh reader decodes sheets without being set up first.
struct CellDefault
{
    int cell;
    quint8 first;
    quint8 second;
};
constexpr CellDefault kCellDefaults[] = {
    {2, 255, 200}, // feed and main motor speed
    {3, 10, 20},   // ADC wait, start pulse time
    {4, 128, ReaderDevice::kDefaultLowerLimit},
    {5, 180, 180}, // exit speed
    {6, 30, 30},   // sensor timings, cells 6 to 11
    {7, 30, 40},
    {8, 40, 40},
    {9, 25, 25},
    {10, 25, 50},
    {11, 50, 50},
    {12, 12, 24}, // timing-mark time
    {13, 0, 250}, // upper grey limit, on the scale of the eye values (not used here)
    {26, 40, 40}, // timing-mark value
};

} // namespace

ReaderDevice::ReaderDevice(const QString &trayFolder) : m_trayFolder(trayFolder)
{
    for (const CellDefault &value : kCellDefaults)
        setCell(value.cell, value.first, value.second);
}

QByteArray ReaderDevice::receive(const QByteArray &bytes)
{
    m_reply.clear();
    for (const char byte : bytes)
        take(byte);
    return std::exchange(m_reply, QByteArray());
}

void ReaderDevice::take(char byte)
{
    switch (m_state) {
    case State::Idle:
        command(byte);
        return;
    case State::Presence:
        if (byte == Reader::kPresenceAsk) {
            m_command += byte;
            finish(QByteArray(1, Reader::kPresenceYes));
        } else {
            abandon();
            take(byte);
        }
        return;
    case State::Attention:
        if (byte == Reader::kAttention[m_command.size()]) {
            m_command += byte;
            if (m_command.size() == kAttentionLength) {
                finish(QByteArray(1, m_switchedOff ? Reader::kSwitchedOff : Reader::kReady));
                if (m_offReplies > 0 && --m_offReplies == 0)
                    m_switchedOff = false;
            }
        } else {
            abandon();
            take(byte);
        }
        return;
    case State::Format:
        m_command += byte;
        if (byte == Reader::kFormatEnd) {
            finishDownload();
        } else if (m_command.size() > kFormatLimit) {
            m_hasFormat = false;
            m_formatError =
                QStringLiteral("download longer than %1 bytes dropped").arg(kFormatLimit);
            finish(QByteArray());
        }
        return;
    case State::Arguments:
        m_command += byte;
        if (--m_argumentsNeeded == 0)
            finishArguments();
        return;
    }
}

void ReaderDevice::command(char byte)
{
    m_command = QByteArray(1, byte);
    const auto expectArguments = [this](int count) {
        m_state = State::Arguments;
        m_argumentsNeeded = count;
    };
    switch (byte) {
    case Reader::kPresence:
        m_state = State::Presence;
        return;
    case Reader::kAttention[0]:
        m_state = State::Attention;
        return;
    case Reader::kFormatBegin:
        m_state = State::Format;
        return;
    case Reader::kReadCell:
    case Reader::kLevelRead:
        expectArguments(1);
        return;
    case Reader::kWriteCell:
        expectArguments(3);
        return;
    case Reader::kReadSheet: // also the tray sensor: it looks, it does not take the sheet
        finish(QByteArray(1, sheetsInTray() > 0 ? 1 : 0));
        return;
    case Reader::kSheetStatus:
        finish(feed());
        return;
    case Reader::kSendData:
        finish(dataWithLimit(std::exchange(m_pendingLevel, -1)));
        return;
    case Reader::kEyeRewind:
        m_eyeLine = 0;
        m_eye = 0;
        finish(QByteArray());
        return;
    case Reader::kEyeNext: {
        const int value = m_eyeLine < kEyeLines ? m_lastSheet.eyeValue(m_eyeLine, m_eye) : 0;
        if (m_eyeLine < kEyeLines && ++m_eye == SheetImage::kEyeCount) {
            m_eye = 0;
            ++m_eyeLine;
        }
        finish(QByteArray(1, char(value)));
        return;
    }
    case Reader::kTimingAdjust: {
        // Measures the timing marks of the last sheet and keeps the count as the mark value.
        const quint8 marks = quint8(qMin(m_lastSheet.lines.size(), 255));
        if (marks > 0)
            setCell(26, marks, cellSecond(26));
        finish(QByteArray(1, char(marks)));
        return;
    }
    case Reader::kStartReading:
    case Reader::kEject:
    case Reader::kCalibrate:
        finish(QByteArray());
        return;
    default:
        break;
    }
    const int code = quint8(byte);
    if (code >= kFirstSensor && code <= kLastSensor)
        finish(QByteArray(1, char(sensor(byte))));
    else
        finish(QByteArray()); // unknown: logged, not answered
}

void ReaderDevice::finishArguments()
{
    const int cell = quint8(m_command.at(1));
    switch (m_command.at(0)) {
    case Reader::kReadCell: {
        QByteArray reply(2, '\0');
        reply[0] = char(cellFirst(cell));
        reply[1] = char(cellSecond(cell));
        finish(reply);
        return;
    }
    case Reader::kWriteCell: {
        const bool stored = setCell(cell, quint8(m_command.at(2)), quint8(m_command.at(3)));
        finish(QByteArray(1, stored ? kCellWritten : kCellRefused));
        return;
    }
    case Reader::kLevelRead:
        m_pendingLevel = cell; // the argument is the level, not a cell
        finish(QByteArray());
        return;
    }
}

void ReaderDevice::finish(const QByteArray &reply)
{
    m_exchanges.append({m_command, reply});
    m_reply += reply;
    m_command.clear();
    m_state = State::Idle;
}

void ReaderDevice::abandon()
{
    finish(QByteArray());
}

void ReaderDevice::finishDownload()
{
    m_downloadedText = m_command.mid(1, m_command.size() - 2);
    m_formatError.clear();
    m_hasFormat = ReaderFormat::parse(m_downloadedText, &m_format, &m_formatError);
    if (!m_hasFormat)
        m_format = ReaderFormat();
    finish(QByteArray());
}

QByteArray ReaderDevice::feed()
{
    m_eyeLine = 0;
    m_eye = 0;
    m_lastSheetRead = false;
    SheetImage sheet;
    if (!nextSheet(&sheet)) {
        m_lastSheet = SheetImage();
        return QByteArray(1, char(kEmptyTrayStatus));
    }
    m_lastSheet = sheet;
    m_lastSheetRead = sheet.status == 0;
    return QByteArray(1, char(sheet.status));
}

const QStringList &ReaderDevice::folderSheets()
{
    if (m_trayFolder.isEmpty()) {
        m_listed.clear();
        return m_listed;
    }
    // Listing a folder of thousands of sheets on every query would make each sheet slower than
    // the last; the folder is listed again only when it changed or the list ran out.
    const qint64 stamp = QFileInfo(m_trayFolder).lastModified().toMSecsSinceEpoch();
    if (stamp != m_listedStamp || m_listed.isEmpty()) {
        m_listedStamp = stamp;
        m_listed = QDir(m_trayFolder).entryList(QDir::Files, QDir::Name);
        m_listed.removeIf([this](const QString &name) { return m_consumed.contains(name); });
    }
    return m_listed;
}

int ReaderDevice::sheetsInTray()
{
    return int(folderSheets().size() + m_memorySheets.size());
}

bool ReaderDevice::nextSheet(SheetImage *sheet)
{
    if (folderSheets().isEmpty()) {
        if (m_memorySheets.isEmpty())
            return false;
        *sheet = m_memorySheets.takeFirst();
        m_consumedNames.append(sheet->name);
        m_consumed.insert(sheet->name);
        return true;
    }
    const QString name = m_listed.takeFirst();
    m_consumedNames.append(name);
    m_consumed.insert(name);
    sheet->name = name;
    QFile file(QDir(m_trayFolder).filePath(name));
    QString why;
    if (!file.open(QIODevice::ReadOnly))
        why = file.errorString();
    else if (SheetImage::parse(file.readAll(), sheet, &why))
        return true;
    // A sheet the reader cannot make sense of jams; the reason is kept for whoever looks.
    m_lastError = QStringLiteral("%1: %2").arg(name, why);
    sheet->lines.clear();
    sheet->status = kUnreadableSheetStatus;
    return true;
}

void ReaderDevice::dropOldExchanges(qsizetype keep)
{
    if (m_exchanges.size() > keep)
        m_exchanges.remove(0, m_exchanges.size() - keep);
}

bool ReaderDevice::addSheetText(const QByteArray &text, const QString &name, QString *error)
{
    SheetImage sheet;
    sheet.name = name;
    if (!SheetImage::parse(text, &sheet, error))
        return false;
    addSheet(sheet);
    return true;
}

void ReaderDevice::setSensor(char query, quint8 value)
{
    const int code = quint8(query);
    if (code >= kFirstSensor && code <= kLastSensor)
        m_sensors[code - kFirstSensor] = value;
}

quint8 ReaderDevice::sensor(char query) const
{
    const int code = quint8(query);
    return code >= kFirstSensor && code <= kLastSensor ? m_sensors[code - kFirstSensor] : 0;
}

quint8 ReaderDevice::cellFirst(int cell) const
{
    return cell >= 1 && cell <= kCellCount ? m_first[cell] : 0;
}

quint8 ReaderDevice::cellSecond(int cell) const
{
    return cell >= 1 && cell <= kCellCount ? m_second[cell] : 0;
}

bool ReaderDevice::setCell(int cell, quint8 first, quint8 second)
{
    if (cell < 1 || cell > kCellCount)
        return false;
    m_first[cell] = first;
    m_second[cell] = second;
    return true;
}

QByteArray ReaderDevice::sheetData() const
{
    return dataWithLimit(-1);
}

QByteArray ReaderDevice::dataWithLimit(int level) const
{
    // Without a format or a sheet read cleanly there is nothing to send: sending blanks would
    // pass for a sheet without marks.
    if (!m_hasFormat || !m_lastSheetRead)
        return QByteArray();
    return decodeSheet(m_format, m_lastSheet, level < 0 ? lowerLimit() : level);
}
