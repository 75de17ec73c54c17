#pragma once
// The engine's process-wide values, filled by the engine constructor: the 65
// live channel records (64 = the preview channel) that row processing works
// in, the program version (kept twice: the song writer and the crash report
// read their own copy) and the library's file name.

#include "model/song/channel.h"

#include <array>
#include <string>

constexpr int kLiveChannels = 65;

struct TesselEngineGlobals {
    std::array<TesselChannel, kLiveChannels> liveChannels;
    float programVersion = 0.0f;
    float reportVersion = 0.0f;
    std::string libraryFileName;

    TesselEngineGlobals() = default;
    TesselEngineGlobals(const TesselEngineGlobals&) = delete;
    TesselEngineGlobals& operator=(const TesselEngineGlobals&) = delete;

    // Back to the values the process starts with.
    void reset();
};

// Built before the library's other load-time objects (see engine_globals.cpp);
// reached directly, since the audio path asks for it many times a block.
extern TesselEngineGlobals tesselEngineGlobals __attribute__((visibility("hidden")));

inline TesselEngineGlobals& engineGlobals() { return tesselEngineGlobals; }

inline std::array<TesselChannel, kLiveChannels>& liveChannels() { return engineGlobals().liveChannels; }
