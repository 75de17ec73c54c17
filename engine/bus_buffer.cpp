#include "engine/bus_buffer.h"

#include "engine/vector/vector.h"

#include <emmintrin.h>

namespace {

// Every value that is not finite becomes 0.0, in place: a value minus itself
// is 0 only when finite (infinity and NaN give NaN, which compares unequal),
// and that comparison's mask keeps or clears the value. The block is still
// in the cache from the mix; four values take five instructions.
void keepFinite(float* values, int n)
{
    const __m128 zero = _mm_setzero_ps();
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        const __m128 x = _mm_load_ps(values + i);
        _mm_store_ps(values + i, _mm_and_ps(x, _mm_cmpeq_ps(_mm_sub_ps(x, x), zero)));
    }
    for (; i < n; ++i)
        values[i] = values[i] - values[i] == 0.0f ? values[i] : 0.0f;
}

} // namespace

void TesselBusBuffer::silence()
{
    const int n = frames < kFrames ? frames : kFrames;
    for (auto& c : channel)
        vecZero(c, n);   // a block of 0 frames is refused and touches nothing
}

void TesselBusBuffer::clear()
{
    if (frames == 0)
        return;
    pending = 0;
    silence();
}

void TesselBusBuffer::copyTo(float** outputs, int count, int frames)
{
    const int n = frames < kFrames ? frames : kFrames;
    if (count > kChannels)
        count = kChannels;
    // A filter driven past its bounds or a damaged sample could otherwise
    // hand the host NaN, which spreads through the rest of its mix.
    for (int c = 0; outputs && n > 0 && c < count; ++c) {
        if (!outputs[c])
            continue;
        keepFinite(channel[c], n);
        vecCopy(channel[c], outputs[c], n);
    }
    pending = 0;
}
