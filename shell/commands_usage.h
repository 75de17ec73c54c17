#pragma once
// Where the command system reports to the usage log. The log registers a sink
// while it is open; without one every report is dropped.

#include "shell/usage_log_actions.h"

#include <cstdint>

struct TesselPreferences;

class TesselUsageSink {
public:
    virtual ~TesselUsageSink() = default;
    virtual void logCommand(int action, int32_t value) = 0;
    virtual void logPreferences(const TesselPreferences& preferences) = 0;
};

// Editor thread; null clears.
void setUsageSink(TesselUsageSink* sink);
TesselUsageSink* usageSink();
