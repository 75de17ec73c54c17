// The lane path's SSE2 loops: four lanes per step, and rendering four frames
// at a time with one load per sample value. The arithmetic is the plain
// render's, operation for operation.
#include "engine/interpolate.h"
#include "engine/voice_lanes.h"

#include <algorithm>
#include <cmath>
#include <emmintrin.h>

namespace {

using namespace lanes;

struct Regs {
    __m128i frame;
    __m128 fraction, current0, current1;
};

// Lanes 4q .. 4q + 3.
Regs load(const TesselLaneVectors& v, int q)
{
    const int o = 4 * q;
    Regs r;
    r.frame = _mm_load_si128(reinterpret_cast<const __m128i*>(v.frame + o));
    r.fraction = _mm_load_ps(v.fraction + o);
    r.current0 = _mm_load_ps(v.current[0] + o);
    r.current1 = _mm_load_ps(v.current[1] + o);
    return r;
}

// The loop changes only the positions and the current gains.
void store(TesselLaneVectors& v, const Regs& r, int q)
{
    const int o = 4 * q;
    _mm_store_si128(reinterpret_cast<__m128i*>(v.frame + o), r.frame);
    _mm_store_ps(v.fraction + o, r.fraction);
    _mm_store_ps(v.current[0] + o, r.current0);
    _mm_store_ps(v.current[1] + o, r.current1);
}

inline __attribute__((always_inline)) void transpose(const float* tile, float* rows, int32_t stride, int32_t column)
{
    __m128 r0 = _mm_load_ps(tile);
    __m128 r1 = _mm_load_ps(tile + 4);
    __m128 r2 = _mm_load_ps(tile + 8);
    __m128 r3 = _mm_load_ps(tile + 12);
    _MM_TRANSPOSE4_PS(r0, r1, r2, r3);
    float* out = rows + column;
    _mm_storeu_ps(out, r0);
    _mm_storeu_ps(out + stride, r1);
    _mm_storeu_ps(out + 2 * stride, r2);
    _mm_storeu_ps(out + 3 * stride, r3);
}

__m128 select(__m128 mask, __m128 yes, __m128 no)
{
    return _mm_or_ps(_mm_and_ps(mask, yes), _mm_andnot_ps(mask, no));
}

// Without kCheck the caller knows that no lane needs the scalar step.
template <bool kShort, bool kRamp, bool kCheck = true>
inline __attribute__((always_inline)) unsigned step(Regs& r, TesselLaneBuffers& b, int q, int row)
{
    // What the scalar steps set is read where it lies; only the positions
    // and gains, which change every frame, live in registers.
    const TesselLaneVectors& v = b.vectors;
    const int o = 4 * q;
    const __m128 one = _mm_set1_ps(1.0f);
    const int at = 16 * q + 4 * row;
    _mm_store_si128(reinterpret_cast<__m128i*>(b.tileFrame + at), r.frame);
    _mm_store_ps(b.tileFraction + at, r.fraction);
    const __m128 y = _mm_add_ps(r.fraction, _mm_load_ps(v.step + o));
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
    // A forward loop's end: back by its length.
    const __m128i wrapped = _mm_cmpgt_epi32(r.frame, _mm_load_si128(reinterpret_cast<const __m128i*>(v.wrapAfter + o)));
    r.frame = _mm_sub_epi32(r.frame, _mm_and_si128(wrapped, _mm_load_si128(reinterpret_cast<const __m128i*>(v.wrapBy + o))));
    if (kRamp) {
        r.current0 = _mm_add_ps(_mm_mul_ps(_mm_load_ps(v.keep[0] + o), r.current0), _mm_load_ps(v.take[0] + o));
        r.current1 = _mm_add_ps(_mm_mul_ps(_mm_load_ps(v.keep[1] + o), r.current1), _mm_load_ps(v.take[1] + o));
        _mm_store_ps(b.tileGain[0] + at, r.current0);
        _mm_store_ps(b.tileGain[1] + at, r.current1);
    }
    if (!kCheck)
        return 0;
    const __m128i outside = _mm_or_si128(_mm_cmpgt_epi32(_mm_load_si128(reinterpret_cast<const __m128i*>(v.lo + o)), r.frame), _mm_cmpgt_epi32(r.frame, _mm_load_si128(reinterpret_cast<const __m128i*>(v.last + o))));
    if (!kRamp)
        return static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(outside)));
    const __m128 fell = _mm_or_ps(_mm_cmple_ps(r.current0, _mm_load_ps(v.floor[0] + o)), _mm_cmple_ps(r.current1, _mm_load_ps(v.floor[1] + o)));
    return static_cast<unsigned>(_mm_movemask_ps(_mm_or_ps(fell, _mm_castsi128_ps(outside))));
}

__m128 largest(__m128 v)
{
    v = _mm_max_ps(v, _mm_movehl_ps(v, v));
    return _mm_max_ss(v, _mm_shuffle_ps(v, v, 1));
}

} // namespace

namespace {

// Inline in the loops: a call would spill the lanes' registers every tile.
template <int kVectors>
inline __attribute__((always_inline)) void transposeTile(TesselLaneWalk& w, int32_t tile)
{
    TesselLaneBuffers& b = w.buffers;
    for (int q = 0; q < kVectors; ++q) {
        const int at = 16 * q;
        const int32_t stride = b.stride;
        transpose(reinterpret_cast<const float*>(b.tileFrame + at), reinterpret_cast<float*>(b.frameRow(4 * q)), stride,
                  tile);
        transpose(b.tileFraction + at, b.fractionRow(4 * q), stride, tile);
        if (w.tileRamped) {
            transpose(b.tileGain[0] + at, b.gainRow(0, 4 * q), stride, tile);
            transpose(b.tileGain[1] + at, b.gainRow(1, 4 * q), stride, tile);
        }
    }
    w.tileRamped = false;
}

// Steps from `frame` up to `stop` (or the first step whose lanes need the
// scalar step); one kind of step throughout, so the lanes' registers stay
// registers, the quiet steps first without the per-frame test. Steps other
// than short forward ones take the general step.
template <int kVectors, bool kShort, bool kRamp>
__attribute__((noinline)) int32_t run(TesselLaneWalk& w, int32_t frame, int32_t stop, unsigned* mask)
{
    TesselLaneBuffers& b = w.buffers;
    const int32_t quiet = frame + std::min(w.quietSteps(frame), stop - frame);
    Regs r0 = load(b.vectors, 0);
    Regs r1 = kVectors == 2 ? load(b.vectors, 1) : r0;
    w.tileRamped = w.tileRamped || kRamp;
    for (; frame < quiet; ++frame) {
        const int row = frame & 3;
        step<kShort, kRamp, false>(r0, b, 0, row);
        if (kVectors == 2)
            step<kShort, kRamp, false>(r1, b, 1, row);
        if (row == 3) {
            transposeTile<kVectors>(w, frame - 3);
            w.tileRamped = kRamp;
        }
    }
    while (frame < stop) {
        const int row = frame & 3;
        unsigned m = step<kShort, kRamp>(r0, b, 0, row);
        if (kVectors == 2)
            m |= step<kShort, kRamp>(r1, b, 1, row) << 4;
        ++frame;
        if (row == 3) {
            transposeTile<kVectors>(w, frame - 4);
            w.tileRamped = kRamp;
        }
        if (m) {
            *mask = m;
            break;
        }
    }
    store(b.vectors, r0, 0);
    if (kVectors == 2)
        store(b.vectors, r1, 1);
    return frame;
}

template <int kVectors>
void walk(TesselLaneWalk& w)
{
    using Run = int32_t (*)(TesselLaneWalk&, int32_t, int32_t, unsigned*);
    static constexpr Run kRuns[4] = {
        run<kVectors, false, false>, run<kVectors, true, false>,
        run<kVectors, false, true>,  run<kVectors, true, true>,
    };
    for (int32_t frame = w.first; frame < w.end;) {
        if (frame == w.next)
            w.attend(frame);
        unsigned mask = 0;
        const int choice = (w.ramping ? 2 : 0) + (w.steps == kStepsForward ? 1 : 0);
        frame = kRuns[choice](w, frame, std::min(w.next, w.end), &mask);
        if (mask)
            w.settle(frame - 1, mask);
    }
    w.finish();
}

} // namespace

void walkLanesSse(TesselLaneWalk& w)
{
    if (w.count() > 4)
        walk<2>(w);
    else
        walk<1>(w);
}

namespace {

template <bool kStereo, bool kTwo, bool kSteady, bool kStore>
void render(TesselLaneSpan& span)
{
    const TesselLaneBuffers& b = *span.buffers;
    const TesselSample& sample = *span.sample;
    const int32_t* frames = b.frameRow(span.lane);
    const float* fractions = b.fractionRow(span.lane);
    const float* gains0 = b.gainRow(0, span.lane);
    const float* gains1 = b.gainRow(1, span.lane);
    const float* s0 = sample.audio.buffers[0];
    const float* s1 = kStereo ? sample.audio.buffers[1] : s0;
    float* d0 = span.dst[0];
    float* d1 = span.dst[1];

    const __m128 gv = _mm_set1_ps(sampleRenderGain(sample));
    const __m128 steady0 = _mm_set1_ps(span.gain[0]);
    const __m128 steady1 = _mm_set1_ps(span.gain[1]);
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
        if (kStereo) {
            a = _mm_setr_ps(s1[f[0]], s1[f[1]], s1[f[2]], s1[f[3]]);
            bb = _mm_setr_ps(s1[f[0] + 1], s1[f[1] + 1], s1[f[2] + 1], s1[f[3] + 1]);
            v1 = _mm_add_ps(_mm_mul_ps(a, earlier), _mm_mul_ps(bb, later));
        }
        const __m128 o0 = _mm_mul_ps(v0, kSteady ? steady0 : _mm_loadu_ps(gains0 + i));
        peak0 = _mm_max_ps(peak0, o0);
        if (d0)
            _mm_storeu_ps(d0 + i, kStore ? o0 : _mm_add_ps(o0, _mm_loadu_ps(d0 + i)));
        if (kTwo) {
            const __m128 o1 = _mm_mul_ps(v1, kSteady ? steady1 : _mm_loadu_ps(gains1 + i));
            peak1 = _mm_max_ps(peak1, o1);
            if (d1)
                _mm_storeu_ps(d1 + i, kStore ? o1 : _mm_add_ps(o1, _mm_loadu_ps(d1 + i)));
        }
    }
    span.peaks[0] = _mm_cvtss_f32(largest(peak0));
    span.peaks[1] = _mm_cvtss_f32(largest(peak1));
    span.from = i;
}

} // namespace

void renderLaneSse(TesselLaneSpan& span)
{
    using Render = void (*)(TesselLaneSpan&);
    static constexpr Render kRenders[16] = {
        render<false, false, false, false>, render<false, false, false, true>, render<false, false, true, false>,
        render<false, false, true, true>,   render<false, true, false, false>, render<false, true, false, true>,
        render<false, true, true, false>,   render<false, true, true, true>,   render<true, false, false, false>,
        render<true, false, false, true>,   render<true, false, true, false>,  render<true, false, true, true>,
        render<true, true, false, false>,   render<true, true, false, true>,   render<true, true, true, false>,
        render<true, true, true, true>,
    };
    const int32_t to = span.to;
    kRenders[renderLaneChoice(span) & 15](span);
    renderLaneTail(span, to);
}
