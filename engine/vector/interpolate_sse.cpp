#include "engine/vector/interpolate.h"

#if defined(__SSE2__)
#include <immintrin.h>

namespace {

// Frames of four positions, and their fractions times g.
struct Group {
    int32_t frame[4];
    __m128 later;
    __m128 earlier;
};

inline Group loadGroup(const TesselSamplePos* p, __m128 g)
{
    static_assert(sizeof(TesselSamplePos) == 8, "positions are (frame, fraction) pairs");
    const __m128 p01 = _mm_castsi128_ps(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
    const __m128 p23 = _mm_castsi128_ps(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 2)));
    Group group;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(group.frame),
                     _mm_castps_si128(_mm_shuffle_ps(p01, p23, _MM_SHUFFLE(2, 0, 2, 0))));
    group.later = _mm_mul_ps(_mm_shuffle_ps(p01, p23, _MM_SHUFFLE(3, 1, 3, 1)), g);
    group.earlier = _mm_sub_ps(g, group.later);
    return group;
}

inline __m128 interpolate(const Group& group, const float* s)
{
    const int32_t* f = group.frame;
    const __m128 a = _mm_set_ps(s[f[3]], s[f[2]], s[f[1]], s[f[0]]);
    const __m128 b = _mm_set_ps(s[f[3] + 1], s[f[2] + 1], s[f[1] + 1], s[f[0] + 1]);
    return _mm_add_ps(_mm_mul_ps(a, group.earlier), _mm_mul_ps(b, group.later));
}

} // namespace

void renderSampleLinearSse(float* const out[2], const TesselSample& sample, const TesselSamplePos* positions,
                           int frames)
{
    if (frames < 0)
        return;
    const __m128 g = _mm_set1_ps(sampleRenderGain(sample));
    const float* s0 = sample.audio.buffers[0];
    if (sampleRenderChannels(sample) == 1) {
        const int groups = (frames + 4) / 4;
        for (int k = 0; k < groups; ++k) {
            const Group group = loadGroup(positions + 4 * k, g);
            _mm_storeu_ps(out[0] + 4 * k, interpolate(group, s0));
        }
        return;
    }
    const float* s1 = sample.audio.buffers[1];
    const int groups = (frames + 3) / 4;
    for (int k = 0; k < groups; ++k) {
        const Group group = loadGroup(positions + 4 * k, g);
        _mm_storeu_ps(out[0] + 4 * k, interpolate(group, s0));
        _mm_storeu_ps(out[1] + 4 * k, interpolate(group, s1));
    }
}

#else

// Without SSE2 the four-frame routine is the plain one.
void renderSampleLinearSse(float* const out[2], const TesselSample& sample, const TesselSamplePos* positions,
                           int frames)
{
    renderSampleLinear(out, sample, positions, frames);
}

#endif
