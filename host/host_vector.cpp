#include "host/host_vector.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace host {
namespace {

constexpr int kScalarBelow = 11;   // short arrays are not worth aligning

bool aligned(const void* p, uintptr_t bytes) { return (reinterpret_cast<uintptr_t>(p) & (bytes - 1)) == 0; }

int checkArgs(const void* a, const void* b, const void* dst, int len)
{
    if (!a || !b || !dst)
        return kVecNullPointer;
    return len <= 0 ? kVecBadLength : kVecOk;
}

// One element-wise operation run scalar until dst is 16-byte aligned, then
// eight floats a step with aligned stores, then the scalar tail. A dst that is
// not even 4-byte aligned takes the unaligned-store path throughout.
template <class Scalar, class Vector>
void runAligned(const float* a, const float* b, float* dst, int len, Scalar scalar, Vector vector)
{
    int i = 0;
    if (len >= kScalarBelow) {
#if defined(__SSE2__)
        const bool alignedStores = aligned(dst, 4);
        if (alignedStores)
            for (; i < len && !aligned(dst + i, 16); ++i)
                dst[i] = scalar(a[i], b ? b[i] : 0.0f);
        for (; i + 8 <= len; i += 8) {
            const __m128 lo = vector(_mm_loadu_ps(a + i), b ? _mm_loadu_ps(b + i) : _mm_setzero_ps());
            const __m128 hi = vector(_mm_loadu_ps(a + i + 4), b ? _mm_loadu_ps(b + i + 4) : _mm_setzero_ps());
            if (alignedStores) {
                _mm_store_ps(dst + i, lo);
                _mm_store_ps(dst + i + 4, hi);
            } else {
                _mm_storeu_ps(dst + i, lo);
                _mm_storeu_ps(dst + i + 4, hi);
            }
        }
#else
        (void)vector;
#endif
    }
    for (; i < len; ++i)
        dst[i] = scalar(a[i], b ? b[i] : 0.0f);
}

} // namespace

int vecZero(float* dst, int len)
{
    if (!dst)
        return kVecNullPointer;
    if (len <= 0)
        return kVecBadLength;
    std::memset(dst, 0, static_cast<size_t>(len) * sizeof(float));
    return kVecOk;
}

int vecAdd(const float* a, const float* b, float* dst, int len)
{
    if (const int status = checkArgs(a, b, dst, len); status != kVecOk)
        return status;
    runAligned(
        a, b, dst, len, [](float x, float y) { return x + y; },
#if defined(__SSE2__)
        [](__m128 x, __m128 y) { return _mm_add_ps(x, y); }
#else
        nullptr
#endif
    );
    return kVecOk;
}

int vecCopy(const float* src, float* dst, int len)
{
    if (const int status = checkArgs(src, src, dst, len); status != kVecOk)
        return status;
    if (src != dst)
        std::memmove(dst, src, static_cast<size_t>(len) * sizeof(float));
    return kVecOk;
}

int vecMulC(const float* src, float value, float* dst, int len)
{
    if (const int status = checkArgs(src, src, dst, len); status != kVecOk)
        return status;
    if (value == 1.0f)
        return vecCopy(src, dst, len);
    if (value == 0.0f)
        return vecZero(dst, len);
#if defined(__SSE2__)
    const __m128 factor = _mm_set1_ps(value);
#endif
    runAligned(
        src, nullptr, dst, len, [value](float x, float) { return x * value; },
#if defined(__SSE2__)
        [factor](__m128 x, __m128) { return _mm_mul_ps(x, factor); }
#else
        nullptr
#endif
    );
    return kVecOk;
}

} // namespace host
