#pragma once

// How long the programs wait for the reader and how often the heartbeat looks for it. Read
// once at start-up (OMR_SHORT_WAIT_MS, OMR_LONG_WAIT_MS, OMR_HEARTBEAT_MS override the
// defaults, so that tests run fast) and handed to whatever talks to the reader.
struct ReaderTimings
{
    int shortWaitMs = 300;  // ping and attention
    int longWaitMs = 10000; // sheet exchange, memory cells, eye values, sensors
    int heartbeatMs = 3000;

    static ReaderTimings fromEnvironment();
};
