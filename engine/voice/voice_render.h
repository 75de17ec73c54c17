#pragma once
// The steps of rendering one voice event, apart so that each can be tested
// and shared by the mixer's two voice paths.

#include "engine/tables.h"
#include "model/sample/sample.h"

#include <algorithm>
#include <cstdint>

// Sample positions in fixed point: whole frames in the upper 32 bits, the
// fraction in the lower 32. Sums of steps are exact, so the position of any
// frame of a stretch without loops or ends is its start plus that many steps:
// computed, never walked, and a voice's position does not depend on how its
// frames were grouped.
using TesselFixedPos = int64_t;
constexpr int kFixedFractionBits = 32;

// Where a voice is in its sample and how it moves.
struct TesselVoiceWalk {
    TesselFixedPos position = 0;
    int64_t step = int64_t{1} << kFixedFractionBits;   // fixed-point frames per output frame; the pitch's sign
    uint8_t backwards = 0;      // ping-pong direction
    uint8_t sustainState = 1;   // 1 the sustain loop applies, 3 the normal loop
    int32_t frames = 0;         // the sample's frame count

    int64_t advance() const { return backwards ? -step : step; }
};

// A position whose fraction lies in 0..1, in fixed point (the fraction's
// bits below 2^-32 dropped), and back: the fraction keeps its upper 24 bits,
// which a float holds exactly, so that it stays below 1. Inline, as are the
// other few-instruction helpers of a block's path: a call would cost a
// cache line of its own in a block that starts cold.
inline TesselFixedPos toFixed(const TesselSamplePos& p)
{
    constexpr int64_t kOne = int64_t{1} << kFixedFractionBits;
    const auto fraction = static_cast<int64_t>(static_cast<double>(p.fraction) * 0x1p32);
    return int64_t{p.frame} * kOne + std::clamp<int64_t>(fraction, 0, kOne - 1);
}

inline TesselSamplePos fromFixed(TesselFixedPos p)
{
    const auto frame = static_cast<int32_t>(p >> kFixedFractionBits);
    const auto bits = static_cast<uint32_t>(p & ((int64_t{1} << kFixedFractionBits) - 1));
    return {frame, static_cast<float>(bits >> 8) * 0x1p-24f};
}

// The step a walk takes: finite, no longer than any sample, in fixed point.
int64_t walkStep(float pitch);

// The loops and the end of the sample applied to a position that has just
// advanced; false when it has left the sample.
bool settleWalk(TesselVoiceWalk& walk, const TesselSample& sample);

// The number of advances from the walk's position until the first one after
// which settleWalk has something to do (a loop, a turn, the sample's end);
// the advances before it need nothing. At least 1; INT64_MAX when the walk
// stands still inside the sample.
int64_t quietAdvances(const TesselVoiceWalk& walk, const TesselSample& sample);

// The positions of up to `count` frames, handed to sink(i, position, step, n)
// as stretches: frame i + j (j < n) plays at position + j x step. Stops early
// when the position leaves the sample (*ended set); returns the frames
// handed. The walk is left after the last frame, as stepping frame by frame
// with settleWalk after each advance leaves it. Cost: one call per loop
// turn or end met, whatever the count.
template <typename Sink>
int walkSpans(TesselVoiceWalk& walk, const TesselSample& sample, int count, bool* ended, Sink&& sink)
{
    *ended = false;
    int i = 0;
    while (i < count) {
        const int64_t quiet = quietAdvances(walk, sample);
        const int n = static_cast<int>(std::min<int64_t>(quiet, count - i));
        const int64_t step = walk.advance();
        sink(i, walk.position, step, n);
        i += n;
        walk.position += step * n;
        if (n == quiet && !settleWalk(walk, sample)) {
            *ended = true;
            break;
        }
    }
    return i;
}

// Writes the position of each frame as walkSpans finds them.
int walkPositions(TesselVoiceWalk& walk, const TesselSample& sample, TesselSamplePos* out, int count, bool* ended);

// The frames the renderer may read: the length, limited so that the frame
// after each position exists in the buffers. 0 without audio.
inline int32_t renderableFrames(const TesselSample& sample)
{
    if (!sample.audio.buffers[0] || sample.audio.frames < 2)
        return 0;
    const int64_t readable = int64_t{sample.audio.frames} - 1;
    return static_cast<int32_t>(std::clamp<int64_t>(sample.length, 0, readable));
}

// The one-pole gain ramp of one channel, in closed form: from its start,
// frame k of a ramp `age` frames old plays at
// from x rampKeep[age + k] + target x rampTake[age + k] (the engine's
// tables), so that it does not depend on where blocks and events divide it.
// From the first frame at or below the silence floor (`silentAt`, INT32_MAX
// for none) on, current and target are 0: that frame still plays at its
// gain, the later ones at 0.
struct TesselRampChannel {
    float from = 0.0f;
    float target = 0.0f;
    int32_t age = 0;
    int32_t silentAt = INT32_MAX;

    float at(int32_t k) const
    {
        if (from == target)
            return target;   // held: exactly
        const TesselTables& t = tesselTables();
        const int32_t i = std::min(age + k, TesselTables::kRampSteps - 1);
        return from * t.rampKeep[i] + target * t.rampTake[i];
    }
};

// The voice's ramps (current and target of channel 0, then of channel 1,
// with where each started and its age) over an event of `frames` frames, for
// the first `channels`. A ramp goes on from where it started while its
// current gain is where that start leads; otherwise it starts afresh.
// Returns the frames kept: `frames`, or with `released` the first frame
// after which every channel has fallen silent (that frame not kept).
struct TesselRampState {
    float* ramp;      // 4
    float* from;      // 2
    int32_t* age;     // 2
};
int planRamps(const TesselRampState& state, int channels, int frames, bool released, TesselRampChannel out[2]);
// The state after `played` frames of the planned ramps.
void keepRamps(const TesselRampState& state, int channels, int played, const TesselRampChannel plan[2]);

// The ramp over `frames` values of each channel, as planRamps plans it;
// returns the frames kept.
int rampGains(float* const channel[2], int channels, int frames, const TesselRampState& state, bool released);
