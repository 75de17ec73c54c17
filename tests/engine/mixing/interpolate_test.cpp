#include "engine/timing/position_table.h"
#include "engine/vector/interpolate.h"
#include "mixer_fixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

using namespace mixer_test;

namespace {

class Interpolate : public ::testing::Test {
protected:
    static void SetUpTestSuite() { fillTesselTables(); }
};

// n positions spread over the sample, then the four zero positions.
std::vector<TesselSamplePos> randomPositions(std::mt19937& rng, int n, int frames)
{
    std::uniform_int_distribution<int> frame(0, frames - 1);
    std::uniform_real_distribution<float> fraction(0.0f, 1.0f);
    std::vector<TesselSamplePos> p(static_cast<size_t>(n) + TesselPositionTable::kSpare);
    for (int i = 0; i < n; ++i) {
        p[static_cast<size_t>(i)].frame = frame(rng);
        const float x = fraction(rng);
        p[static_cast<size_t>(i)].fraction = x < 1.0f ? x : 0.0f;
    }
    return p;
}

} // namespace

TEST_F(Interpolate, FourFrameRoutineEqualsThePlainOneBitForBit)
{
    std::mt19937 rng(11);
    std::uniform_real_distribution<float> value(-32768.0f, 32767.0f);
    const int lengths[] = {0, 1, 2, 3, 4, 5, 7, 8, 9, 15, 16, 17, 63, 64, 65, 1000, 16384};
    for (int channels : {1, 2})
        for (int bits : {8, 16, 24, 32}) {
            TesselSample sample;
            fillSample(sample, 777, channels, bits, [&](int, int) { return value(rng); });
            for (int n : lengths) {
                SCOPED_TRACE(testing::Message() << channels << " channels, " << bits << " bits, " << n << " frames");
                const std::vector<TesselSamplePos> p = randomPositions(rng, n, 777);
                std::vector<float> plain[2], sse[2];
                for (int c = 0; c < 2; ++c) {
                    plain[c].assign(static_cast<size_t>(n) + 4, -1.0f);
                    sse[c].assign(static_cast<size_t>(n) + 4, -1.0f);
                }
                float* const plainOut[2] = {plain[0].data(), plain[1].data()};
                float* const sseOut[2] = {sse[0].data(), sse[1].data()};
                renderSampleLinear(plainOut, sample, p.data(), n);
                renderSampleLinearSse(sseOut, sample, p.data(), n);
                for (int c = 0; c < channels; ++c)
                    EXPECT_EQ(std::memcmp(plain[c].data(), sse[c].data(), sizeof(float) * static_cast<size_t>(n)), 0);
                if (channels == 1) {
                    EXPECT_EQ(plain[1][0], -1.0f);   // a mono sample leaves the second output alone
                    EXPECT_EQ(sse[1][0], -1.0f);
                }
            }
        }
}

TEST_F(Interpolate, ValuesAreLinearBetweenFramesAndScaledByTheBitDepth)
{
    TesselSample ramp;
    fillSample(ramp, 64, 1, 32, [](int, int f) { return static_cast<float>(f); });
    TesselSample stereo;
    fillSample(stereo, 64, 2, 16, [](int c, int) { return c == 0 ? 16384.0f : -8192.0f; });
    TesselSample bytes;
    fillSample(bytes, 64, 1, 8, [](int, int) { return -128.0f; });

    std::vector<TesselSamplePos> p = {{10, 0.25f}, {20, 0.5f}, {63, 0.0f}, {0, 0.75f}, {}, {}, {}, {}};
    for (TesselSampleRenderer routine : {renderSampleLinear, renderSampleLinearSse}) {
        float a[8] = {}, b[8] = {};
        float* const out[2] = {a, b};
        routine(out, ramp, p.data(), 4);
        EXPECT_FLOAT_EQ(a[0], 10.25f);   // 32-bit data is already at its scale
        EXPECT_FLOAT_EQ(a[1], 20.5f);
        EXPECT_FLOAT_EQ(a[2], 63.0f);    // the guard frame repeats the last one
        EXPECT_FLOAT_EQ(a[3], 0.75f);
        routine(out, stereo, p.data(), 4);
        EXPECT_FLOAT_EQ(a[1], 0.25f);
        EXPECT_FLOAT_EQ(b[1], -0.125f);
        routine(out, bytes, p.data(), 4);
        EXPECT_FLOAT_EQ(a[3], -0.5f);
    }
}

TEST_F(Interpolate, TheModelsVariantMapsToItsRoutine)
{
    EXPECT_EQ(sampleRenderer(TesselRenderVariant::Linear), &renderSampleLinear);
    EXPECT_EQ(sampleRenderer(TesselRenderVariant::LinearSse), &renderSampleLinearSse);
}
