#include "engine/random.h"

#include <cstdlib>

int32_t TesselRandom::next()
{
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int32_t>((state_ >> 16) & 0x7FFFu);
}

int32_t mulDiv(int32_t a, int32_t b, int32_t c)
{
    if (c == 0)
        return -1;
    const int64_t product = static_cast<int64_t>(a) * b;
    const bool negative = (product < 0) != (c < 0);
    const int64_t divisor = std::llabs(static_cast<int64_t>(c));
    const int64_t magnitude = (std::llabs(product) + divisor / 2) / divisor;
    const int64_t result = negative ? -magnitude : magnitude;
    if (result > INT32_MAX || result < INT32_MIN)
        return -1;
    return static_cast<int32_t>(result);
}
