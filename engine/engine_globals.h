#pragma once
// Process-wide values the engine constructor fills: the 65 live channel
// records (64 = the preview channel) that row processing works in, the
// program version (kept twice: the song writer and the crash report read
// their own copy) and the library's file name.

#include "model/channel.h"

#include <array>
#include <string>

constexpr int kLiveChannels = 65;

std::array<TesselChannel, kLiveChannels>& liveChannels();

struct TesselEngineGlobals {
    static inline float programVersion = 0.0f;
    static inline float reportVersion = 0.0f;
    static inline std::string libraryFileName;
};
