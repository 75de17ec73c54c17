#pragma once
// The mixer's sample render routines: linear interpolation of a sample at a
// list of positions, scaled by 2^-bits of the sample's bits field so that
// every bit depth plays at the same level. Any thread; never allocates.

#include "model/sample/sample.h"

#include <algorithm>
#include <bit>
#include <cstdint>

// Reads frame f and f + 1 of every position; the caller guarantees both exist
// (positions below the sample's length, guard frames behind it).
// out[0] (and out[1] for a stereo sample) receive `frames` values.
using TesselSampleRenderer = void (*)(float* const out[2], const TesselSample& sample,
                                      const TesselSamplePos* positions, int frames);

void renderSampleLinear(float* const out[2], const TesselSample& sample, const TesselSamplePos* positions,
                        int frames);
// Four frames at a time, with the same results bit for bit. A mono sample
// renders (frames + 4) / 4 groups, a stereo one ceil(frames / 4): up to four
// positions after the last must exist (zero positions), and up to four values
// land after the last frame of each output.
void renderSampleLinearSse(float* const out[2], const TesselSample& sample, const TesselSamplePos* positions,
                           int frames);

TesselSampleRenderer sampleRenderer(TesselRenderVariant variant);

// 1 or 2: the sample's audio channels that have a buffer.
inline int sampleRenderChannels(const TesselSample& sample)
{
    return sample.audio.channels >= 2 && sample.audio.buffers[1] ? 2 : 1;
}
// The scale of the sample's bits field: 2^-bits, with 32 bits at 1 (the
// integer wrap of the powers-of-two table).
inline float sampleRenderGain(const TesselSample& sample)
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
