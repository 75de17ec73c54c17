#include "engine/vector/interpolate.h"

#include "engine/tables.h"

#include <cstdint>

void renderSampleLinear(float* const out[2], const TesselSample& sample, const TesselSamplePos* positions,
                        int frames)
{
    const float g = sampleRenderGain(sample);
    const int channels = sampleRenderChannels(sample);
    for (int c = 0; c < channels; ++c) {
        const float* s = sample.audio.buffers[c];
        float* o = out[c];
        for (int i = 0; i < frames; ++i) {
            const int32_t f = positions[i].frame;
            // Kept as separate products in this order: the four-frame
            // routine must give the same bits.
            const float later = positions[i].fraction * g;
            const float earlier = g - later;
            o[i] = s[f] * earlier + s[f + 1] * later;
        }
    }
}

TesselSampleRenderer sampleRenderer(TesselRenderVariant variant)
{
    return variant == TesselRenderVariant::LinearSse ? renderSampleLinearSse : renderSampleLinear;
}
