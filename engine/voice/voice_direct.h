#pragma once
// The mixer's direct voice path: each voice event rendered straight into the
// output block, one vector loop a stretch of positions. Positions come from
// the walk's stretches (start plus a multiple of the step), gains from the
// ramp's closed form, so no per-frame state is carried from one frame to the
// next and an event of gain 0 costs only its loop turns. Event by event the
// result is what TesselVoice::render and the add after it give.
// Audio thread, song lock held; nothing allocates.

#include "engine/voice/voice_render.h"

#include <cstdint>

class TesselVoice;
struct TesselBusBuffer;

// Renders the voice's current event (already in voice.current) and adds it
// into the output's channels, as the plain render and add do; returns what
// TesselVoice::render returns. The scratch channels serve the filter.
int renderVoiceDirect(TesselVoice& voice, TesselBusBuffer& out, float* const scratch[2]);

// What one stretch of positions renders: the sample read, the gains, and
// where the frames go.
struct TesselDirectSpan {
    const float* source[2];     // the sample's channels; both the same for a mono sample
    int32_t length;             // floats in each channel's buffer
    float scale;                // 2^-bits
    int channels;               // channels rendered, 1 or 2
    float* dst[2];              // block frames; null: computed for the peaks only
    bool store;                 // stored rather than added
    bool compact;               // a short block: one loop serves all but the far reads
    TesselRampChannel ramp[2];  // by event frame
    float peaks[2];             // the largest value of each channel so far
};

// `count` frames from block frame `frame` (event frame `k`), at positions
// position + i x step. Every position lies inside the sample.
void renderDirectScalar(TesselDirectSpan& span, int32_t frame, int32_t k, TesselFixedPos position, int64_t step,
                        int32_t count);
void renderDirectAvx2(TesselDirectSpan& span, int32_t frame, int32_t k, TesselFixedPos position, int64_t step,
                      int32_t count);

// The channels the mixer renders an event of a voice on this sample and bus in.
int voiceMixChannels(const TesselSample& sample, int bus, const TesselBusBuffer& out);

// Tests and benchmarks: the mixer's voice path, direct or the plain
// per-voice render it must match.
enum class TesselMixPath { Plain, Direct };
TesselMixPath setMixPath(TesselMixPath path);   // returns the previous one
TesselMixPath mixPath();
