// The lane path's SSE2 loops: four lanes per step, and rendering four frames
// at a time with one load per sample value. The arithmetic is the plain
// render's, operation for operation.
#include "engine/interpolate.h"
#include "engine/voice_lanes.h"

#include <cmath>
#include <emmintrin.h>

namespace {

using namespace lanes;

struct Regs {
    __m128i frame;
    __m128 fraction, step, current0, current1, keep0, keep1, take0, take1, floor0, floor1;
    __m128i lo, last;
};

Regs load(const TesselLaneVectors& v)
{
    Regs r;
    r.frame = _mm_load_si128(reinterpret_cast<const __m128i*>(v.frame));
    r.fraction = _mm_load_ps(v.fraction);
    r.step = _mm_load_ps(v.step);
    r.current0 = _mm_load_ps(v.current[0]);
    r.current1 = _mm_load_ps(v.current[1]);
    r.keep0 = _mm_load_ps(v.keep[0]);
    r.keep1 = _mm_load_ps(v.keep[1]);
    r.take0 = _mm_load_ps(v.take[0]);
    r.take1 = _mm_load_ps(v.take[1]);
    r.floor0 = _mm_load_ps(v.floor[0]);
    r.floor1 = _mm_load_ps(v.floor[1]);
    r.lo = _mm_load_si128(reinterpret_cast<const __m128i*>(v.lo));
    r.last = _mm_load_si128(reinterpret_cast<const __m128i*>(v.last));
    return r;
}

// The loop changes only the positions and the current gains.
void store(TesselLaneVectors& v, const Regs& r)
{
    _mm_store_si128(reinterpret_cast<__m128i*>(v.frame), r.frame);
    _mm_store_ps(v.fraction, r.fraction);
    _mm_store_ps(v.current[0], r.current0);
    _mm_store_ps(v.current[1], r.current1);
}

void transpose(const float* tile, float* rows, int32_t column)
{
    __m128 r0 = _mm_load_ps(tile);
    __m128 r1 = _mm_load_ps(tile + 4);
    __m128 r2 = _mm_load_ps(tile + 8);
    __m128 r3 = _mm_load_ps(tile + 12);
    _MM_TRANSPOSE4_PS(r0, r1, r2, r3);
    float* out = rows + column;
    _mm_storeu_ps(out, r0);
    _mm_storeu_ps(out + kStride, r1);
    _mm_storeu_ps(out + 2 * kStride, r2);
    _mm_storeu_ps(out + 3 * kStride, r3);
}

__m128 select(__m128 mask, __m128 yes, __m128 no)
{
    return _mm_or_ps(_mm_and_ps(mask, yes), _mm_andnot_ps(mask, no));
}

template <bool kShort>
unsigned step(Regs& r, TesselLaneBuffers& b, int row)
{
    const __m128 one = _mm_set1_ps(1.0f);
    _mm_store_si128(reinterpret_cast<__m128i*>(b.tileFrame + 4 * row), r.frame);
    _mm_store_ps(b.tileFraction + 4 * row, r.fraction);
    const __m128 y = _mm_add_ps(r.fraction, r.step);
    if (kShort) {
        const __m128 carry = _mm_cmpge_ps(y, one);
        r.fraction = select(carry, _mm_sub_ps(y, one), y);
        r.frame = _mm_sub_epi32(r.frame, _mm_castps_si128(carry));
    } else {
        // Whole frames by truncation, one less where that rounded up; then a
        // fraction that a tiny negative y rounds up to 1 is the next frame.
        const __m128i truncated = _mm_cvttps_epi32(y);
        const __m128 t = _mm_cvtepi32_ps(truncated);
        const __m128 whole = _mm_sub_ps(t, _mm_and_ps(_mm_cmpgt_ps(t, y), one));
        const __m128 fraction = _mm_sub_ps(y, whole);
        const __m128 over = _mm_cmpge_ps(fraction, one);
        r.fraction = _mm_andnot_ps(over, fraction);
        r.frame = _mm_add_epi32(r.frame, _mm_cvttps_epi32(_mm_add_ps(whole, _mm_and_ps(over, one))));
    }
    r.current0 = _mm_add_ps(_mm_mul_ps(r.keep0, r.current0), r.take0);
    r.current1 = _mm_add_ps(_mm_mul_ps(r.keep1, r.current1), r.take1);
    _mm_store_ps(b.tileGain[0] + 4 * row, r.current0);
    _mm_store_ps(b.tileGain[1] + 4 * row, r.current1);
    const __m128i outside = _mm_or_si128(_mm_cmpgt_epi32(r.lo, r.frame), _mm_cmpgt_epi32(r.frame, r.last));
    const __m128 fell = _mm_or_ps(_mm_cmple_ps(r.current0, r.floor0), _mm_cmple_ps(r.current1, r.floor1));
    return static_cast<unsigned>(_mm_movemask_ps(_mm_or_ps(fell, _mm_castsi128_ps(outside))));
}

__m128 largest(__m128 v)
{
    v = _mm_max_ps(v, _mm_movehl_ps(v, v));
    return _mm_max_ss(v, _mm_shuffle_ps(v, v, 1));
}

} // namespace

void walkLanesSse(TesselLaneWalk& w)
{
    TesselLaneBuffers& b = w.buffers;
    Regs r = load(b.vectors);
    for (int32_t tile = w.first; tile < w.end; tile += 4) {
        for (int row = 0; row < 4; ++row) {
            const int32_t frame = tile + row;
            if (frame == w.next) {
                store(b.vectors, r);
                w.attend(frame);
                r = load(b.vectors);
            }
            const unsigned mask = w.shortSteps ? step<true>(r, b, row) : step<false>(r, b, row);
            if (mask) {
                store(b.vectors, r);
                w.settle(frame, mask);
                r = load(b.vectors);
            }
        }
        transpose(reinterpret_cast<const float*>(b.tileFrame), reinterpret_cast<float*>(&b.frame[0][0]), tile);
        transpose(b.tileFraction, &b.fraction[0][0], tile);
        transpose(b.tileGain[0], &b.gain[0][0][0], tile);
        transpose(b.tileGain[1], &b.gain[1][0][0], tile);
    }
    store(b.vectors, r);
    w.finish();
}

void renderLaneSse(TesselLaneSpan& span)
{
    const TesselLaneBuffers& b = *span.buffers;
    const TesselSample& sample = *span.sample;
    const int32_t* frames = b.frame[span.lane];
    const float* fractions = b.fraction[span.lane];
    const float* gains0 = b.gain[0][span.lane];
    const float* gains1 = b.gain[1][span.lane];
    const float g = sampleRenderGain(sample);
    const bool stereo = sampleRenderChannels(sample) == 2;
    const float* s0 = sample.audio.buffers[0];
    const float* s1 = stereo ? sample.audio.buffers[1] : s0;
    const bool two = span.channels > 1;
    float* d0 = span.dst[0];
    float* d1 = two ? span.dst[1] : nullptr;

    const __m128 gv = _mm_set1_ps(g);
    __m128 peak0 = _mm_set1_ps(-INFINITY);
    __m128 peak1 = peak0;
    int32_t i = span.from;
    for (; i + 4 <= span.to; i += 4) {
        const int32_t* f = frames + i;
        const __m128 later = _mm_mul_ps(_mm_loadu_ps(fractions + i), gv);
        const __m128 earlier = _mm_sub_ps(gv, later);
        __m128 a = _mm_setr_ps(s0[f[0]], s0[f[1]], s0[f[2]], s0[f[3]]);
        __m128 bb = _mm_setr_ps(s0[f[0] + 1], s0[f[1] + 1], s0[f[2] + 1], s0[f[3] + 1]);
        const __m128 v0 = _mm_add_ps(_mm_mul_ps(a, earlier), _mm_mul_ps(bb, later));
        __m128 v1 = v0;
        if (stereo) {
            a = _mm_setr_ps(s1[f[0]], s1[f[1]], s1[f[2]], s1[f[3]]);
            bb = _mm_setr_ps(s1[f[0] + 1], s1[f[1] + 1], s1[f[2] + 1], s1[f[3] + 1]);
            v1 = _mm_add_ps(_mm_mul_ps(a, earlier), _mm_mul_ps(bb, later));
        }
        const __m128 o0 = _mm_mul_ps(v0, _mm_loadu_ps(gains0 + i));
        peak0 = _mm_max_ps(peak0, o0);
        if (d0)
            _mm_storeu_ps(d0 + i, span.store ? o0 : _mm_add_ps(o0, _mm_loadu_ps(d0 + i)));
        if (two) {
            const __m128 o1 = _mm_mul_ps(v1, _mm_loadu_ps(gains1 + i));
            peak1 = _mm_max_ps(peak1, o1);
            if (d1)
                _mm_storeu_ps(d1 + i, span.store ? o1 : _mm_add_ps(o1, _mm_loadu_ps(d1 + i)));
        }
    }
    float p0 = _mm_cvtss_f32(largest(peak0));
    float p1 = _mm_cvtss_f32(largest(peak1));
    for (; i < span.to; ++i) {
        const int32_t f = frames[i];
        const float later = fractions[i] * g;
        const float earlier = g - later;
        const float v0 = s0[f] * earlier + s0[f + 1] * later;
        const float v1 = stereo ? s1[f] * earlier + s1[f + 1] * later : v0;
        const float o0 = v0 * gains0[i];
        p0 = p0 > o0 ? p0 : o0;
        if (d0)
            d0[i] = span.store ? o0 : o0 + d0[i];
        if (two) {
            const float o1 = v1 * gains1[i];
            p1 = p1 > o1 ? p1 : o1;
            if (d1)
                d1[i] = span.store ? o1 : o1 + d1[i];
        }
    }
    span.peaks[0] = p0;
    span.peaks[1] = p1;
}
