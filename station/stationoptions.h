#pragma once

#include "readertimings.h"
#include "settingsfile.h"

#include <QString>

// What markdesk takes from its environment, read once at start-up and handed down.
struct StationOptions
{
    QString settingsPath = optikIniPath();
    ReaderTimings timings;
    // A form and a data name to read automatically after start-up, without an operator (the
    // demo, the crash test): OMR_AUTOREAD_FMT and OMR_AUTOREAD_DATA.
    QString autoReadFmt;
    QString autoReadData;

    static StationOptions fromEnvironment()
    {
        StationOptions options;
        options.timings = ReaderTimings::fromEnvironment();
        options.autoReadFmt = qEnvironmentVariable("OMR_AUTOREAD_FMT");
        options.autoReadData = qEnvironmentVariable("OMR_AUTOREAD_DATA");
        return options;
    }
};
