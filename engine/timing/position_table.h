#pragma once
// Row timing of the current block, shared by every voice: where each frame
// of the block falls in its sample step, and the rates that computeTiming
// derives from tempo, speed and sample rate.

#include "model/sample/sample_data.h"

struct TesselPositionTable {
    static constexpr int kFrames = 16384;

    static constexpr int kSpare = 4;       // the four-frame renderer may write past the end

    TesselSamplePos positions[kFrames + kSpare];
    double msPerTick = 1.0;
    float ticksPerSample = 0.0f;
    double rowsPerSample = 0.0;
};
