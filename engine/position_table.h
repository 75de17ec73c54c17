#pragma once
// Row timing of the current block, shared by every voice: where each frame
// of the block falls in its sample step, and the rates that computeTiming
// derives from tempo, speed and sample rate.

#include <cstdint>

struct TesselSamplePos {
    int32_t frame = 0;
    float fraction = 0.0f;
};

struct TesselPositionTable {
    static constexpr int kFrames = 16384;

    TesselSamplePos positions[kFrames];
    double msPerTick = 1.0;
    float ticksPerSample = 0.0f;
    double rowsPerSample = 0.0;
};
