#include "readertimings.h"

#include <QtGlobal>

namespace {

int fromEnvironment(const char *name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok && value > 0 ? value : fallback;
}

} // namespace

ReaderTimings ReaderTimings::fromEnvironment()
{
    ReaderTimings timings;
    timings.shortWaitMs = ::fromEnvironment("OMR_SHORT_WAIT_MS", timings.shortWaitMs);
    timings.longWaitMs = ::fromEnvironment("OMR_LONG_WAIT_MS", timings.longWaitMs);
    timings.heartbeatMs = ::fromEnvironment("OMR_HEARTBEAT_MS", timings.heartbeatMs);
    return timings;
}
