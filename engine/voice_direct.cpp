// The direct voice path's scalar side: one event of a voice, its stretches
// of positions handed to the vector loop, and what TesselVoice::render
// leaves in the voice.
#include "engine/voice_direct.h"

#include "engine/bus_buffer.h"
#include "engine/interpolate.h"
#include "engine/vector.h"
#include "engine/voice.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>

namespace {

std::atomic<TesselMixPath> path{TesselMixPath::Direct};

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
    const bool released = (entryState & voice_state::kReleased) != 0;
    const TesselVoiceWalk from = walk;
    int n = 0;
    if (current.state != 0) {
        bool ended = false;
        n = walkSpans(walk, *sample, end - start, &ended, [](int, TesselFixedPos, int64_t, int) {});
        if (ended)
            current.state = 0;
    }
    voice.keepWalk(walk);
    if (n == 0)
        return start;
    voice.ramp[1] = current.gain0;
    voice.ramp[3] = current.gain1;
    const bool peaks = (entryState & voice_state::kSample) != 0;
    if (voice.silentEvent(c)) {
        if (released) {
            current.state = 0;
            return start;
        }
        for (int j = 0; j < c && peaks; ++j)
            voice.peaks[j] = 0.0f;
        return start + n;
    }

    TesselDirectSpan span{};
    const int kept = planRamps({voice.ramp, voice.rampFrom, voice.rampAge}, c, n, released, span.ramp);
    if (kept < n)
        current.state = 0;
    if (kept == 0)
        return start;

    const bool filtered = voice.filtered();
    const int lanes = std::min<int>(c, out.channels);
    span.source[0] = sample->audio.buffers[0];
    span.source[1] = sampleRenderChannels(*sample) == 2 ? sample->audio.buffers[1] : span.source[0];
    span.length = static_cast<int32_t>(std::min<uint32_t>(sample->audio.frames, INT32_MAX));
    span.scale = sampleRenderGain(*sample);
    span.channels = c;
    span.store = filtered;
    for (int j = 0; j < c; ++j) {
        span.dst[j] = filtered ? scratch[j] : (j < lanes ? out.channel[j] : nullptr);
        span.peaks[j] = -INFINITY;
    }
    const auto kernel = vecCpuLevel() >= 6 ? renderDirectAvx2 : renderDirectScalar;
    walk = from;
    bool ended = false;
    walkSpans(walk, *sample, kept, &ended, [&](int i, TesselFixedPos p, int64_t step, int count) {
        kernel(span, start + i, i, p, step, count);
    });

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
