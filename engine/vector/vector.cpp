#include "engine/vector/vector.h"
#include "engine/vector/vector_kernels.h"

namespace vec {
namespace {

constexpr AddFn kAdd[kLevels] = {addA1, addA1, addA2, addA2, addA2, addA3, addA4};
constexpr MaxFn kMax[kLevels] = {maxM1, maxM1, maxM2, maxM2, maxM2, maxM2, maxM3};
constexpr CopyFn kCopy[kLevels] = {copyC1, copyC1, copyC2, copyC2, copyC3, copyC4, copyC5};
constexpr ZeroFn kZero[kLevels] = {zeroZ1, zeroZ1, zeroZ1, zeroZ1, zeroZ1, zeroZ2, zeroZ3};

int level()
{
    return currentLevel.load(std::memory_order_relaxed);
}

} // namespace
} // namespace vec

int vecAdd(const float* a, const float* b, float* dst, int len)
{
    if (!a || !b || !dst)
        return vec::kNullPointer;
    if (len <= 0)
        return vec::kBadLength;
    vec::kAdd[vec::level()](a, b, dst, len);
    return vec::kOk;
}

int vecMax(const float* src, int len, float* result)
{
    if (!src || !result)
        return vec::kNullPointer;
    if (len <= 0)
        return vec::kBadLength;
    *result = vec::kMax[vec::level()](src, len);
    return vec::kOk;
}

int vecCopy(const float* src, float* dst, int len)
{
    if (!src || !dst)
        return vec::kNullPointer;
    if (len <= 0)
        return vec::kBadLength;
    vec::kCopy[vec::level()](src, dst, len);
    return vec::kOk;
}

int vecZero(float* dst, int len)
{
    if (!dst)
        return vec::kNullPointer;
    if (len <= 0)
        return vec::kBadLength;
    vec::kZero[vec::level()](dst, len);
    return vec::kOk;
}
