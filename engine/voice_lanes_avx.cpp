// The lane path's AVX2 loops: eight lanes per step, and rendering that reads
// eight frames of a sample with two permutes when they lie close together.
// Each function is compiled for AVX2 on its own so that the library runs on
// any x86-64; the arithmetic is the plain render's, operation for operation
// (no fused multiply-add).
#include "engine/interpolate.h"
#include "engine/voice_lanes.h"

#include <algorithm>
#include <array>
#include <utility>
#include <cmath>
#include <immintrin.h>

#define QB_LANES_AVX2 __attribute__((target("avx2")))

namespace {

using namespace lanes;

struct Regs {
    __m256i frame;
    __m256 fraction, current0, current1;
};

// Lanes 8q .. 8q + 7.
QB_LANES_AVX2 inline Regs load(const TesselLaneVectors& v, int q)
{
    const int o = 8 * q;
    Regs r;
    r.frame = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(v.frame + o));
    r.fraction = _mm256_loadu_ps(v.fraction + o);
    r.current0 = _mm256_loadu_ps(v.current[0] + o);
    r.current1 = _mm256_loadu_ps(v.current[1] + o);
    return r;
}

// The loop changes only the positions and the current gains; the rest
// lives in the spilled state, where the scalar steps change it.
QB_LANES_AVX2 inline void store(TesselLaneVectors& v, const Regs& r, int q)
{
    const int o = 8 * q;
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(v.frame + o), r.frame);
    _mm256_storeu_ps(v.fraction + o, r.fraction);
    _mm256_storeu_ps(v.current[0] + o, r.current0);
    _mm256_storeu_ps(v.current[1] + o, r.current1);
}

// Rows of a tile (eight frames by eight lanes) into the rows of lanes
// 4h .. 4h + 3 from `column`: the frames k and k + 4 of four lanes loaded
// side by side, then four-by-four transposes inside the halves.
QB_LANES_AVX2 inline __attribute__((always_inline)) void transposeHalf(const float* tile, float* rows, int32_t stride, int32_t column, int h)
{
    const float* t = tile + 4 * h;
    const __m256 v0 = _mm256_loadu2_m128(t + 32, t);
    const __m256 v1 = _mm256_loadu2_m128(t + 40, t + 8);
    const __m256 v2 = _mm256_loadu2_m128(t + 48, t + 16);
    const __m256 v3 = _mm256_loadu2_m128(t + 56, t + 24);
    const __m256 t0 = _mm256_unpacklo_ps(v0, v1), t1 = _mm256_unpackhi_ps(v0, v1);
    const __m256 t2 = _mm256_unpacklo_ps(v2, v3), t3 = _mm256_unpackhi_ps(v2, v3);
    float* out = rows + 4 * h * stride + column;
    _mm256_storeu_ps(out, _mm256_shuffle_ps(t0, t2, 0x44));
    _mm256_storeu_ps(out + stride, _mm256_shuffle_ps(t0, t2, 0xEE));
    _mm256_storeu_ps(out + 2 * stride, _mm256_shuffle_ps(t1, t3, 0x44));
    _mm256_storeu_ps(out + 3 * stride, _mm256_shuffle_ps(t1, t3, 0xEE));
}

// The rows of the first `lanes` lanes of a tile (the others are not read).
QB_LANES_AVX2 inline __attribute__((always_inline)) void transpose(const float* tile, float* rows, int32_t stride, int32_t column, int lanes)
{
    transposeHalf(tile, rows, stride, column, 0);
    if (lanes > 4)
        transposeHalf(tile, rows, stride, column, 1);
}

// One frame of one vector of lanes: the position and gains of frame `row`
// into the tile, then the step; returns the lanes that need the scalar step.
// Without kCheck the caller knows that no lane needs the scalar step.
// Without kWrap the caller knows that no lane passes a forward loop's end.
template <int kKind, bool kRamp, bool kCheck = true, bool kWrap = true>
QB_LANES_AVX2 inline __attribute__((always_inline)) unsigned step(Regs& r, TesselLaneBuffers& b, int q, int row)
{
    // What the scalar steps set is read where it lies; only the positions
    // and gains, which change every frame, live in registers.
    const TesselLaneVectors& v = b.vectors;
    const int o = 8 * q;
    const __m256 one = _mm256_set1_ps(1.0f);
    const int at = 64 * q + 8 * row;
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(b.tileFrame + at), r.frame);
    _mm256_storeu_ps(b.tileFraction + at, r.fraction);
    const __m256 y = _mm256_add_ps(r.fraction, _mm256_loadu_ps(v.step + o));
    if (kKind == kStepsForward) {
        // 0 <= y < 2: at most one frame to carry.
        const __m256 up = _mm256_cmp_ps(y, one, _CMP_GE_OQ);
        r.fraction = _mm256_blendv_ps(y, _mm256_sub_ps(y, one), up);
        r.frame = _mm256_sub_epi32(r.frame, _mm256_castps_si256(up));
    } else if (kKind == kStepsForward2) {
        // 0 <= y < 3: up to two frames to carry.
        const __m256 two = _mm256_set1_ps(2.0f);
        const __m256 up = _mm256_cmp_ps(y, one, _CMP_GE_OQ);
        const __m256 up2 = _mm256_cmp_ps(y, two, _CMP_GE_OQ);
        r.fraction = _mm256_blendv_ps(_mm256_blendv_ps(y, _mm256_sub_ps(y, one), up), _mm256_sub_ps(y, two), up2);
        r.frame = _mm256_sub_epi32(_mm256_sub_epi32(r.frame, _mm256_castps_si256(up)), _mm256_castps_si256(up2));
    } else if (kKind == kStepsShort) {
        // -1 < y < 2: one frame up or down; a y so close below 0 that y + 1
        // rounds to 1 stays in its frame at fraction 0.
        const __m256 up = _mm256_cmp_ps(y, one, _CMP_GE_OQ);
        const __m256 down = _mm256_cmp_ps(y, _mm256_setzero_ps(), _CMP_LT_OQ);
        const __m256 tiny = _mm256_and_ps(down, _mm256_cmp_ps(y, _mm256_set1_ps(-0x1p-25f), _CMP_GE_OQ));
        const __m256 carried = _mm256_blendv_ps(_mm256_blendv_ps(y, _mm256_sub_ps(y, one), up), _mm256_add_ps(y, one), down);
        r.fraction = _mm256_andnot_ps(tiny, carried);
        r.frame = _mm256_add_epi32(_mm256_sub_epi32(r.frame, _mm256_castps_si256(up)),
                                   _mm256_castps_si256(_mm256_andnot_ps(tiny, down)));
    } else {
        // The whole frames of y; a fraction that rounds up to 1 (a tiny
        // negative y) is the next frame.
        __m256 whole = _mm256_floor_ps(y);
        const __m256 fraction = _mm256_sub_ps(y, whole);
        const __m256 over = _mm256_cmp_ps(fraction, one, _CMP_GE_OQ);
        r.fraction = _mm256_andnot_ps(over, fraction);
        whole = _mm256_add_ps(whole, _mm256_and_ps(over, one));
        r.frame = _mm256_add_epi32(r.frame, _mm256_cvttps_epi32(whole));
    }
    // A forward loop's end: back by its length.
    if (kWrap) {
        const __m256i wrapped = _mm256_cmpgt_epi32(r.frame, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(v.wrapAfter + o)));
        r.frame = _mm256_sub_epi32(r.frame, _mm256_and_si256(wrapped, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(v.wrapBy + o))));
    }
    if (kRamp) {
        r.current0 = _mm256_add_ps(_mm256_mul_ps(_mm256_loadu_ps(v.keep[0] + o), r.current0), _mm256_loadu_ps(v.take[0] + o));
        r.current1 = _mm256_add_ps(_mm256_mul_ps(_mm256_loadu_ps(v.keep[1] + o), r.current1), _mm256_loadu_ps(v.take[1] + o));
        _mm256_storeu_ps(b.tileGain[0] + at, r.current0);
        _mm256_storeu_ps(b.tileGain[1] + at, r.current1);
    }
    if (!kCheck)
        return 0;
    const __m256i outside = _mm256_or_si256(_mm256_cmpgt_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(v.lo + o)), r.frame), _mm256_cmpgt_epi32(r.frame, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(v.last + o))));
    if (!kRamp)
        return static_cast<unsigned>(_mm256_movemask_ps(_mm256_castsi256_ps(outside)));
    const __m256 fell = _mm256_or_ps(_mm256_cmp_ps(r.current0, _mm256_loadu_ps(v.floor[0] + o), _CMP_LE_OQ),
                                     _mm256_cmp_ps(r.current1, _mm256_loadu_ps(v.floor[1] + o), _CMP_LE_OQ));
    return static_cast<unsigned>(_mm256_movemask_ps(_mm256_or_ps(fell, _mm256_castsi256_ps(outside))));
}

// s[w + d] and s[w + d + 1] for offsets d below 8 (16 when `kWide`).
template <bool kWide>
QB_LANES_AVX2 inline __attribute__((always_inline)) void window(const float* w, __m256i d, __m256& a, __m256& b)
{
    if (!kWide) {
        a = _mm256_permutevar8x32_ps(_mm256_loadu_ps(w), d);
        b = _mm256_permutevar8x32_ps(_mm256_loadu_ps(w + 1), d);
        return;
    }
    // Offsets 8..15 take the upper window; bit 3 of the offset picks it.
    const __m256 upper = _mm256_castsi256_ps(_mm256_slli_epi32(d, 28));
    a = _mm256_blendv_ps(_mm256_permutevar8x32_ps(_mm256_loadu_ps(w), d),
                         _mm256_permutevar8x32_ps(_mm256_loadu_ps(w + 8), d), upper);
    b = _mm256_blendv_ps(_mm256_permutevar8x32_ps(_mm256_loadu_ps(w + 1), d),
                         _mm256_permutevar8x32_ps(_mm256_loadu_ps(w + 9), d), upper);
}

// s[f] and s[f + 1] of eight positions. Positions that move by at most one
// frame per frame (two when `kWide`) lie within 8 (16) frames of the lower
// end: permutes of one (two) loads each, from a base kept inside the buffer
// (`length` floats). Forward steps put the lower end first. A loop's wrap
// between them reads value by value.
template <bool kWide>
QB_LANES_AVX2 inline __attribute__((always_inline)) void fetch(const float* s, int32_t length, const int32_t* f,
                                                              __m256i fv, __m256& a, __m256& b)
{
    constexpr int32_t kSpan = kWide ? 16 : 8;
    const __m256i outside = _mm256_set1_epi32(~(kSpan - 1));
    const int32_t first = f[0];
    const __m256i d = _mm256_sub_epi32(fv, _mm256_set1_epi32(first));
    if (_mm256_testz_si256(d, outside) &&
        static_cast<uint32_t>(first) <= static_cast<uint32_t>(length - kSpan - 1)) {
        window<kWide>(s + first, d, a, b);
        return;
    }
    const int32_t base = std::min(std::min(f[0], f[7]), length - kSpan - 1);
    const __m256i e = _mm256_sub_epi32(fv, _mm256_set1_epi32(base));
    if (_mm256_testz_si256(e, outside) && base >= 0) {
        window<kWide>(s + base, e, a, b);
        return;
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

namespace {

// Tile rows into the lanes' rows, from column `tile`.
// Inline in the loops: a call would spill the lanes' registers every tile.
template <int kVectors>
QB_LANES_AVX2 inline __attribute__((always_inline)) void transposeTile(TesselLaneWalk& w, int32_t tile)
{
    TesselLaneBuffers& b = w.buffers;
    for (int q = 0; q < kVectors; ++q) {
        const int at = 64 * q;
        const int32_t stride = b.stride;
        const int lanes = w.count() - 8 * q;
        transpose(reinterpret_cast<const float*>(b.tileFrame + at), reinterpret_cast<float*>(b.frameRow(8 * q)), stride,
                  tile, lanes);
        transpose(b.tileFraction + at, b.fractionRow(8 * q), stride, tile, lanes);
        if (w.tileRamped) {
            transpose(b.tileGain[0] + at, b.gainRow(0, 8 * q), stride, tile, lanes);
            transpose(b.tileGain[1] + at, b.gainRow(1, 8 * q), stride, tile, lanes);
        }
    }
    w.tileRamped = false;
}

template <int kVectors, int kKind, bool kRamp, bool kWrap>
QB_LANES_AVX2 inline __attribute__((always_inline)) void singleStep(TesselLaneWalk& w, Regs& r0, Regs& r1, int32_t frame)
{
    const int row = frame & 7;
    step<kKind, kRamp, false, kWrap>(r0, w.buffers, 0, row);
    if (kVectors == 2)
        step<kKind, kRamp, false, kWrap>(r1, w.buffers, 1, row);
    if (row == 7) {
        transposeTile<kVectors>(w, frame - 7);
        w.tileRamped = kRamp;
    }
}

// Quiet steps from `frame` up to `end`: whole tiles with their rows fixed,
// the frames before and after them one by one.
template <int kVectors, int kKind, bool kRamp, bool kWrap>
QB_LANES_AVX2 inline __attribute__((always_inline)) void quietSteps(TesselLaneWalk& w, Regs& r0, Regs& r1,
                                                                   int32_t& frame, int32_t end)
{
    TesselLaneBuffers& b = w.buffers;
    for (; frame < end && (frame & 7) != 0; ++frame)
        singleStep<kVectors, kKind, kRamp, kWrap>(w, r0, r1, frame);
    for (; frame + 8 <= end; frame += 8) {
#pragma GCC unroll 8
        for (int row = 0; row < 8; ++row) {
            step<kKind, kRamp, false, kWrap>(r0, b, 0, row);
            if (kVectors == 2)
                step<kKind, kRamp, false, kWrap>(r1, b, 1, row);
        }
        transposeTile<kVectors>(w, frame);
        w.tileRamped = kRamp;
    }
    for (; frame < end; ++frame)
        singleStep<kVectors, kKind, kRamp, kWrap>(w, r0, r1, frame);
}

// Steps from `frame` up to `stop` (or the first step whose lanes need the
// scalar step, their mask in *mask); returns the frame after the last step.
// One kind of step throughout, so the lanes' registers stay registers; the
// quiet steps first, without the per-frame test, and without the loop test
// while no lane can reach a loop's end.
template <int kVectors, int kKind, bool kRamp>
QB_LANES_AVX2 __attribute__((noinline)) int32_t run(TesselLaneWalk& w, int32_t frame, int32_t stop, unsigned* mask)
{
    TesselLaneBuffers& b = w.buffers;
    const int32_t quiet = frame + std::min(w.quietSteps(frame), stop - frame);
    const int32_t unwrapped = frame + std::min(w.wrapFreeSteps(), quiet - frame);
    Regs r0 = load(b.vectors, 0);
    Regs r1 = kVectors == 2 ? load(b.vectors, 1) : r0;
    w.tileRamped = w.tileRamped || kRamp;
    quietSteps<kVectors, kKind, kRamp, false>(w, r0, r1, frame, unwrapped);
    quietSteps<kVectors, kKind, kRamp, true>(w, r0, r1, frame, quiet);
    while (frame < stop) {
        const int row = frame & 7;
        unsigned m = step<kKind, kRamp>(r0, b, 0, row);
        if (kVectors == 2)
            m |= step<kKind, kRamp>(r1, b, 1, row) << 8;
        ++frame;
        if (row == 7) {
            transposeTile<kVectors>(w, frame - 8);
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
QB_LANES_AVX2 void walk(TesselLaneWalk& w)
{
    using Run = int32_t (*)(TesselLaneWalk&, int32_t, int32_t, unsigned*);
    static constexpr Run kRuns[2 * kStepKinds] = {
        run<kVectors, kStepsForward, false>, run<kVectors, kStepsForward2, false>,
        run<kVectors, kStepsShort, false>,   run<kVectors, kStepsAny, false>,
        run<kVectors, kStepsForward, true>,  run<kVectors, kStepsForward2, true>,
        run<kVectors, kStepsShort, true>,    run<kVectors, kStepsAny, true>,
    };
    for (int32_t frame = w.first; frame < w.end;) {
        if (frame == w.next)
            w.attend(frame);
        unsigned mask = 0;
        frame = kRuns[w.steps + (w.ramping ? kStepKinds : 0)](w, frame, std::min(w.next, w.end), &mask);
        if (mask)
            w.settle(frame - 1, mask);
    }
    w.finish();
}

} // namespace

QB_LANES_AVX2 void walkLanesAvx2(TesselLaneWalk& w)
{
    if (w.count() > 8)
        walk<2>(w);
    else
        walk<1>(w);
}

namespace {

// The render with its choices fixed: steps up to two frames, a stereo
// sample, two channels rendered, steady gains, stored rather than added.
template <bool kWide, bool kStereo, bool kTwo, bool kSteady, bool kStore>
QB_LANES_AVX2 void render(TesselLaneSpan& span)
{
    const TesselLaneBuffers& b = *span.buffers;
    const TesselSample& sample = *span.sample;
    const int32_t* frames = b.frameRow(span.lane);
    const float* fractions = b.fractionRow(span.lane);
    const float* gains0 = b.gainRow(0, span.lane);
    const float* gains1 = b.gainRow(1, span.lane);
    const float g = sampleRenderGain(sample);
    const float* s0 = sample.audio.buffers[0];
    const float* s1 = kStereo ? sample.audio.buffers[1] : s0;
    const auto length = static_cast<int32_t>(sample.audio.frames);
    float* d0 = span.dst[0];
    float* d1 = span.dst[1];

    const __m256 gv = _mm256_set1_ps(g);
    const __m256 steady0 = _mm256_set1_ps(span.gain[0]);
    const __m256 steady1 = _mm256_set1_ps(span.gain[1]);
    __m256 peak0 = _mm256_set1_ps(-INFINITY);
    __m256 peak1 = peak0;
    // The output could alias the span: its bound is read once.
    const int32_t to = span.to;
    int32_t i = span.from;
    for (; i + 8 <= to; i += 8) {
        const __m256i fv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(frames + i));
        const __m256 later = _mm256_mul_ps(_mm256_loadu_ps(fractions + i), gv);
        const __m256 earlier = _mm256_sub_ps(gv, later);
        __m256 a;
        __m256 bb;
        fetch<kWide>(s0, length, frames + i, fv, a, bb);
        const __m256 v0 = _mm256_add_ps(_mm256_mul_ps(a, earlier), _mm256_mul_ps(bb, later));
        __m256 v1 = v0;
        if (kStereo) {
            fetch<kWide>(s1, length, frames + i, fv, a, bb);
            v1 = _mm256_add_ps(_mm256_mul_ps(a, earlier), _mm256_mul_ps(bb, later));
        }
        const __m256 o0 = _mm256_mul_ps(v0, kSteady ? steady0 : _mm256_loadu_ps(gains0 + i));
        peak0 = _mm256_max_ps(peak0, o0);
        if (d0)
            _mm256_storeu_ps(d0 + i, kStore ? o0 : _mm256_add_ps(o0, _mm256_loadu_ps(d0 + i)));
        if (kTwo) {
            const __m256 o1 = _mm256_mul_ps(v1, kSteady ? steady1 : _mm256_loadu_ps(gains1 + i));
            peak1 = _mm256_max_ps(peak1, o1);
            if (d1)
                _mm256_storeu_ps(d1 + i, kStore ? o1 : _mm256_add_ps(o1, _mm256_loadu_ps(d1 + i)));
        }
    }
    span.peaks[0] = largest(peak0);
    span.peaks[1] = largest(peak1);
    span.from = i;
}

using Render = void (*)(TesselLaneSpan&);

template <int kChoice>
QB_LANES_AVX2 void renderChoice(TesselLaneSpan& span)
{
    render<(kChoice & 16) != 0, (kChoice & 8) != 0, (kChoice & 4) != 0, (kChoice & 2) != 0, (kChoice & 1) != 0>(span);
}

template <int... kChoices>
constexpr std::array<Render, sizeof...(kChoices)> renders(std::integer_sequence<int, kChoices...>)
{
    return {renderChoice<kChoices>...};
}

} // namespace

QB_LANES_AVX2 void renderLaneAvx2(TesselLaneSpan& span)
{
    static constexpr std::array<Render, 32> kRenders = renders(std::make_integer_sequence<int, 32>());
    const int32_t to = span.to;
    kRenders[static_cast<size_t>(renderLaneChoice(span))](span);
    renderLaneTail(span, to);
}
