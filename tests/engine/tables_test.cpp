#include "engine/tables.h"

#include "engine/vector/interpolate.h"
#include "engine/voice/voice_render.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <xmmintrin.h>

// The tables' stored values, read with denormals honoured whatever an
// earlier test's block left in the control word.
class Tables : public ::testing::Test {
protected:
    static void SetUpTestSuite() { fillTesselTables(); }
    void SetUp() override
    {
        csr_ = _mm_getcsr();
        _mm_setcsr(csr_ & ~kFlushDenormals);
    }
    void TearDown() override { _mm_setcsr(csr_); }
    const TesselTables& t = tesselTables();

private:
    static constexpr unsigned kFlushDenormals = 0x8040;
    unsigned csr_ = 0;
};

TEST_F(Tables, RotationCentreAndRange)
{
    for (int k = 0; k < TesselTables::kRotations; ++k) {
        EXPECT_EQ(t.rotation[k][32][32].x, 32) << k;
        EXPECT_EQ(t.rotation[k][32][32].y, 32) << k;
        for (int m = 0; m < TesselTables::kGrid; ++m)
            for (int n = 0; n < TesselTables::kGrid; ++n) {
                ASSERT_LE(t.rotation[k][m][n].x, 64) << k << " " << m << " " << n;
                ASSERT_LE(t.rotation[k][m][n].y, 64) << k << " " << m << " " << n;
            }
    }
}

TEST_F(Tables, TableZeroGivesPointsBackUpToOneUnitLess)
{
    EXPECT_EQ(t.rotation[0][10][50].x, 9);
    EXPECT_EQ(t.rotation[0][10][50].y, 49);
    for (int m = 0; m < TesselTables::kGrid; ++m)
        for (int n = 0; n < TesselTables::kGrid; ++n) {
            const int dx = m - t.rotation[0][m][n].x;
            const int dy = n - t.rotation[0][m][n].y;
            ASSERT_TRUE(dx == 0 || dx == 1) << m << " " << n;
            ASSERT_TRUE(dy == 0 || dy == 1) << m << " " << n;
        }
    // a half turn sends a corner to the opposite one (within truncation)
    EXPECT_GE(t.rotation[128][0][0].x, 63);
    EXPECT_GE(t.rotation[128][0][0].y, 63);
}

TEST_F(Tables, PowersOfTwoKeepTheWrappedEntries)
{
    EXPECT_EQ(t.powersOfTwo[0], 1.0);
    EXPECT_EQ(t.powersOfTwo[30], 1073741824.0);
    EXPECT_EQ(t.powersOfTwo[31], -2147483648.0);
    EXPECT_EQ(t.powersOfTwo[32], 1.0);
    EXPECT_EQ(t.powersOfTwoInverse[10], 1.0f / 1024.0f);
    EXPECT_EQ(t.powersOfTwoInverse[32], 1.0f);
    EXPECT_LT(t.powersOfTwoInverse[31], 0.0f);
}

TEST_F(Tables, PitchStepsAndQuarterWaves)
{
    EXPECT_EQ(t.finePitch[0], 1.0f);
    EXPECT_FLOAT_EQ(t.finePitch[192], 2.0f);
    EXPECT_FLOAT_EQ(t.finePitch[96] * t.finePitchInverse[96], 1.0f);
    EXPECT_FLOAT_EQ(t.finestPitch[15], static_cast<float>(std::pow(2.0, 15.0 / 768.0)));
    EXPECT_FLOAT_EQ(t.finestPitchInverse[15] * t.finestPitch[15], 1.0f);

    EXPECT_EQ(t.quarterSine[0], 0);
    EXPECT_EQ(t.quarterSine[64], 64);
    EXPECT_EQ(t.quarterSine[32], 45);   // 64 sin(PI/4) = 45.25
    EXPECT_EQ(t.quarterCosine[0], 64);
    EXPECT_EQ(t.quarterCosine[64], 0);
    EXPECT_EQ(t.quarterSineR2[64], 90);
    EXPECT_EQ(t.quarterSineR2[32], 63);   // 63.99999 truncated
    EXPECT_EQ(t.quarterCosineR2[0], 90);
}

// The grids are filled by a faster road than the formula of one point; every
// entry must be the formula's.
TEST_F(Tables, EveryRotationEntryIsTheFormulas)
{
    for (int k = 0; k < TesselTables::kRotations; ++k)
        for (int m = 0; m < TesselTables::kGrid; ++m)
            for (int n = 0; n < TesselTables::kGrid; ++n) {
                const TesselRotationPoint p = rotatePanPoint(k, m, n);
                ASSERT_EQ(t.rotation[k][m][n].x, p.x) << k << " " << m << " " << n;
                ASSERT_EQ(t.rotation[k][m][n].y, p.y) << k << " " << m << " " << n;
                ASSERT_EQ(rotatedPanX(k, m, n), p.x) << "what playback reads " << k << " " << m << " " << n;
            }
}

TEST_F(Tables, TheRampHoldsEveryStepAndSettlesWhereItsConstantSays)
{
    // Settled exactly from the constant's step on.
    const double keep = 1.0 - static_cast<double>(kRampTake);
    double power = 1.0;
    for (int k = 0; k < TesselTables::kRampSteps; ++k) {
        power *= keep;
        ASSERT_EQ(t.rampKeep[k], static_cast<float>(power)) << k;
        ASSERT_EQ(t.rampTake[k], static_cast<float>(1.0 - power)) << k;
        ASSERT_EQ(k >= kRampSettledStep, t.rampKeep[k] == 0.0f && t.rampTake[k] == 1.0f) << k;
    }

    // A ramp that settles during a block is held from then on, and no frame
    // plays differently for it: before, at and after the settling step, and
    // when a new target starts a new ramp from there.
    float ramp[4] = {0.25f, 0.75f, 0.5f, 0.5f};
    float from[2] = {0.25f, 0.5f};
    int32_t age[2] = {kRampSettledStep - 3, 0};
    const TesselRampState state{ramp, from, age};
    TesselRampChannel plan[2];
    ramp[0] = TesselRampChannel{0.25f, 0.75f, kRampSettledStep - 3}.at(-1);
    ASSERT_EQ(planRamps(state, 2, 8, false, plan), 8);
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(plan[0].at(k), 0.25f * t.rampKeep[kRampSettledStep - 3 + k] +
                                     0.75f * t.rampTake[kRampSettledStep - 3 + k]) << k;
    keepRamps(state, 2, 8, plan);
    EXPECT_EQ(ramp[0], 0.75f);
    EXPECT_EQ(from[0], 0.75f);
    planRamps(state, 2, 8, false, plan);
    EXPECT_EQ(plan[0].from, plan[0].target);
    EXPECT_EQ(plan[0].age, kRampSettledStep + 5);
    ramp[1] = 0.5f;
    planRamps(state, 2, 8, false, plan);
    EXPECT_EQ(plan[0].from, 0.75f);
    EXPECT_EQ(plan[0].age, 0);
    EXPECT_EQ(plan[0].at(0), 0.75f * t.rampKeep[0] + 0.5f * t.rampTake[0]);
}

TEST_F(Tables, SampleGainsAreTheInversePowersOfTwo)
{
    TesselSample sample;
    for (int bits = -3; bits <= 40; ++bits) {
        sample.bits = bits;
        EXPECT_EQ(sampleRenderGain(sample), t.powersOfTwoInverse[std::clamp(bits, 0, 32)]) << bits;
    }
}
