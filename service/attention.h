#pragma once

#include <functional>

class ReaderCommands;

// The service console's attention loop: the wake-up bytes again and again until the reader
// answers Chr(1). A reader that answers something else (Chr(2): switched off) is asked again,
// but not for ever: the loop gives up once the long wait has passed without a Chr(1), and at
// once when a reply does not come at all or the port fails.
enum class Attention { Ready, NoAnswer, PortLost, Aborted };

// onReply sees the first byte of every reply, so the console can show the reader's state.
Attention attentionLoop(ReaderCommands &commands, const std::function<void(char)> &onReply = {});
