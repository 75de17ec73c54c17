// One event of a lane's voice rendered from the walked positions and gains:
// what TesselVoice::render leaves in the voice, and its frames added into the
// output (through the scratch channels when the filter runs over them).
#include "engine/bus_buffer.h"
#include "engine/vector.h"
#include "engine/voice.h"
#include "engine/voice_lanes.h"

#include <algorithm>

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
    const bool filtered = voice.filter[0] != 1.0f || voice.filter[1] != 0.0f || voice.filter[2] != 0.0f;
    TesselLaneSpan span{};
    span.buffers = &buffers;
    span.lane = lane;
    span.sample = voice.sample;
    span.from = start;
    span.to = start + kept;
    span.channels = c;
    span.store = filtered;
    for (int j = 0; j < c; ++j)
        span.dst[j] = filtered ? scratch[j] : (j < lanes ? out.channel[j] : nullptr);
    if (kept > 0)
        (vecCpuLevel() >= 6 ? renderLaneAvx2 : renderLaneSse)(span);

    const bool peaks = (entryState & voice_state::kSample) && kept > 0;
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
