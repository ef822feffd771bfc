#include "attention.h"

#include "protocol.h"
#include "readercommands.h"

#include <QElapsedTimer>

Attention attentionLoop(ReaderCommands &commands, const std::function<void(char)> &onReply)
{
    QElapsedTimer elapsed;
    elapsed.start();
    for (;;) {
        const SerialLine::Reply reply = commands.attention();
        switch (reply.outcome) {
        case SerialLine::Outcome::Data:
            break;
        case SerialLine::Outcome::TimedOut:
            return Attention::NoAnswer;
        case SerialLine::Outcome::PortError:
            return Attention::PortLost;
        case SerialLine::Outcome::Aborted:
            return Attention::Aborted;
        }
        const char first = reply.bytes.at(0);
        if (onReply)
            onReply(first);
        if (first == Reader::kReady)
            return Attention::Ready;
        if (elapsed.elapsed() >= commands.timings().longWaitMs)
            return Attention::NoAnswer;
    }
}
