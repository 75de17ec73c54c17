// The direct voice path's vector loop: eight frames a step, their positions
// computed from the stretch's start and step in 64-bit lanes, the sample read
// by gathers, linear interpolation, the ramp's closed form and the add into
// the output. Compiled for AVX2 on its own so that the library runs on any
// x86-64; the arithmetic is the plain render's, operation for operation (no
// fused multiply-add).
#include "engine/voice/voice_direct.h"

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

// One channel's ramp in registers: the gains of eight frames from ramp step
// `step` on (the steps beyond the tables take their last entry), 0 after
// the frame at which it fell silent.
struct RampLane {
    bool held;
    __m256 from;
    __m256 target;
    __m256i silentAt;
    int32_t step;
};

QB_DIRECT_AVX2 inline RampLane rampLane(const TesselRampChannel& r, int32_t k)
{
    // Past the tables' last step a ramp plays at one gain (the last step's)
    // for good: held at it, rather than every turn gathering that one entry.
    if (r.from != r.target && r.age + k >= TesselTables::kRampSteps - 1) {
        const __m256 settled = _mm256_set1_ps(r.at(k));
        return {true, settled, settled, _mm256_set1_epi32(r.silentAt), r.age + k};
    }
    return {r.from == r.target, _mm256_set1_ps(r.from), _mm256_set1_ps(r.target), _mm256_set1_epi32(r.silentAt),
            r.age + k};
}

QB_DIRECT_AVX2 inline __attribute__((always_inline)) __m256 rampGains(const RampLane& r, const float* keepTable,
                                                                     const float* takeTable, int32_t i, __m256i frames)
{
    const __m256 outside = _mm256_castsi256_ps(_mm256_cmpgt_epi32(frames, r.silentAt));
    if (r.held)
        return _mm256_andnot_ps(outside, r.target);
    constexpr int32_t kLast = TesselTables::kRampSteps - 1;
    const int32_t step = r.step + i;
    __m256 keep;
    __m256 take;
    if (step + 7 <= kLast) {
        keep = _mm256_loadu_ps(keepTable + step);
        take = _mm256_loadu_ps(takeTable + step);
    } else {
        const __m256i index = _mm256_min_epi32(
            _mm256_add_epi32(_mm256_set1_epi32(step), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7)), _mm256_set1_epi32(kLast));
        keep = _mm256_i32gather_ps(keepTable, index, 4);
        take = _mm256_i32gather_ps(takeTable, index, 4);
    }
    return _mm256_andnot_ps(outside, _mm256_add_ps(_mm256_mul_ps(r.from, keep), _mm256_mul_ps(r.target, take)));
}

// How eight frames read the sample: positions within 8 frames of the lowest
// (steps up to one frame) or 16 (up to two) from permutes of one or two
// loads; longer steps by gathers.
constexpr int kNear = 0;
constexpr int kWide = 1;
constexpr int kFar = 2;

// s[w + d] and s[w + d + 1] for offsets d below 8 (16 when wide).
template <int kFetch>
QB_DIRECT_AVX2 inline __attribute__((always_inline)) void window(const float* w, __m256i d, __m256& a, __m256& b)
{
    if (kFetch == kNear) {
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

// s[f] and s[f + 1] of eight frames whose lowest frame is `base`; a window
// that would pass the buffer's `length` floats gathers instead.
template <int kFetch>
QB_DIRECT_AVX2 inline __attribute__((always_inline)) void fetch(const float* s, int32_t length, int32_t base,
                                                               __m256i whole, __m256& a, __m256& b)
{
    constexpr int32_t kSpan = kFetch == kNear ? 8 : 16;
    if (kFetch != kFar && base <= length - kSpan - 1) {
        window<kFetch>(s + base, _mm256_sub_epi32(whole, _mm256_set1_epi32(base)), a, b);
        return;
    }
    a = _mm256_i32gather_ps(s, whole, 4);
    b = _mm256_i32gather_ps(s + 1, whole, 4);
}

// The last frames of a stretch, fewer than eight: only the lanes in `lanes`
// are read or written, so that the positions beyond the stretch, which may
// lie outside the sample, and the frames beyond the block are never touched.
QB_DIRECT_AVX2 inline __attribute__((always_inline)) void fetchLanes(const float* s, __m256i whole, __m256 lanes,
                                                                    __m256& a, __m256& b)
{
    a = _mm256_mask_i32gather_ps(_mm256_setzero_ps(), s, whole, lanes, 4);
    b = _mm256_mask_i32gather_ps(_mm256_setzero_ps(), s + 1, whole, lanes, 4);
}

// Adds (or stores) eight frames, or the tail's lanes of them.
template <bool kStore>
QB_DIRECT_AVX2 inline __attribute__((always_inline)) void put(float* d, __m256 o, bool tail, __m256 lanes)
{
    if (!tail) {
        _mm256_storeu_ps(d, kStore ? o : _mm256_add_ps(o, _mm256_loadu_ps(d)));
        return;
    }
    const __m256i m = _mm256_castps_si256(lanes);
    _mm256_maskstore_ps(d, m, kStore ? o : _mm256_add_ps(o, _mm256_maskload_ps(d, m)));
}

// What stays the same through a stretch.
struct Stretch {
    const float* s0;
    const float* s1;
    int32_t length;
    float* d0;
    float* d1;
    __m256 g;
    const float* keepTable;
    const float* takeTable;
    RampLane ramp0;
    RampLane ramp1;
    TesselFixedPos position;
    int64_t step;
    int32_t frame;
};

// What moves on eight frames a turn.
struct Turn {
    __m256i low;     // positions of frames 0..3 of the turn
    __m256i high;    // and of 4..7
    __m256i frames8;
    __m256 peak0;
    __m256 peak1;
};

// One channel's sample values at eight positions, linearly interpolated.
template <int kFetch, bool kTail>
QB_DIRECT_AVX2 inline __attribute__((always_inline)) __m256 interpolate(const float* s, int32_t length, int32_t base,
                                                                       __m256i whole, __m256 lanes, __m256 earlier,
                                                                       __m256 later)
{
    __m256 x;
    __m256 y;
    if (kTail)
        fetchLanes(s, whole, lanes, x, y);
    else
        fetch<kFetch>(s, length, base, whole, x, y);
    return _mm256_add_ps(_mm256_mul_ps(x, earlier), _mm256_mul_ps(y, later));
}

// One channel's values times its gains, into its peak and its frames.
template <bool kStore, bool kHeld, bool kTail>
QB_DIRECT_AVX2 inline __attribute__((always_inline)) void channelOut(const Stretch& st, const RampLane& ramp, float* d,
                                                                    __m256 v, __m256& peak, int32_t i,
                                                                    __m256i frames8, __m256 lanes)
{
    const __m256 gain =
        kHeld ? _mm256_andnot_ps(_mm256_castsi256_ps(_mm256_cmpgt_epi32(frames8, ramp.silentAt)), ramp.target)
              : rampGains(ramp, st.keepTable, st.takeTable, i, frames8);
    const __m256 o = _mm256_mul_ps(v, gain);
    peak = kTail ? _mm256_blendv_ps(peak, _mm256_max_ps(peak, o), lanes) : _mm256_max_ps(peak, o);
    if (d)
        put<kStore>(d + st.frame + i, o, kTail, lanes);
}

// Frames i..i+7 of the stretch; with kTail only the lanes in `lanes`.
template <int kChannels, bool kStereo, bool kStore, int kFetch, bool kHeld, bool kTail>
QB_DIRECT_AVX2 inline __attribute__((always_inline)) void eightFrames(const Stretch& st, Turn& t, int32_t i,
                                                                     __m256 lanes)
{
    // The upper halves of four 64-bit positions into the lower lane, the lower halves into the upper.
    const __m256i split = _mm256_setr_epi32(1, 3, 5, 7, 0, 2, 4, 6);
    const __m256i a = _mm256_permutevar8x32_epi32(t.low, split);
    const __m256i b = _mm256_permutevar8x32_epi32(t.high, split);
    const __m256i whole = _mm256_permute2x128_si256(a, b, 0x20);
    const __m256i bits = _mm256_permute2x128_si256(a, b, 0x31);
    const __m256 fraction = _mm256_mul_ps(_mm256_cvtepi32_ps(_mm256_srli_epi32(bits, 8)), _mm256_set1_ps(0x1p-24f));
    const __m256 later = _mm256_mul_ps(fraction, st.g);
    const __m256 earlier = _mm256_sub_ps(st.g, later);

    // The lowest frame: the first for steps up, the last for steps down.
    const TesselFixedPos first = st.position + st.step * i;
    const auto base = static_cast<int32_t>((st.step >= 0 ? first : first + 7 * st.step) >> kFixedFractionBits);
    const __m256 v0 = interpolate<kFetch, kTail>(st.s0, st.length, base, whole, lanes, earlier, later);
    channelOut<kStore, kHeld, kTail>(st, st.ramp0, st.d0, v0, t.peak0, i, t.frames8, lanes);
    if (kChannels == 2) {
        const __m256 v1 =
            kStereo ? interpolate<kFetch, kTail>(st.s1, st.length, base, whole, lanes, earlier, later) : v0;
        channelOut<kStore, kHeld, kTail>(st, st.ramp1, st.d1, v1, t.peak1, i, t.frames8, lanes);
    }
}

template <int kChannels, bool kStereo, bool kStore, int kFetch, bool kHeld>
QB_DIRECT_AVX2 void render(TesselDirectSpan& span, int32_t frame, int32_t k, TesselFixedPos position, int64_t step,
                           int32_t count)
{
    const TesselTables& tables = tesselTables();
    const Stretch st{span.source[0],
                     span.source[1],
                     span.length,
                     span.dst[0],
                     span.dst[1],
                     _mm256_set1_ps(span.scale),
                     tables.rampKeep,
                     tables.rampTake,
                     rampLane(span.ramp[0], k),
                     rampLane(span.ramp[1], k),
                     position,
                     step,
                     frame};
    const __m256i laneIndex = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    Turn t;
    t.frames8 = _mm256_add_epi32(_mm256_set1_epi32(k), laneIndex);
    t.low = _mm256_setr_epi64x(position, position + step, position + 2 * step, position + 3 * step);
    t.high = _mm256_add_epi64(t.low, _mm256_set1_epi64x(4 * step));
    t.peak0 = _mm256_set1_ps(span.peaks[0]);
    t.peak1 = _mm256_set1_ps(span.peaks[1]);
    const __m256i stride = _mm256_set1_epi64x(8 * step);
    const __m256i eight = _mm256_set1_epi32(8);

    int32_t i = 0;
    for (; i + 8 <= count; i += 8) {
        eightFrames<kChannels, kStereo, kStore, kFetch, kHeld, false>(st, t, i, __m256{});
        t.low = _mm256_add_epi64(t.low, stride);
        t.high = _mm256_add_epi64(t.high, stride);
        t.frames8 = _mm256_add_epi32(t.frames8, eight);
    }
    // The last frames, fewer than eight, in one masked turn rather than a
    // frame-by-frame loop, which the short stretches of small loops would
    // otherwise spend much of their time in.
    if (i < count) {
        const __m256 lanes = _mm256_castsi256_ps(_mm256_cmpgt_epi32(_mm256_set1_epi32(count - i), laneIndex));
        eightFrames<kChannels, kStereo, kStore, kFetch, kHeld, true>(st, t, i, lanes);
    }
    span.peaks[0] = largest(t.peak0);
    span.peaks[1] = largest(t.peak1);
}

using Render = void (*)(TesselDirectSpan&, int32_t, int32_t, TesselFixedPos, int64_t, int32_t);

// Every variant for one way of reading the sample and of taking the gains.
#define RENDERS_OF(fetch, held)                                                                                 \
    {                                                                                                          \
        render<1, false, false, fetch, held>, render<1, false, true, fetch, held>,                             \
            render<1, true, false, fetch, held>, render<1, true, true, fetch, held>,                           \
            render<2, false, false, fetch, held>, render<2, false, true, fetch, held>,                         \
            render<2, true, false, fetch, held>, render<2, true, true, fetch, held>                            \
    }
#define RENDERS(held) {RENDERS_OF(kNear, held), RENDERS_OF(kWide, held), RENDERS_OF(kFar, held)}

} // namespace

QB_DIRECT_AVX2 void renderDirectAvx2(TesselDirectSpan& span, int32_t frame, int32_t k, TesselFixedPos position,
                                     int64_t step, int32_t count)
{
    static constexpr Render kRenders[2][3][8] = {RENDERS(false), RENDERS(true)};
    constexpr int64_t kOne = int64_t{1} << kFixedFractionBits;
    const int64_t size = step < 0 ? -step : step;
    const int fetch = size <= kOne ? kNear : size <= 2 * kOne ? kWide : kFar;
    const bool stereo = span.source[1] != span.source[0];
    if (span.compact && fetch != kFar) {
        // The wide reads give what the near ones do, and the moving gains
        // what the held ones do: a short block fetches one loop's code.
        static constexpr Render kCompact[8] = RENDERS_OF(kWide, false);
        kCompact[(span.channels == 2) * 4 + stereo * 2 + span.store](span, frame, k, position, step, count);
        return;
    }
    // Gains that stay where they are on every channel rendered: no ramp in the loop.
    const bool held = span.ramp[0].from == span.ramp[0].target &&
                      (span.channels < 2 || span.ramp[1].from == span.ramp[1].target);
    kRenders[held][fetch][(span.channels == 2) * 4 + stereo * 2 + span.store](span, frame, k, position, step, count);
}
