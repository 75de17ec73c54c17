// The AVX variants (levels 5 and 6). Each function is compiled for AVX on
// its own so that the rest of the library runs on any x86-64; nothing here
// calls into code that is shared with other files.
#include "engine/vector/vector_cpu.h"
#include "engine/vector/vector_kernels.h"

#include <cstddef>
#include <cstdint>
#include <immintrin.h>

#define QB_AVX __attribute__((target("avx")))
#define QB_AVX2 __attribute__((target("avx,avx2,fma,bmi,bmi2")))

namespace vec {
namespace {

inline uintptr_t addr(const void* p)
{
    return reinterpret_cast<uintptr_t>(p);
}

inline float larger(float r, float x)
{
    return r > x ? r : x;
}

QB_AVX inline void add16(const float* a, const float* b, float* dst, int i)
{
    _mm256_storeu_ps(dst + i, _mm256_add_ps(_mm256_loadu_ps(a + i), _mm256_loadu_ps(b + i)));
    _mm256_storeu_ps(dst + i + 8, _mm256_add_ps(_mm256_loadu_ps(a + i + 8), _mm256_loadu_ps(b + i + 8)));
}

// From 32-byte alignment of a 4-byte aligned destination; others by scalar steps.
QB_AVX inline void addAligning(const float* a, const float* b, float* dst, int len)
{
    int i = 0;
    if ((addr(dst) & 3) == 0) {
        for (; addr(dst + i) & 31; ++i)
            dst[i] = a[i] + b[i];
        for (; i + 16 <= len; i += 16)
            add16(a, b, dst, i);
    }
    for (; i < len; ++i)
        dst[i] = a[i] + b[i];
}

QB_AVX inline void zero16(float* dst, int i, __m256 zero)
{
    _mm256_storeu_ps(dst + i, zero);
    _mm256_storeu_ps(dst + i + 8, zero);
}

// Zeroes from 32-byte alignment with stores that bypass the cache, when the
// array is larger than the cache; returns where it stopped (0: not done).
// Apart from the loop below, which a block's few hundred floats run cold.
__attribute__((noinline)) QB_AVX int zeroStreaming(float* dst, int len)
{
    const size_t bytes = static_cast<size_t>(len) * 4;
    const int32_t cache = streamingCacheSize();
    if (cache <= 0 || bytes < static_cast<size_t>(cache))
        return 0;
    const __m256 zero = _mm256_setzero_ps();
    int i = 0;
    for (; addr(dst + i) & 31; ++i)
        dst[i] = 0.0f;
    for (; i + 16 <= len; i += 16) {
        _mm256_stream_ps(dst + i, zero);
        _mm256_stream_ps(dst + i + 8, zero);
    }
    _mm_sfence();
    return i;
}

template <int kUnroll>
QB_AVX void zeroAvx(float* dst, int len)
{
    const __m256 zero = _mm256_setzero_ps();
    int i = 0;
    if (static_cast<size_t>(len) * 4 > 0x200000 && (addr(dst) & 3) == 0) [[unlikely]]
        i = zeroStreaming(dst, len);
    for (; i + 16 * kUnroll <= len; i += 16 * kUnroll)
        for (int u = 0; u < kUnroll; ++u)
            zero16(dst, i + 16 * u, zero);
    for (; i + 8 <= len; i += 8)
        _mm256_storeu_ps(dst + i, zero);
    for (; i < len; ++i)
        dst[i] = 0.0f;
}

// Copies from 32-byte alignment of the destination with stores that bypass
// the cache, when the array is larger than half the cache; returns where it
// stopped (0: not done). Apart from the loop below, as zeroStreaming.
template <bool kPrefetch>
__attribute__((noinline)) QB_AVX int copyStreaming(const float* src, float* dst, int len)
{
    const size_t bytes = static_cast<size_t>(len) * 4;
    const int32_t cache = streamingCacheSize();
    if (cache <= 0 || bytes < static_cast<size_t>(cache) / 2)
        return 0;
    int i = 0;
    for (; addr(dst + i) & 31; ++i)
        dst[i] = src[i];
    for (; i + 16 <= len; i += 16) {
        if (kPrefetch)
            _mm_prefetch(reinterpret_cast<const char*>(src + i) + 512, _MM_HINT_NTA);
        _mm256_stream_ps(dst + i, _mm256_loadu_ps(src + i));
        _mm256_stream_ps(dst + i + 8, _mm256_loadu_ps(src + i + 8));
    }
    _mm_sfence();
    return i;
}

template <bool kPrefetch>
QB_AVX void copyAvx(const float* src, float* dst, int len)
{
    int i = 0;
    if (static_cast<size_t>(len) * 4 > 0x20000 && (addr(dst) & 3) == 0) [[unlikely]]
        i = copyStreaming<kPrefetch>(src, dst, len);
    for (; i + 16 <= len; i += 16) {
        const __m256 x0 = _mm256_loadu_ps(src + i);
        const __m256 x1 = _mm256_loadu_ps(src + i + 8);
        _mm256_storeu_ps(dst + i, x0);
        _mm256_storeu_ps(dst + i + 8, x1);
    }
    for (; i + 8 <= len; i += 8)
        _mm256_storeu_ps(dst + i, _mm256_loadu_ps(src + i));
    for (; i < len; ++i)
        dst[i] = src[i];
}

} // namespace

QB_AVX void addA3(const float* a, const float* b, float* dst, int len)
{
    if (len < 16) {
        for (int i = 0; i < len; ++i)
            dst[i] = a[i] + b[i];
        return;
    }
    addAligning(a, b, dst, len);
}

QB_AVX2 void addA4(const float* a, const float* b, float* dst, int len)
{
    if (len < 16) {
        for (int i = 0; i < len; ++i)
            dst[i] = a[i] + b[i];
        return;
    }
    if (len >= 57) {
        addAligning(a, b, dst, len);
        return;
    }
    int i = 0;
    for (; i + 16 <= len; i += 16)
        add16(a, b, dst, i);
    for (; i < len; ++i)
        dst[i] = a[i] + b[i];
}

QB_AVX2 float maxM3(const float* src, int len)
{
    float r = src[0];
    int i = 1;
    if ((addr(src) & 3) == 0)
        for (; i < len && (addr(src + i) & 15); ++i)
            r = larger(r, src[i]);
    __m128 head = _mm_set1_ps(r);
    if (i + 4 <= len && (addr(src + i) & 31)) {
        head = _mm_max_ps(head, _mm_loadu_ps(src + i));
        i += 4;
    }
    __m256 m0 = _mm256_set_m128(head, head);
    __m256 m1 = m0;
    __m256 m2 = m0;
    __m256 m3 = m0;
    for (; i + 32 <= len; i += 32) {
        m0 = _mm256_max_ps(m0, _mm256_loadu_ps(src + i));
        m1 = _mm256_max_ps(m1, _mm256_loadu_ps(src + i + 8));
        m2 = _mm256_max_ps(m2, _mm256_loadu_ps(src + i + 16));
        m3 = _mm256_max_ps(m3, _mm256_loadu_ps(src + i + 24));
    }
    for (; i + 8 <= len; i += 8)
        m0 = _mm256_max_ps(m0, _mm256_loadu_ps(src + i));
    m0 = _mm256_max_ps(_mm256_max_ps(m0, m1), _mm256_max_ps(m2, m3));
    __m128 m = _mm_max_ps(_mm256_castps256_ps128(m0), _mm256_extractf128_ps(m0, 1));
    for (; i + 4 <= len; i += 4)
        m = _mm_max_ps(m, _mm_loadu_ps(src + i));
    alignas(16) float lanes[4];
    _mm_store_ps(lanes, m);
    r = larger(larger(lanes[0], lanes[1]), larger(lanes[2], lanes[3]));
    for (; i < len; ++i)
        r = larger(r, src[i]);
    return r;
}

QB_AVX void copyC4(const float* src, float* dst, int len)
{
    copyAvx<false>(src, dst, len);
}

QB_AVX2 void copyC5(const float* src, float* dst, int len)
{
    copyAvx<true>(src, dst, len);
}

QB_AVX void zeroZ2(float* dst, int len)
{
    zeroAvx<1>(dst, len);
}

QB_AVX2 void zeroZ3(float* dst, int len)
{
    zeroAvx<2>(dst, len);
}

} // namespace vec
