// The output block as the plug-in hands it to the host.
#include "engine/bus_buffer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace {

// Whatever the mix left in the block (a filter driven past its bounds, say),
// the host receives finite values: those that are not become silence, the
// others arrive unchanged, in the vector part and in the odd frames after it.
TEST(BusBuffer, ValuesThatAreNotFiniteReachTheHostAsSilence)
{
    auto block = std::make_unique<TesselBusBuffer>();
    constexpr int kFrames = 37;
    const float damage[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::signaling_NaN()};
    for (int c = 0; c < TesselBusBuffer::kChannels; ++c)
        for (int f = 0; f < kFrames; ++f)
            block->channel[c][f] = f % 5 == c ? damage[f % 4] : 0.25f * static_cast<float>(f) - 3e38f * (f == 7);
    block->pending = 1;
    std::vector<float> left(kFrames, 1.0f);
    std::vector<float> right(kFrames, 1.0f);
    float* outputs[] = {left.data(), right.data()};
    block->copyTo(outputs, 2, kFrames);

    for (int c = 0; c < TesselBusBuffer::kChannels; ++c)
        for (int f = 0; f < kFrames; ++f) {
            const float expected = f % 5 == c ? 0.0f : 0.25f * static_cast<float>(f) - 3e38f * (f == 7);
            EXPECT_EQ(outputs[c][f], expected) << "channel " << c << " frame " << f;
        }
    EXPECT_EQ(block->pending, 0);
}

} // namespace
