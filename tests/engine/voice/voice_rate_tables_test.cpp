// The note, cutoff and resonance tables follow the engine's output rate.
#include "engine/engine_fixture.h"
#include "engine/voice/voice_update_tables.h"

#include <cmath>

TEST_F(EngineTest, RowTimingRebuildsTheRateTablesForANewRate)
{
    engine = std::make_unique<TesselEngine>();
    engine->sampleRate = 48000.0f;
    engine->computeTiming();
    const TesselRateTables& t = tesselRateTables();
    EXPECT_EQ(t.outputRate, 48000.0);
    EXPECT_NEAR(t.note[120], 44100.0 / 48000.0, 1e-6);
    EXPECT_NEAR(t.note[132], 2.0 * 44100.0 / 48000.0, 1e-6);
    EXPECT_NEAR(t.cutoff[1][40], 48000.0 / (691.150390625 * std::pow(2.0, 40.0 / 20.0 + 0.25)), 1e-4);
    EXPECT_NEAR(t.resonance[127], std::pow(10.0, -127.0 * 24.0 / 2560.0), 1e-6);
    EXPECT_FLOAT_EQ(t.resonance[0], 1.0f);
    fillRateTables(44100.0);
    EXPECT_EQ(t.outputRate, 44100.0);
}

TEST(RateTables, ANonPositiveRateKeepsTheDefault)
{
    fillRateTables(0.0);
    EXPECT_EQ(tesselRateTables().outputRate, 44100.0);
    EXPECT_FLOAT_EQ(tesselRateTables().note[120], 1.0f);
    fillRateTables(-5.0);
    EXPECT_EQ(tesselRateTables().outputRate, 44100.0);
}
