#pragma once
// Where the command system reports to the usage log. The log registers a sink
// while it is open; without one every report is dropped.

#include <cstdint>

struct TesselPreferences;

constexpr int kCmdKeyboard = 34;   // value: the id of the command a key resolved to

class TesselUsageSink {
public:
    virtual ~TesselUsageSink() = default;
    virtual void logCommand(int action, int32_t value) = 0;
    virtual void logPreferences(const TesselPreferences& preferences) = 0;
};

// Editor thread; null clears.
void setUsageSink(TesselUsageSink* sink);
TesselUsageSink* usageSink();
