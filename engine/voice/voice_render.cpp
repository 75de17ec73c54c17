// One voice event into the mixer's scratch channels: positions, linear
// interpolation, the mono-to-stereo copy, the gain ramp, the filter and the
// peaks.
#include "engine/voice/voice_render.h"

#include "engine/pool.h"
#include "engine/tables.h"
#include "engine/timing/position_table.h"
#include "engine/vector/interpolate.h"
#include "engine/vector/vector.h"
#include "engine/voice/voice.h"

#include <algorithm>

namespace {

constexpr float kSilent = 1e-8f;
constexpr int32_t kOldest = 1 << 24;   // far beyond the tables: the age stops there

// The first frame below n whose gain is at or below the floor. The ramp runs
// from its start toward the target, so a falling ramp is searched by halves
// and a rising one can only be silent at its first frame.
int32_t firstSilent(const TesselRampChannel& r, int n)
{
    if (n <= 0)
        return INT32_MAX;
    if (r.from < r.target)
        return r.at(0) <= kSilent ? 0 : INT32_MAX;
    if (r.at(n - 1) > kSilent)
        return INT32_MAX;
    int32_t lo = 0;
    int32_t hi = n - 1;   // silent
    while (lo < hi) {
        const int32_t mid = lo + (hi - lo) / 2;
        if (r.at(mid) <= kSilent)
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

} // namespace


int planRamps(const TesselRampState& state, int channels, int frames, bool released, TesselRampChannel out[2])
{
    frames = std::max(frames, 0);
    bool allSilent = channels > 0;
    int32_t lastSilent = 0;
    for (int j = 0; j < 2; ++j) {
        out[j] = TesselRampChannel{};
        if (j >= channels)
            continue;
        TesselRampChannel& r = out[j];
        r.target = state.ramp[2 * j + 1];
        r.from = state.from[j];
        r.age = state.age[j];
        // Goes on only while the current gain is where the ramp has led.
        if (r.age <= 0 || r.at(-1) != state.ramp[2 * j]) {
            r.from = state.ramp[2 * j];
            r.age = 0;
        }
        r.silentAt = firstSilent(r, frames);
        if (r.silentAt == INT32_MAX)
            allSilent = false;
        else
            lastSilent = std::max(lastSilent, r.silentAt);
    }
    return released && allSilent ? lastSilent : frames;
}

void keepRamps(const TesselRampState& state, int channels, int played, const TesselRampChannel plan[2])
{
    for (int j = 0; j < channels && played > 0; ++j) {
        const TesselRampChannel& r = plan[j];
        if (r.silentAt < played) {
            state.ramp[2 * j] = 0.0f;
            state.ramp[2 * j + 1] = 0.0f;
            state.from[j] = 0.0f;
            state.age[j] = 0;
        } else {
            state.ramp[2 * j] = r.at(played - 1);
            // A settled ramp plays its target exactly (from x 0 + target x 1):
            // held from here on, its later frames read no table.
            state.from[j] = r.age + played - 1 >= kRampSettledStep ? r.target : r.from;
            state.age[j] = std::min(r.age + played, kOldest);
        }
    }
}

int rampGains(float* const channel[2], int channels, int frames, const TesselRampState& state, bool released)
{
    TesselRampChannel plan[2];
    const int kept = planRamps(state, channels, frames, released, plan);
    // The state after the last frame played: the kept ones, and the frame a
    // released voice stops at.
    keepRamps(state, channels, kept < frames ? kept + 1 : frames, plan);
    for (int j = 0; j < channels; ++j) {
        const int32_t loud = std::min<int32_t>(kept, plan[j].silentAt == INT32_MAX ? kept : plan[j].silentAt + 1);
        for (int k = 0; k < loud; ++k)
            channel[j][k] *= plan[j].at(k);
        for (int k = loud; k < kept; ++k)
            channel[j][k] = 0.0f;
    }
    return kept;
}

bool TesselVoice::silentEvent(int channels) const
{
    // The ramp keeps a current and target of 0 at 0, and without the filter's
    // history nothing else sounds.
    if (filtered())
        return false;
    const float target[2] = {current.gain0, current.gain1};
    for (int j = 0; j < std::min(channels, 2); ++j)
        if (ramp[2 * j] != 0.0f || target[j] != 0.0f)
            return false;
    return true;
}

TesselVoiceWalk TesselVoice::startWalk() const
{
    TesselSamplePos p{position, fraction};
    if (!(fraction >= 0.0f && fraction < 1.0f))
        p.carryFraction();
    TesselVoiceWalk walk;
    // The exact position while the stored one is its rounding; a position
    // set from elsewhere starts a new one.
    const TesselSamplePos kept = fromFixed(exactPosition);
    walk.position = kept.frame == p.frame && kept.fraction == p.fraction ? exactPosition : toFixed(p);
    walk.step = walkStep(current.pitch);
    walk.backwards = backwards;
    walk.sustainState = sustainState;
    walk.frames = sample ? renderableFrames(*sample) : 0;
    return walk;
}

void TesselVoice::keepWalk(const TesselVoiceWalk& walk)
{
    const TesselSamplePos p = fromFixed(walk.position);
    exactPosition = walk.position;
    position = p.frame;
    fraction = p.fraction;
    backwards = walk.backwards;
    sustainState = walk.sustainState;
}

int TesselVoice::render(float* const scratch[2], int channels)
{
    TesselPositionTable* table = positionTable ? positionTable : TesselPools::positions;
    if (!sample || !table || !scratch || !scratch[0])
        return 0;
    const uint8_t entryState = current.state;
    const int end = std::min<int>(current.end, TesselPositionTable::kFrames);
    const int start = std::min<int>(current.start, end);
    const int c = std::clamp(std::max(channels, sampleRenderChannels(*sample)), 1, 2);
    if (c > 1 && !scratch[1])
        return 0;

    TesselVoiceWalk walk = startWalk();
    // A position outside the sample (a reset voice sits at -1) ends the voice
    // before anything is read.
    if (walk.position < 0 || (walk.position >> kFixedFractionBits) >= walk.frames)
        current.state = 0;
    TesselSamplePos* positions = table->positions;
    const bool released = (entryState & voice_state::kReleased) != 0;
    // A silent event only moves the position: from stretch to stretch, not
    // frame by frame.
    const bool silent = silentEvent(c);
    int n = 0;
    if (current.state != 0) {
        bool ended = false;
        if (silent)
            n = walkSpans(walk, *sample, end - start, &ended, [](int, TesselFixedPos, int64_t, int) {});
        else
            n = walkPositions(walk, *sample, positions, end - start, &ended);
        if (ended)
            current.state = 0;
    }
    keepWalk(walk);
    if (n == 0)
        return start;
    ramp[1] = current.gain0;
    ramp[3] = current.gain1;
    if (silent) {
        // Every frame is the sample times 0: only the position moved, and a
        // released voice stops at the first frame.
        if (released) {
            current.state = 0;
            return start;
        }
        for (int j = 0; j < c && (entryState & voice_state::kSample); ++j)
            peaks[j] = 0.0f;
        for (int j = 0; j < c; ++j)
            vecZero(scratch[j] + start, n);
        return start + n;
    }

    // Zero positions behind the last: the four-frame routine reads them. The
    // table has room for them after a whole block.
    std::fill(positions + n, positions + n + TesselPositionTable::kSpare, TesselSamplePos{});
    float* const out[2] = {scratch[0] + start, c > 1 ? scratch[1] + start : nullptr};
    sampleRenderer(sampleRenderVariant())(out, *sample, positions, n);
    if (c > 1 && sampleRenderChannels(*sample) == 1)
        vecCopy(out[0], out[1], n);

    const int kept = rampGains(out, c, n, {ramp, rampFrom, rampAge}, released);
    if (kept < n)
        current.state = 0;
    const int rendered = start + kept;

    if (filtered())
        applyFilter(scratch, c, rendered);
    if ((entryState & voice_state::kSample) && kept > 0)
        for (int j = 0; j < c; ++j)
            vecMax(out[j], kept, &peaks[j]);
    return rendered;
}
