// One voice event into the mixer's scratch channels: positions, linear
// interpolation, the mono-to-stereo copy, the gain ramp, the filter and the
// peaks.
#include "engine/voice_render.h"

#include "engine/interpolate.h"
#include "engine/pool.h"
#include "engine/position_table.h"
#include "engine/vector.h"
#include "engine/voice.h"

#include <algorithm>

namespace {

constexpr float kRampKeep = 0.99f;
constexpr float kRampTake = 0.01f;
constexpr float kSilent = 1e-8f;

} // namespace

int rampGains(float* const channel[2], int channels, int frames, float ramp[4], bool released)
{
    for (int k = 0; k < frames; ++k) {
        bool silent = true;
        for (int j = 0; j < channels; ++j) {
            float& current = ramp[2 * j];
            float& target = ramp[2 * j + 1];
            current = kRampKeep * current + kRampTake * target;
            channel[j][k] *= current;
            if (current <= kSilent) {
                current = 0.0f;
                target = 0.0f;
            } else {
                silent = false;
            }
        }
        if (released && silent)
            return k;
    }
    return frames;
}

bool TesselVoice::silentEvent(int channels) const
{
    // The ramp keeps a current and target of 0 at 0, and without the filter's
    // history nothing else sounds.
    if (filtered())
        return false;
    const float target[2] = {current.gain0, current.gain1};
    for (int j = 0; j < channels; ++j)
        if (ramp[2 * j] != 0.0f || target[j] != 0.0f)
            return false;
    return true;
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

    TesselVoiceWalk walk;
    walk.position = {position, fraction};
    if (!(fraction >= 0.0f && fraction < 1.0f))
        walk.position.carryFraction();
    walk.step = current.pitch;
    walk.backwards = backwards;
    walk.sustainState = sustainState;
    walk.frames = renderableFrames(*sample);

    // A position outside the sample (a reset voice sits at -1) ends the voice
    // before anything is read.
    if (walk.position.frame < 0 || walk.position.frame >= walk.frames)
        current.state = 0;
    TesselSamplePos* positions = table->positions;
    const bool released = (entryState & voice_state::kReleased) != 0;
    int n = 0;
    if (current.state != 0) {
        bool ended = false;
        n = walkPositions(walk, *sample, positions, end - start, &ended);
        if (ended)
            current.state = 0;
    }
    position = walk.position.frame;
    fraction = walk.position.fraction;
    backwards = walk.backwards;
    sustainState = walk.sustainState;
    if (n == 0)
        return start;
    ramp[1] = current.gain0;
    ramp[3] = current.gain1;
    if (silentEvent(c)) {
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

    const int kept = rampGains(out, c, n, ramp, released);
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
