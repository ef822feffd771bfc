#include "readerlink.h"

#include "protocol.h"

bool ReaderLink::OpenReaderPort(const QString &portName, const QString &portSettings)
{
    m_line->close();
    return m_line->open(portName, portSettings);
}

QByteArray ReaderLink::finish(const SerialLine::Reply &reply)
{
    m_lastOutcome = reply.outcome;
    return reply.data();
}

QByteArray ReaderLink::WaitReply(int n)
{
    return finish(m_line->waitYielding(n, SerialLine::longWaitLimit()));
}

QByteArray ReaderLink::WaitReplyTimed(int n)
{
    return finish(m_line->waitYielding(n, SerialLine::shortWaitLimit()));
}

void ReaderLink::writePresence()
{
    // Two writes, as the reader expects them.
    m_line->write(Reader::kPresence);
    m_line->write(Reader::kPresenceAsk);
}

bool ReaderLink::PingReader()
{
    writePresence();
    return WaitReply(1) == QByteArray(1, Reader::kPresenceYes);
}

bool ReaderLink::WakeReader()
{
    m_line->discardInput();
    m_line->write(QByteArray(Reader::kAttention));
    const QByteArray reply = WaitReplyTimed(1);
    // Only the first byte counts: a ready reader may send more.
    if (reply.isEmpty() || reply.at(0) != Reader::kReady)
        return false;
    return PingReader();
}

bool ReaderLink::heartbeatPing()
{
    m_line->discardInput();
    writePresence();
    return WaitReplyTimed(1) == QByteArray(1, Reader::kPresenceYes);
}
