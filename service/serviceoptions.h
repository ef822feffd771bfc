#pragma once

#include "pathfile.h"
#include "readertimings.h"

#include <QString>

// What markservice takes from its environment, read once at start-up and handed down.
struct ServiceOptions
{
    QString folder = programFolder(); // path.txt, FMT and DAT files
    ReaderTimings timings;
    // An FMT name and a DAT name to read with at once, without an operator (the demo, the
    // crash test): OMR_AUTOREAD_FMT and OMR_AUTOREAD_DATA. An existing DAT file is appended to.
    QString autoReadFmt;
    QString autoReadData;

    static ServiceOptions fromEnvironment()
    {
        ServiceOptions options;
        options.timings = ReaderTimings::fromEnvironment();
        options.autoReadFmt = qEnvironmentVariable("OMR_AUTOREAD_FMT");
        options.autoReadData = qEnvironmentVariable("OMR_AUTOREAD_DATA");
        return options;
    }
};
