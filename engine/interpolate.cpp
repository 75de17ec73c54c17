#include "engine/interpolate.h"

#include "engine/tables.h"

#include <algorithm>
#include <bit>
#include <cstdint>

int sampleRenderChannels(const TesselSample& sample)
{
    return sample.audio.channels >= 2 && sample.audio.buffers[1] ? 2 : 1;
}

float sampleRenderGain(const TesselSample& sample)
{
    // The tables' powersOfTwoInverse entry, made from its bits: a voice's
    // first use of it would otherwise be the only read of that table's page.
    const int bits = std::clamp(sample.bits, 0, 32);
    if (bits == 31)
        return -0x1p-31f;
    if (bits == 32)
        return 1.0f;
    return std::bit_cast<float>(static_cast<uint32_t>(127 - bits) << 23);
}

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
