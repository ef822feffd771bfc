#pragma once

#include "readertimings.h"
#include "serialline.h"

#include <QByteArray>

// The reader's commands as typed calls over the one serial line. Each call writes its command
// bytes and waits for the reply it is known to get (its length is fixed, nothing ends it);
// calls that read return the reply, or the outcome that ended the wait (time limit, lost
// port, aborted) with whatever had arrived. No window writes command bytes itself.
class ReaderCommands
{
public:
    using Reply = SerialLine::Reply;
    // Yielding waits let the event loop run (the stop button, painting); blocking ones do not,
    // where an exchange must not be interleaved with the operator's clicks.
    enum class Wait { Yielding, Blocking };

    static constexpr int kEyesPerLine = 48;

    ReaderCommands(SerialLine *line, const ReaderTimings &timings);

    SerialLine *line() const { return m_line; }
    const ReaderTimings &timings() const { return m_timings; }

    // Presence and attention.
    bool wake();          // input discarded, "@OEM", short wait for Chr(1), then ping()
    bool ping();          // Chr(1) "Y", long wait; present when the reply is "Y" alone
    bool heartbeatPing(); // as ping(), input discarded first, short wait
    Reply attention();    // "@OEM" a byte at a time, input discarded, long wait for one byte
    void farewell();      // input discarded, "@OEM"; no reply is read

    // Format and sheets.
    bool downloadFormat(const QByteArray &formatText); // 0x32, the text, 0xA5
    bool startReading();                               // 0x3A
    Reply trayQuery();                                 // 0x22: Chr(0) no paper
    Reply sheetStatus();                               // 0x2A: feed; the status code
    Reply sheetData(int length);                       // 0x2F: the decoded characters
    Reply levelRead(quint8 level, int length);         // 0x37 level 0x2F: data at that level

    // Memory cells: two bytes each.
    Reply readCell(int cell, Wait wait = Wait::Yielding);
    // Input discarded, then 0x07 cell first second; the acknowledgement byte is waited for, not
    // looked at.
    Reply writeCell(int cell, quint8 first, quint8 second, Wait wait = Wait::Blocking);

    // Eye values of the last sheet: a stream of one byte per eye, 48 a line.
    bool eyeRewind(); // 0x2E
    Reply nextEye(Wait wait = Wait::Blocking);
    // Input discarded, then 48 × nextEye(): one byte per eye, or the failed outcome with the
    // eyes read so far.
    Reply eyeLine(Wait wait = Wait::Blocking);

    // Sensors 0x22 .. 0x27: one byte, 0 no paper.
    Reply sensor(char query, Wait wait = Wait::Yielding);

    // Service commands.
    bool eject();         // 0x3C
    Reply timingAdjust(); // 0x1E: one byte
    bool calibrate();     // 0x3B

private:
    Reply exchange(const QByteArray &command, int replyLength, int limitMs, Wait wait);

    SerialLine *m_line;
    ReaderTimings m_timings;
};
