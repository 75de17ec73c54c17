// The direct voice path's vector loop: eight frames a step, their positions
// computed from the stretch's start and step in 64-bit lanes, the sample read
// by gathers, linear interpolation, the ramp's closed form and the add into
// the output. Compiled for AVX2 on its own so that the library runs on any
// x86-64; the arithmetic is the plain render's, operation for operation (no
// fused multiply-add).
#include "engine/voice_direct.h"

#include "engine/tables.h"

#include <immintrin.h>

#define QB_DIRECT_AVX2 __attribute__((target("avx2")))

namespace {

QB_DIRECT_AVX2 inline float largest(__m256 v)
{
    __m128 m = _mm_max_ps(_mm256_castps256_ps128(v), _mm256_extractf128_ps(v, 1));
    m = _mm_max_ps(m, _mm_movehl_ps(m, m));
    m = _mm_max_ss(m, _mm_shuffle_ps(m, m, 1));
    return _mm_cvtss_f32(m);
}

// The gains of eight frames from ramp step `step` on; the steps beyond the
// tables take their last entry.
QB_DIRECT_AVX2 inline __m256 rampGains(const TesselRampChannel& r, int32_t step, __m256i frames, __m256i silent)
{
    const __m256 outside = _mm256_castsi256_ps(_mm256_cmpgt_epi32(frames, silent));
    if (r.from == r.target)
        return _mm256_andnot_ps(outside, _mm256_set1_ps(r.target));
    const TesselTables& t = tesselTables();
    constexpr int32_t kLast = TesselTables::kRampSteps - 1;
    __m256 keep;
    __m256 take;
    if (step + 7 <= kLast) {
        keep = _mm256_loadu_ps(t.rampKeep + step);
        take = _mm256_loadu_ps(t.rampTake + step);
    } else {
        const __m256i index = _mm256_min_epi32(_mm256_add_epi32(_mm256_set1_epi32(step), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7)),
                                               _mm256_set1_epi32(kLast));
        keep = _mm256_i32gather_ps(t.rampKeep, index, 4);
        take = _mm256_i32gather_ps(t.rampTake, index, 4);
    }
    const __m256 gain = _mm256_add_ps(_mm256_mul_ps(_mm256_set1_ps(r.from), keep), _mm256_mul_ps(_mm256_set1_ps(r.target), take));
    return _mm256_andnot_ps(outside, gain);
}

template <int kChannels, bool kStereo, bool kStore>
QB_DIRECT_AVX2 void render(TesselDirectSpan& span, int32_t frame, int32_t k, TesselFixedPos position, int64_t step,
                           int32_t count)
{
    const float* s0 = span.source[0];
    const float* s1 = span.source[1];
    float* d0 = span.dst[0];
    float* d1 = span.dst[1];
    const __m256 g = _mm256_set1_ps(span.scale);
    const __m256 toFraction = _mm256_set1_ps(0x1p-24f);
    const __m256i silent0 = _mm256_set1_epi32(span.ramp[0].silentAt);
    const __m256i silent1 = _mm256_set1_epi32(span.ramp[1].silentAt);
    const int32_t step0 = span.ramp[0].age + k;
    const int32_t step1 = span.ramp[1].age + k;
    __m256i frames8 = _mm256_add_epi32(_mm256_set1_epi32(k), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
    const __m256i eight = _mm256_set1_epi32(8);
    // Positions of frames 0..3 and 4..7, then eight steps on.
    __m256i low = _mm256_setr_epi64x(position, position + step, position + 2 * step, position + 3 * step);
    __m256i high = _mm256_add_epi64(low, _mm256_set1_epi64x(4 * step));
    const __m256i stride = _mm256_set1_epi64x(8 * step);
    // The upper halves of four 64-bit positions into the lower lane, the lower halves into the upper.
    const __m256i split = _mm256_setr_epi32(1, 3, 5, 7, 0, 2, 4, 6);
    __m256 peak0 = _mm256_set1_ps(span.peaks[0]);
    __m256 peak1 = _mm256_set1_ps(span.peaks[1]);

    int32_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i a = _mm256_permutevar8x32_epi32(low, split);
        const __m256i b = _mm256_permutevar8x32_epi32(high, split);
        const __m256i whole = _mm256_permute2x128_si256(a, b, 0x20);
        const __m256i bits = _mm256_permute2x128_si256(a, b, 0x31);
        const __m256 fraction = _mm256_mul_ps(_mm256_cvtepi32_ps(_mm256_srli_epi32(bits, 8)), toFraction);
        const __m256 later = _mm256_mul_ps(fraction, g);
        const __m256 earlier = _mm256_sub_ps(g, later);

        const __m256 x0 = _mm256_i32gather_ps(s0, whole, 4);
        const __m256 y0 = _mm256_i32gather_ps(s0 + 1, whole, 4);
        const __m256 v0 = _mm256_add_ps(_mm256_mul_ps(x0, earlier), _mm256_mul_ps(y0, later));
        const __m256 gain0 = rampGains(span.ramp[0], step0 + i, frames8, silent0);
        const __m256 o0 = _mm256_mul_ps(v0, gain0);
        peak0 = _mm256_max_ps(peak0, o0);
        if (d0)
            _mm256_storeu_ps(d0 + frame + i, kStore ? o0 : _mm256_add_ps(o0, _mm256_loadu_ps(d0 + frame + i)));
        if (kChannels == 2) {
            __m256 v1 = v0;
            if (kStereo) {
                const __m256 x1 = _mm256_i32gather_ps(s1, whole, 4);
                const __m256 y1 = _mm256_i32gather_ps(s1 + 1, whole, 4);
                v1 = _mm256_add_ps(_mm256_mul_ps(x1, earlier), _mm256_mul_ps(y1, later));
            }
            const __m256 gain1 = rampGains(span.ramp[1], step1 + i, frames8, silent1);
            const __m256 o1 = _mm256_mul_ps(v1, gain1);
            peak1 = _mm256_max_ps(peak1, o1);
            if (d1)
                _mm256_storeu_ps(d1 + frame + i, kStore ? o1 : _mm256_add_ps(o1, _mm256_loadu_ps(d1 + frame + i)));
        }
        low = _mm256_add_epi64(low, stride);
        high = _mm256_add_epi64(high, stride);
        frames8 = _mm256_add_epi32(frames8, eight);
    }
    span.peaks[0] = largest(peak0);
    span.peaks[1] = largest(peak1);
    if (i < count)
        renderDirectScalar(span, frame + i, k + i, position + step * i, step, count - i);
}

using Render = void (*)(TesselDirectSpan&, int32_t, int32_t, TesselFixedPos, int64_t, int32_t);

} // namespace

QB_DIRECT_AVX2 void renderDirectAvx2(TesselDirectSpan& span, int32_t frame, int32_t k, TesselFixedPos position,
                                     int64_t step, int32_t count)
{
    static constexpr Render kRenders[8] = {
        render<1, false, false>, render<1, false, true>, render<1, true, false>, render<1, true, true>,
        render<2, false, false>, render<2, false, true>, render<2, true, false>, render<2, true, true>,
    };
    const bool stereo = span.source[1] != span.source[0];
    kRenders[(span.channels == 2) * 4 + stereo * 2 + span.store](span, frame, k, position, step, count);
}
