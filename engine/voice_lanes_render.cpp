// One event of a lane's voice rendered from the walked positions and gains:
// what TesselVoice::render leaves in the voice, and its frames added into the
// output (through the scratch channels when the filter runs over them).
#include "engine/bus_buffer.h"
#include "engine/interpolate.h"
#include "engine/vector.h"
#include "engine/voice.h"
#include "engine/voice_lanes.h"

#include <algorithm>
#include <cmath>

int renderLaneChoice(const TesselLaneSpan& span)
{
    return span.wide * 16 + (sampleRenderChannels(*span.sample) == 2) * 8 + (span.channels > 1) * 4 +
           span.steady * 2 + span.store;
}

void renderLaneTail(TesselLaneSpan& span, int32_t to)
{
    const TesselLaneBuffers& b = *span.buffers;
    const TesselSample& sample = *span.sample;
    const float g = sampleRenderGain(sample);
    const float* s0 = sample.audio.buffers[0];
    const float* s1 = sampleRenderChannels(sample) == 2 ? sample.audio.buffers[1] : s0;
    for (int32_t i = span.from; i < to; ++i) {
        const int32_t f = b.frameRow(span.lane)[i];
        const float later = b.fractionRow(span.lane)[i] * g;
        const float earlier = g - later;
        const float v[2] = {s0[f] * earlier + s0[f + 1] * later, s1[f] * earlier + s1[f + 1] * later};
        for (int j = 0; j < span.channels; ++j) {
            const float o = v[j] * (span.steady ? span.gain[j] : b.gainRow(j, span.lane)[i]);
            span.peaks[j] = span.peaks[j] > o ? span.peaks[j] : o;
            if (span.dst[j])
                span.dst[j][i] = span.store ? o : o + span.dst[j][i];
        }
    }
    span.from = to;
}

int renderLaneEvent(TesselVoice& voice, const TesselLaneBuffers& buffers, int lane, const TesselLaneEvent& event,
                    float* const scratch[2], TesselBusBuffer& out)
{
    const uint8_t entryState = voice.current.state;
    voice.position = event.after.position.frame;
    voice.fraction = event.after.position.fraction;
    voice.backwards = event.after.backwards;
    voice.sustainState = event.after.sustainState;
    if (event.stopped)
        voice.current.state = 0;
    const int start = event.start;
    if (event.walked == 0)
        return start;
    std::copy(event.ramp, event.ramp + 4, voice.ramp);

    const int c = event.channels;
    const int lanes = std::min<int>(c, out.channels);
    const int kept = event.kept;
    const bool filtered = voice.filtered();
    const bool peaks = (entryState & voice_state::kSample) && kept > 0;
    if (event.steady && !filtered && event.ramp[0] == 0.0f && (c < 2 || event.ramp[2] == 0.0f)) {
        // Gains held at 0: every frame is silent.
        for (int j = 0; j < c && peaks; ++j)
            voice.peaks[j] = 0.0f;
        return start + kept;
    }
    TesselLaneSpan span{};
    span.buffers = &buffers;
    span.lane = lane;
    span.sample = voice.sample;
    span.from = start;
    span.to = start + kept;
    span.channels = c;
    span.store = filtered;
    span.steady = event.steady;
    span.wide = std::fabs(event.step) > 1.0f;
    span.gain[0] = event.ramp[0];
    span.gain[1] = event.ramp[2];
    for (int j = 0; j < c; ++j)
        span.dst[j] = filtered ? scratch[j] : (j < lanes ? out.channel[j] : nullptr);
    if (kept > 0)
        (vecCpuLevel() >= 6 ? renderLaneAvx2 : renderLaneSse)(span);

    if (!filtered) {
        if (peaks)
            std::copy(span.peaks, span.peaks + c, voice.peaks);
        return start + kept;
    }
    voice.applyFilter(scratch, c, start + kept);
    if (peaks)
        for (int j = 0; j < c; ++j)
            vecMax(scratch[j] + start, kept, &voice.peaks[j]);
    for (int j = 0; j < lanes && kept > 0; ++j)
        vecAdd(scratch[j] + start, out.channel[j] + start, out.channel[j] + start, kept);
    return start + kept;
}
