#pragma once

#include "serialline.h"

#include <QByteArray>
#include <QString>

// The station's exchanges with the reader, over the one serial line. No widgets: the window
// shows what these return.
class ReaderLink
{
public:
    explicit ReaderLink(SerialLine *line) : m_line(line) {}

    SerialLine *line() const { return m_line; }

    // Closes the port if open and opens it with the given settings. False with
    // line()->errorString() when it cannot be opened.
    bool OpenReaderPort(const QString &portName, const QString &portSettings);

    // The long wait: the whole input once at least n bytes wait, else "" (time limit, lost
    // port, aborted; lastOutcome() tells which).
    QByteArray WaitReply(int n);
    // The short wait: as WaitReply, with the short limit; a late or partial reply is consumed.
    QByteArray WaitReplyTimed(int n);

    // Presence with the long wait: true when the reply is "Y" and nothing else.
    bool PingReader();
    // Attention, then a ping: true when the reader is ready and present.
    bool WakeReader();
    // The heartbeat's ping: input discarded first, short wait.
    bool heartbeatPing();

    SerialLine::Outcome lastOutcome() const { return m_lastOutcome; }

private:
    QByteArray finish(const SerialLine::Reply &reply);
    void writePresence();

    SerialLine *m_line;
    SerialLine::Outcome m_lastOutcome = SerialLine::Outcome::Data;
};
