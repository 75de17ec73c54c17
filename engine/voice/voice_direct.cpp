// The direct voice path's scalar side: one event of a voice, its stretches
// of positions handed to the vector loop, and what TesselVoice::render
// leaves in the voice.
#include "engine/voice/voice_direct.h"

#include "engine/bus_buffer.h"
#include "engine/vector/interpolate.h"
#include "engine/vector/vector.h"
#include "engine/voice/voice.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>

namespace {

std::atomic<TesselMixPath> path{TesselMixPath::Direct};

// A block this short (what hosts run at low latency) starts with cold
// caches after the host's wait, and each voice renders few frames: the
// code of another loop variant costs it more than the variant saves.
constexpr int kCompactBlockFrames = 256;

} // namespace

int voiceMixChannels(const TesselSample& sample, int bus, const TesselBusBuffer& out)
{
    int c = sampleRenderChannels(sample);
    // The output block is the only bus: any bus but 0 takes its channel count.
    if (bus != 0 && out.requestedChannels > c)
        c = out.requestedChannels;
    return std::min(c, TesselBusBuffer::kChannels);
}

TesselMixPath setMixPath(TesselMixPath p)
{
    return path.exchange(p);
}

TesselMixPath mixPath()
{
    return path.load(std::memory_order_relaxed);
}

void renderDirectScalar(TesselDirectSpan& span, int32_t frame, int32_t k, TesselFixedPos position, int64_t step,
                        int32_t count)
{
    const float g = span.scale;
    for (int32_t i = 0; i < count; ++i, position += step) {
        const TesselSamplePos p = fromFixed(position);
        const float later = p.fraction * g;
        const float earlier = g - later;
        for (int j = 0; j < span.channels; ++j) {
            const float* s = span.source[j];
            const float v = s[p.frame] * earlier + s[p.frame + 1] * later;
            const TesselRampChannel& r = span.ramp[j];
            const float o = v * (k + i <= r.silentAt ? r.at(k + i) : 0.0f);
            span.peaks[j] = span.peaks[j] > o ? span.peaks[j] : o;
            if (span.dst[j])
                span.dst[j][frame + i] = span.store ? o : o + span.dst[j][frame + i];
        }
    }
}

int renderVoiceDirect(TesselVoice& voice, TesselBusBuffer& out, float* const scratch[2])
{
    const TesselSample* sample = voice.sample;
    if (!sample)
        return 0;
    TesselVoiceEvent& current = voice.current;
    const int channels = voiceMixChannels(*sample, current.bus, out);
    const uint8_t entryState = current.state;
    const int end = std::min<int>(current.end, TesselBusBuffer::kFrames);
    const int start = std::min<int>(current.start, end);
    const int c = std::clamp(std::max(channels, sampleRenderChannels(*sample)), 1, 2);

    TesselVoiceWalk walk = voice.startWalk();
    if (walk.position < 0 || (walk.position >> kFixedFractionBits) >= walk.frames)
        current.state = 0;
    const int frames = end - start;
    if (current.state == 0 || frames <= 0) {
        voice.keepWalk(walk);
        return start;
    }
    const bool released = (entryState & voice_state::kReleased) != 0;
    const bool peaks = (entryState & voice_state::kSample) != 0;
    voice.ramp[1] = current.gain0;
    voice.ramp[3] = current.gain1;
    const bool silent = voice.silentEvent(c);
    // One pass: the ramps are planned for the whole event, the frames
    // rendered up to where they keep the voice, and the walk goes on to the
    // event's end or the sample's, as the plain render's does.
    TesselDirectSpan span{};
    const TesselRampState ramps{voice.ramp, voice.rampFrom, voice.rampAge};
    const int keptAtMost = silent ? 0 : planRamps(ramps, c, frames, released, span.ramp);
    const bool filtered = voice.filtered();
    const int lanes = std::min<int>(c, out.channels);
    span.source[0] = sample->audio.buffers[0];
    span.source[1] = sampleRenderChannels(*sample) == 2 ? sample->audio.buffers[1] : span.source[0];
    span.length = static_cast<int32_t>(std::min<uint32_t>(sample->audio.frames, INT32_MAX));
    span.scale = sampleRenderGain(*sample);
    span.channels = c;
    span.store = filtered;
    span.compact = out.frames <= kCompactBlockFrames;
    for (int j = 0; j < c; ++j) {
        span.dst[j] = filtered ? scratch[j] : (j < lanes ? out.channel[j] : nullptr);
        span.peaks[j] = -INFINITY;
    }
    const auto kernel = vecCpuLevel() >= 6 ? renderDirectAvx2 : renderDirectScalar;
    bool ended = false;
    const int n = walkSpans(walk, *sample, frames, &ended, [&](int i, TesselFixedPos p, int64_t step, int count) {
        const int rendered = std::min(count, keptAtMost - i);
        if (rendered > 0)
            kernel(span, start + i, i, p, step, rendered);
    });
    if (ended)
        current.state = 0;
    voice.keepWalk(walk);
    if (n == 0)
        return start;
    if (silent) {
        // Every frame is the sample times 0: only the position moved, and a
        // released voice stops at the first frame.
        if (released) {
            current.state = 0;
            return start;
        }
        for (int j = 0; j < c && peaks; ++j)
            voice.peaks[j] = 0.0f;
        return start + n;
    }
    const int kept = std::min(keptAtMost, n);
    keepRamps(ramps, c, kept < n ? kept + 1 : n, span.ramp);
    if (kept < n)
        current.state = 0;
    if (kept == 0)
        return start;

    if (!filtered) {
        for (int j = 0; j < c && peaks; ++j)
            voice.peaks[j] = span.peaks[j];
        return start + kept;
    }
    voice.applyFilter(scratch, c, start + kept);
    for (int j = 0; j < c && peaks; ++j)
        vecMax(scratch[j] + start, kept, &voice.peaks[j]);
    for (int j = 0; j < lanes; ++j)
        vecAdd(scratch[j] + start, out.channel[j] + start, out.channel[j] + start, kept);
    return start + kept;
}
