// The lane path's AVX2 loops: eight lanes per step, and rendering that reads
// eight frames of a sample with two permutes when they lie close together.
// Each function is compiled for AVX2 on its own so that the library runs on
// any x86-64; the arithmetic is the plain render's, operation for operation
// (no fused multiply-add).
#include "engine/interpolate.h"
#include "engine/voice_lanes.h"

#include <cmath>
#include <immintrin.h>

#define QB_LANES_AVX2 __attribute__((target("avx2")))

namespace {

using namespace lanes;

struct Regs {
    __m256i frame;
    __m256 fraction, step, current0, current1, keep0, keep1, take0, take1, floor0, floor1;
    __m256i lo, last;
};

QB_LANES_AVX2 inline Regs load(const TesselLaneVectors& v)
{
    Regs r;
    r.frame = _mm256_load_si256(reinterpret_cast<const __m256i*>(v.frame));
    r.fraction = _mm256_load_ps(v.fraction);
    r.step = _mm256_load_ps(v.step);
    r.current0 = _mm256_load_ps(v.current[0]);
    r.current1 = _mm256_load_ps(v.current[1]);
    r.keep0 = _mm256_load_ps(v.keep[0]);
    r.keep1 = _mm256_load_ps(v.keep[1]);
    r.take0 = _mm256_load_ps(v.take[0]);
    r.take1 = _mm256_load_ps(v.take[1]);
    r.floor0 = _mm256_load_ps(v.floor[0]);
    r.floor1 = _mm256_load_ps(v.floor[1]);
    r.lo = _mm256_load_si256(reinterpret_cast<const __m256i*>(v.lo));
    r.last = _mm256_load_si256(reinterpret_cast<const __m256i*>(v.last));
    return r;
}

// The loop changes only the positions and the current gains; the rest
// lives in the spilled state, where the scalar steps change it.
QB_LANES_AVX2 inline void store(TesselLaneVectors& v, const Regs& r)
{
    _mm256_store_si256(reinterpret_cast<__m256i*>(v.frame), r.frame);
    _mm256_store_ps(v.fraction, r.fraction);
    _mm256_store_ps(v.current[0], r.current0);
    _mm256_store_ps(v.current[1], r.current1);
}

// Rows of a tile (frames by lanes) into the lanes' rows at `column`.
QB_LANES_AVX2 inline void transpose(const float* tile, float* rows, int32_t column)
{
    const __m256 r0 = _mm256_load_ps(tile), r1 = _mm256_load_ps(tile + 8);
    const __m256 r2 = _mm256_load_ps(tile + 16), r3 = _mm256_load_ps(tile + 24);
    const __m256 r4 = _mm256_load_ps(tile + 32), r5 = _mm256_load_ps(tile + 40);
    const __m256 r6 = _mm256_load_ps(tile + 48), r7 = _mm256_load_ps(tile + 56);
    const __m256 t0 = _mm256_unpacklo_ps(r0, r1), t1 = _mm256_unpackhi_ps(r0, r1);
    const __m256 t2 = _mm256_unpacklo_ps(r2, r3), t3 = _mm256_unpackhi_ps(r2, r3);
    const __m256 t4 = _mm256_unpacklo_ps(r4, r5), t5 = _mm256_unpackhi_ps(r4, r5);
    const __m256 t6 = _mm256_unpacklo_ps(r6, r7), t7 = _mm256_unpackhi_ps(r6, r7);
    const __m256 s0 = _mm256_shuffle_ps(t0, t2, 0x44), s1 = _mm256_shuffle_ps(t0, t2, 0xEE);
    const __m256 s2 = _mm256_shuffle_ps(t1, t3, 0x44), s3 = _mm256_shuffle_ps(t1, t3, 0xEE);
    const __m256 s4 = _mm256_shuffle_ps(t4, t6, 0x44), s5 = _mm256_shuffle_ps(t4, t6, 0xEE);
    const __m256 s6 = _mm256_shuffle_ps(t5, t7, 0x44), s7 = _mm256_shuffle_ps(t5, t7, 0xEE);
    float* out = rows + column;
    _mm256_storeu_ps(out, _mm256_permute2f128_ps(s0, s4, 0x20));
    _mm256_storeu_ps(out + kStride, _mm256_permute2f128_ps(s1, s5, 0x20));
    _mm256_storeu_ps(out + 2 * kStride, _mm256_permute2f128_ps(s2, s6, 0x20));
    _mm256_storeu_ps(out + 3 * kStride, _mm256_permute2f128_ps(s3, s7, 0x20));
    _mm256_storeu_ps(out + 4 * kStride, _mm256_permute2f128_ps(s0, s4, 0x31));
    _mm256_storeu_ps(out + 5 * kStride, _mm256_permute2f128_ps(s1, s5, 0x31));
    _mm256_storeu_ps(out + 6 * kStride, _mm256_permute2f128_ps(s2, s6, 0x31));
    _mm256_storeu_ps(out + 7 * kStride, _mm256_permute2f128_ps(s3, s7, 0x31));
}

// One frame of every lane: the position and gains of frame `row` into the
// tile, then the step; returns the lanes that need the scalar step.
template <bool kShort>
QB_LANES_AVX2 inline unsigned step(Regs& r, TesselLaneBuffers& b, int row)
{
    const __m256 one = _mm256_set1_ps(1.0f);
    _mm256_store_si256(reinterpret_cast<__m256i*>(b.tileFrame + 8 * row), r.frame);
    _mm256_store_ps(b.tileFraction + 8 * row, r.fraction);
    const __m256 y = _mm256_add_ps(r.fraction, r.step);
    if (kShort) {
        // 0 <= y < 2: at most one frame to carry, exactly.
        const __m256 carry = _mm256_cmp_ps(y, one, _CMP_GE_OQ);
        r.fraction = _mm256_blendv_ps(y, _mm256_sub_ps(y, one), carry);
        r.frame = _mm256_sub_epi32(r.frame, _mm256_castps_si256(carry));
    } else {
        // The whole frames of y, and a fraction that a tiny negative y
        // rounds up to 1 taken as the next frame.
        __m256 whole = _mm256_floor_ps(y);
        __m256 fraction = _mm256_sub_ps(y, whole);
        const __m256 over = _mm256_cmp_ps(fraction, one, _CMP_GE_OQ);
        r.fraction = _mm256_andnot_ps(over, fraction);
        whole = _mm256_add_ps(whole, _mm256_and_ps(over, one));
        r.frame = _mm256_add_epi32(r.frame, _mm256_cvttps_epi32(whole));
    }
    r.current0 = _mm256_add_ps(_mm256_mul_ps(r.keep0, r.current0), r.take0);
    r.current1 = _mm256_add_ps(_mm256_mul_ps(r.keep1, r.current1), r.take1);
    _mm256_store_ps(b.tileGain[0] + 8 * row, r.current0);
    _mm256_store_ps(b.tileGain[1] + 8 * row, r.current1);
    const __m256i outside = _mm256_or_si256(_mm256_cmpgt_epi32(r.lo, r.frame), _mm256_cmpgt_epi32(r.frame, r.last));
    const __m256 fell = _mm256_or_ps(_mm256_cmp_ps(r.current0, r.floor0, _CMP_LE_OQ),
                                     _mm256_cmp_ps(r.current1, r.floor1, _CMP_LE_OQ));
    return static_cast<unsigned>(_mm256_movemask_ps(_mm256_or_ps(fell, _mm256_castsi256_ps(outside))));
}

struct Window {
    __m256 earlier;
    __m256 later;
};

// s[f] and s[f + 1] of eight positions: two permutes of the eight frames
// from the nearer end when all of them lie within eight frames of it (and the
// buffer holds the ninth), else one load each.
QB_LANES_AVX2 inline void fetch(const float* s, int32_t frames, const int32_t* f, __m256i fv, __m256& a, __m256& b)
{
    const __m256i seven = _mm256_set1_epi32(7);
    for (const int32_t base : {f[0], f[7]}) {
        const __m256i d = _mm256_sub_epi32(fv, _mm256_set1_epi32(base));
        const __m256i beyond = _mm256_or_si256(_mm256_cmpgt_epi32(d, seven), _mm256_cmpgt_epi32(_mm256_setzero_si256(), d));
        if (_mm256_testz_si256(beyond, beyond) && base <= frames - 9) {
            a = _mm256_permutevar8x32_ps(_mm256_loadu_ps(s + base), d);
            b = _mm256_permutevar8x32_ps(_mm256_loadu_ps(s + base + 1), d);
            return;
        }
    }
    a = _mm256_setr_ps(s[f[0]], s[f[1]], s[f[2]], s[f[3]], s[f[4]], s[f[5]], s[f[6]], s[f[7]]);
    b = _mm256_setr_ps(s[f[0] + 1], s[f[1] + 1], s[f[2] + 1], s[f[3] + 1], s[f[4] + 1], s[f[5] + 1], s[f[6] + 1],
                       s[f[7] + 1]);
}

QB_LANES_AVX2 inline float largest(__m256 v)
{
    __m128 m = _mm_max_ps(_mm256_castps256_ps128(v), _mm256_extractf128_ps(v, 1));
    m = _mm_max_ps(m, _mm_movehl_ps(m, m));
    m = _mm_max_ss(m, _mm_shuffle_ps(m, m, 1));
    return _mm_cvtss_f32(m);
}

} // namespace

QB_LANES_AVX2 void walkLanesAvx2(TesselLaneWalk& w)
{
    TesselLaneBuffers& b = w.buffers;
    Regs r = load(b.vectors);
    for (int32_t tile = w.first; tile < w.end; tile += 8) {
        for (int row = 0; row < 8; ++row) {
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

QB_LANES_AVX2 void renderLaneAvx2(TesselLaneSpan& span)
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
    const auto length = static_cast<int32_t>(sample.audio.frames);
    const bool two = span.channels > 1;
    float* d0 = span.dst[0];
    float* d1 = two ? span.dst[1] : nullptr;

    const __m256 gv = _mm256_set1_ps(g);
    __m256 peak0 = _mm256_set1_ps(-INFINITY);
    __m256 peak1 = peak0;
    int32_t i = span.from;
    for (; i + 8 <= span.to; i += 8) {
        const __m256i fv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(frames + i));
        const __m256 later = _mm256_mul_ps(_mm256_loadu_ps(fractions + i), gv);
        const __m256 earlier = _mm256_sub_ps(gv, later);
        __m256 a;
        __m256 bb;
        fetch(s0, length, frames + i, fv, a, bb);
        const __m256 v0 = _mm256_add_ps(_mm256_mul_ps(a, earlier), _mm256_mul_ps(bb, later));
        __m256 v1 = v0;
        if (stereo) {
            fetch(s1, length, frames + i, fv, a, bb);
            v1 = _mm256_add_ps(_mm256_mul_ps(a, earlier), _mm256_mul_ps(bb, later));
        }
        const __m256 o0 = _mm256_mul_ps(v0, _mm256_loadu_ps(gains0 + i));
        peak0 = _mm256_max_ps(peak0, o0);
        if (d0)
            _mm256_storeu_ps(d0 + i, span.store ? o0 : _mm256_add_ps(o0, _mm256_loadu_ps(d0 + i)));
        if (two) {
            const __m256 o1 = _mm256_mul_ps(v1, _mm256_loadu_ps(gains1 + i));
            peak1 = _mm256_max_ps(peak1, o1);
            if (d1)
                _mm256_storeu_ps(d1 + i, span.store ? o1 : _mm256_add_ps(o1, _mm256_loadu_ps(d1 + i)));
        }
    }
    float p0 = largest(peak0);
    float p1 = largest(peak1);
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
