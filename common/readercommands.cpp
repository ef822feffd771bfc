#include "readercommands.h"

#include "protocol.h"

#include <initializer_list>

ReaderCommands::ReaderCommands(SerialLine *line, const ReaderTimings &timings)
    : m_line(line), m_timings(timings)
{}

ReaderCommands::Reply ReaderCommands::exchange(const QByteArray &command, int replyLength,
                                               int limitMs, Wait wait)
{
    if (!m_line->write(command))
        return {SerialLine::Outcome::PortError, {}};
    return wait == Wait::Yielding ? m_line->waitYielding(replyLength, limitMs)
                                  : m_line->waitBlocking(replyLength, limitMs);
}

namespace {

bool isPresenceYes(const SerialLine::Reply &reply)
{
    return reply.data() == QByteArray(1, Reader::kPresenceYes);
}

QByteArray bytes(std::initializer_list<char> list)
{
    return QByteArray(list.begin(), qsizetype(list.size()));
}

QByteArray presence()
{
    return QByteArray(1, Reader::kPresence) + Reader::kPresenceAsk;
}

} // namespace

bool ReaderCommands::wake()
{
    m_line->discardInput();
    const Reply reply =
        exchange(QByteArray(Reader::kAttention), 1, m_timings.shortWaitMs, Wait::Yielding);
    // Only the first byte counts: a ready reader may send more.
    if (!reply.ok() || reply.bytes.at(0) != Reader::kReady)
        return false;
    return ping();
}

bool ReaderCommands::ping()
{
    return isPresenceYes(exchange(presence(), 1, m_timings.longWaitMs, Wait::Yielding));
}

bool ReaderCommands::heartbeatPing()
{
    m_line->discardInput();
    return isPresenceYes(exchange(presence(), 1, m_timings.shortWaitMs, Wait::Yielding));
}

ReaderCommands::Reply ReaderCommands::attention()
{
    for (const char byte : QByteArray(Reader::kAttention))
        if (!m_line->write(byte))
            return {SerialLine::Outcome::PortError, {}};
    m_line->discardInput();
    return m_line->waitYielding(1, m_timings.longWaitMs);
}

void ReaderCommands::farewell()
{
    m_line->discardInput();
    if (m_line->isOpen())
        m_line->write(QByteArray(Reader::kAttention));
}

bool ReaderCommands::downloadFormat(const QByteArray &formatText)
{
    return m_line->write(Reader::kFormatBegin) && m_line->write(formatText) &&
           m_line->write(Reader::kFormatEnd);
}

bool ReaderCommands::startReading()
{
    return m_line->write(Reader::kStartReading);
}

ReaderCommands::Reply ReaderCommands::trayQuery()
{
    return exchange(QByteArray(1, Reader::kReadSheet), 1, m_timings.longWaitMs, Wait::Yielding);
}

ReaderCommands::Reply ReaderCommands::sheetStatus()
{
    return exchange(QByteArray(1, Reader::kSheetStatus), 1, m_timings.longWaitMs, Wait::Yielding);
}

ReaderCommands::Reply ReaderCommands::sheetData(int length)
{
    return exchange(QByteArray(1, Reader::kSendData), length, m_timings.longWaitMs, Wait::Yielding);
}

ReaderCommands::Reply ReaderCommands::levelRead(quint8 level, int length)
{
    const QByteArray command = bytes({Reader::kLevelRead, char(level), Reader::kSendData});
    return exchange(command, length, m_timings.longWaitMs, Wait::Yielding);
}

ReaderCommands::Reply ReaderCommands::readCell(int cell, Wait wait)
{
    return exchange(bytes({Reader::kReadCell, char(cell)}), 2, m_timings.longWaitMs, wait);
}

ReaderCommands::Reply ReaderCommands::writeCell(int cell, quint8 first, quint8 second, Wait wait)
{
    // Stale bytes (the previous write's acknowledgement) go first; discarding after the write
    // could also throw away this write's acknowledgement from a quick reader.
    m_line->discardInput();
    return exchange(bytes({Reader::kWriteCell, char(cell), char(first), char(second)}), 1,
                    m_timings.longWaitMs, wait);
}

bool ReaderCommands::eyeRewind()
{
    return m_line->write(Reader::kEyeRewind);
}

ReaderCommands::Reply ReaderCommands::nextEye(Wait wait)
{
    return exchange(QByteArray(1, Reader::kEyeNext), 1, m_timings.longWaitMs, wait);
}

ReaderCommands::Reply ReaderCommands::eyeLine(Wait wait)
{
    m_line->discardInput();
    Reply line{SerialLine::Outcome::Data, {}};
    line.bytes.reserve(kEyesPerLine);
    for (int eye = 0; eye < kEyesPerLine; ++eye) {
        const Reply value = nextEye(wait);
        if (!value.ok()) {
            line.outcome = value.outcome;
            break;
        }
        line.bytes.append(value.bytes.at(0));
    }
    return line;
}

ReaderCommands::Reply ReaderCommands::sensor(char query, Wait wait)
{
    return exchange(QByteArray(1, query), 1, m_timings.longWaitMs, wait);
}

bool ReaderCommands::eject()
{
    return m_line->write(Reader::kEject);
}

ReaderCommands::Reply ReaderCommands::timingAdjust()
{
    return exchange(QByteArray(1, Reader::kTimingAdjust), 1, m_timings.longWaitMs, Wait::Yielding);
}

bool ReaderCommands::calibrate()
{
    return m_line->write(Reader::kCalibrate);
}
