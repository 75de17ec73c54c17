// The SSE2 and SSSE3 variants (levels 0 to 4).
#include "engine/vector/vector_cpu.h"
#include "engine/vector/vector_kernels.h"

#include <cstddef>
#include <cstdint>
#include <immintrin.h>

namespace vec {
namespace {

inline uintptr_t addr(const void* p)
{
    return reinterpret_cast<uintptr_t>(p);
}

inline float larger(float r, float x)
{
    return r > x ? r : x;   // the rule of maxps: NaN gives the second operand
}

constexpr int kChunkFloats = 256 * 1024 / 4;   // streamed copies go 256 KB at a time

template <int kStreamSteps>
void addSse(const float* a, const float* b, float* dst, int len)
{
    int i = 0;
    if (len < 11) {
        for (; i < len; ++i)
            dst[i] = a[i] + b[i];
        return;
    }
    if ((addr(dst) & 3) == 0) {
        for (; addr(dst + i) & 15; ++i)
            dst[i] = a[i] + b[i];
        int steps = (len - i) / 8;
        const bool stream = steps > kStreamSteps;
        for (; steps > 0; --steps, i += 8) {
            const __m128 x0 = _mm_add_ps(_mm_loadu_ps(a + i), _mm_loadu_ps(b + i));
            const __m128 x1 = _mm_add_ps(_mm_loadu_ps(a + i + 4), _mm_loadu_ps(b + i + 4));
            if (stream) {
                _mm_stream_ps(dst + i, x0);
                _mm_stream_ps(dst + i + 4, x1);
            } else {
                _mm_store_ps(dst + i, x0);
                _mm_store_ps(dst + i + 4, x1);
            }
        }
        if (stream)
            _mm_sfence();
    } else {
        for (; i + 8 <= len; i += 8) {
            _mm_storeu_ps(dst + i, _mm_add_ps(_mm_loadu_ps(a + i), _mm_loadu_ps(b + i)));
            _mm_storeu_ps(dst + i + 4, _mm_add_ps(_mm_loadu_ps(a + i + 4), _mm_loadu_ps(b + i + 4)));
        }
    }
    for (; i < len; ++i)
        dst[i] = a[i] + b[i];
}

template <bool kPrefetch>
float maxSse(const float* src, int len)
{
    float r = src[0];
    int i = 1;
    if ((addr(src) & 3) == 0)
        for (; i < len && (addr(src + i) & 15); ++i)
            r = larger(r, src[i]);
    __m128 m0 = _mm_set1_ps(r);
    if (i + 4 <= len && (addr(src + i) & 31)) {
        m0 = _mm_max_ps(m0, _mm_loadu_ps(src + i));
        i += 4;
    }
    __m128 m1 = m0;
    __m128 m2 = m0;
    __m128 m3 = m0;
    for (; i + 16 <= len; i += 16) {
        if (kPrefetch)
            _mm_prefetch(reinterpret_cast<const char*>(src + i) + 128, _MM_HINT_NTA);
        m0 = _mm_max_ps(m0, _mm_loadu_ps(src + i));
        m1 = _mm_max_ps(m1, _mm_loadu_ps(src + i + 4));
        m2 = _mm_max_ps(m2, _mm_loadu_ps(src + i + 8));
        m3 = _mm_max_ps(m3, _mm_loadu_ps(src + i + 12));
    }
    for (; i + 4 <= len; i += 4)
        m0 = _mm_max_ps(m0, _mm_loadu_ps(src + i));
    m0 = _mm_max_ps(_mm_max_ps(m0, m1), _mm_max_ps(m2, m3));
    alignas(16) float lanes[4];
    _mm_store_ps(lanes, m0);
    r = larger(larger(lanes[0], lanes[1]), larger(lanes[2], lanes[3]));
    for (; i < len; ++i)
        r = larger(r, src[i]);
    return r;
}

// Brings `count` floats into the cache by reading one byte in 32.
void touch(const float* src, int count)
{
    const volatile char* p = reinterpret_cast<const volatile char*>(src);
    const size_t bytes = static_cast<size_t>(count) * 4;
    for (size_t k = 0; k < bytes; k += 32)
        (void)p[k];
}

// dst 16-byte aligned; copies whole 16-float steps of [i, len) with
// non-temporal stores, chunk by chunk; returns the new index.
int copyStreamed(const float* src, float* dst, int i, int len)
{
    while (len - i >= 16) {
        int chunk = len - i < kChunkFloats ? len - i : kChunkFloats;
        chunk -= chunk % 16;
        touch(src + i, chunk);
        for (const int end = i + chunk; i < end; i += 16) {
            _mm_stream_ps(dst + i, _mm_loadu_ps(src + i));
            _mm_stream_ps(dst + i + 4, _mm_loadu_ps(src + i + 4));
            _mm_stream_ps(dst + i + 8, _mm_loadu_ps(src + i + 8));
            _mm_stream_ps(dst + i + 12, _mm_loadu_ps(src + i + 12));
        }
    }
    _mm_sfence();
    return i;
}

// dst + i 16-byte aligned, src + i exactly kShift floats past an aligned
// address: aligned loads joined by palignr. Reads no float outside src[0, len).
template <int kShift>
__attribute__((target("ssse3"))) int copyRealigned(const float* src, float* dst, int i, int len)
{
    if (i < kShift)
        return i;
    const float* base = src + i - kShift;
    __m128i prev = _mm_load_si128(reinterpret_cast<const __m128i*>(base));
    // the next aligned block ends at base + 8 and must lie inside src[0, len)
    for (; i - kShift + 8 <= len; i += 4, base += 4) {
        const __m128i next = _mm_load_si128(reinterpret_cast<const __m128i*>(base + 4));
        _mm_store_si128(reinterpret_cast<__m128i*>(dst + i), _mm_alignr_epi8(next, prev, 4 * kShift));
        prev = next;
    }
    return i;
}

template <int kLevel>
void copySse(const float* src, float* dst, int len)
{
    if (len < 16) {
        for (int k = len - 1; k >= 0; --k)
            dst[k] = src[k];
        return;
    }
    int i = 0;
    if ((addr(dst) & 3) == 0)
        for (; addr(dst + i) & 15; ++i)
            dst[i] = src[i];
    const bool aligned = (addr(dst + i) & 15) == 0;
    const size_t bytes = static_cast<size_t>(len - i) * 4;
    if (aligned && bytes > 0x20000) {
        const int32_t cache = descriptorCacheSize();
        if (cache > 0 && bytes >= static_cast<size_t>(cache) / 2)
            i = copyStreamed(src, dst, i, len);
    }
    if (kLevel >= 3 && aligned && (addr(src + i) & 3) == 0) {
        switch ((addr(src + i) & 15) / 4) {
        case 1: i = copyRealigned<1>(src, dst, i, len); break;
        case 2: i = copyRealigned<2>(src, dst, i, len); break;
        case 3: i = copyRealigned<3>(src, dst, i, len); break;
        default: break;
        }
    }
    if (aligned) {
        for (; i + 16 <= len; i += 16) {
            const __m128 x0 = _mm_loadu_ps(src + i);
            const __m128 x1 = _mm_loadu_ps(src + i + 4);
            const __m128 x2 = _mm_loadu_ps(src + i + 8);
            const __m128 x3 = _mm_loadu_ps(src + i + 12);
            _mm_store_ps(dst + i, x0);
            _mm_store_ps(dst + i + 4, x1);
            _mm_store_ps(dst + i + 8, x2);
            _mm_store_ps(dst + i + 12, x3);
        }
    }
    for (; i + 4 <= len; i += 4)
        _mm_storeu_ps(dst + i, _mm_loadu_ps(src + i));
    for (; i < len; ++i)
        dst[i] = src[i];
}

} // namespace

void addA1(const float* a, const float* b, float* dst, int len)
{
    addSse<5461>(a, b, dst, len);
}

void addA2(const float* a, const float* b, float* dst, int len)
{
    addSse<10922>(a, b, dst, len);
}

float maxM1(const float* src, int len)
{
    return maxSse<false>(src, len);
}

float maxM2(const float* src, int len)
{
    return maxSse<true>(src, len);
}

void copyC1(const float* src, float* dst, int len)
{
    copySse<1>(src, dst, len);
}

void copyC2(const float* src, float* dst, int len)
{
    copySse<2>(src, dst, len);
}

void copyC3(const float* src, float* dst, int len)
{
    copySse<3>(src, dst, len);
}

void zeroZ1(float* dst, int len)
{
    int i = 0;
    if (len < 4) {
        for (; i < len; ++i)
            dst[i] = 0.0f;
        return;
    }
    if ((addr(dst) & 3) == 0)
        for (; addr(dst + i) & 15; ++i)
            dst[i] = 0.0f;
    const __m128 zero = _mm_setzero_ps();
    const bool aligned = (addr(dst + i) & 15) == 0;
    const size_t bytes = static_cast<size_t>(len - i) * 4;
    if (aligned && bytes > 0x80000) {
        const int32_t cache = descriptorCacheSize();
        if (cache > 0 && bytes >= static_cast<size_t>(cache)) {
            for (; i + 16 <= len; i += 16) {
                _mm_stream_ps(dst + i, zero);
                _mm_stream_ps(dst + i + 4, zero);
                _mm_stream_ps(dst + i + 8, zero);
                _mm_stream_ps(dst + i + 12, zero);
            }
            _mm_sfence();
        }
    }
    for (; i + 16 <= len; i += 16) {
        _mm_storeu_ps(dst + i, zero);
        _mm_storeu_ps(dst + i + 4, zero);
        _mm_storeu_ps(dst + i + 8, zero);
        _mm_storeu_ps(dst + i + 12, zero);
    }
    for (; i + 4 <= len; i += 4)
        _mm_storeu_ps(dst + i, zero);
    for (; i < len; ++i)
        dst[i] = 0.0f;
}

} // namespace vec
