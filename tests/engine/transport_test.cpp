// Starting and stopping playback, re-initialising and the output rate.
#include "transport_fixture.h"

#include "engine/timing/position_table.h"

TEST_F(TransportTest, SongPlaybackRefusesWithoutOrderListOrRow)
{
    engine->song.orderList.reset();
    engine->transport = kPlayingPattern;
    EXPECT_FALSE(engine->playSong(0, 0));
    EXPECT_EQ(engine->transport, kStoppedReleased);
    EXPECT_EQ(platform::statusText(),
              "Can't playback song: no order list defined (press F11 to define an order list).");
    EXPECT_FALSE(engine->isPlaying());
    EXPECT_FALSE(logged(kActPlaySong, 0));

    engine->song.orderList.entries[0].pattern = 0;
    engine->song.orderList.updateLength();
    EXPECT_FALSE(engine->playSong(0, 200));   // pattern 0 has 64 rows
    EXPECT_EQ(platform::statusText(), "Can't playback song: current row not part of song.");
    EXPECT_EQ(engine->transport, kStoppedReleased);
}

TEST_F(TransportTest, SongPlaybackFromTheStartAndFromARow)
{
    engine->position().time = 17.5;
    ASSERT_TRUE(engine->playSong(-1, 0));
    const TesselPlayPosition& at = engine->position();
    EXPECT_EQ(engine->transport, kPlayingSong);
    EXPECT_DOUBLE_EQ(at.time, 0.0);
    EXPECT_EQ(at.entry, -1);   // the first block plays entry 0
    EXPECT_EQ(at.tick, -1);
    EXPECT_DOUBLE_EQ(at.ticks, engine->speed);
    EXPECT_TRUE(logged(kActStop, 17));
    EXPECT_TRUE(logged(kActPlaySong, 0));
    EXPECT_TRUE(engine->isPlaying());

    // Order 1 plays pattern 1 after pattern 0's 64 rows.
    ASSERT_TRUE(engine->playSong(1, 3));
    EXPECT_DOUBLE_EQ(engine->position().time, 67.0);
    EXPECT_EQ(engine->position().entry, 66);
    EXPECT_TRUE(logged(kActPlaySong, 67));
}

TEST_F(TransportTest, SongStopsCountingAsPlayingPastItsEnd)
{
    ASSERT_TRUE(engine->playSong(-1, 0));
    const int32_t count = engine->songTiming.count;
    ASSERT_GT(count, 0);
    engine->position().entry = count;
    EXPECT_TRUE(engine->isPlaying());
    engine->position().entry = count + 1;
    EXPECT_FALSE(engine->isPlaying());

    engine->playPattern(3, 0);
    engine->position().entry = 100000;
    EXPECT_TRUE(engine->isPlaying());   // a looped pattern never ends
}

TEST_F(TransportTest, PatternPlaybackStartsAtItsRow)
{
    engine->playPattern(2, 5);
    const TesselPlayPosition& at = engine->position();
    EXPECT_EQ(engine->transport, kPlayingPattern);
    EXPECT_EQ(at.pattern, &engine->song.patterns[2]);
    EXPECT_DOUBLE_EQ(at.time, 5.0);
    EXPECT_EQ(at.entry, 4);
    EXPECT_DOUBLE_EQ(at.ticks, engine->speed);
    EXPECT_TRUE(logged(kActPlayPattern, 5 + 65536 * 2));

    actions().clear();
    engine->playPattern(kPatterns, 0);   // no such pattern: nothing changes
    engine->playPattern(-1, 0);
    EXPECT_EQ(engine->transport, kPlayingPattern);
    EXPECT_TRUE(actions().empty());
}

TEST_F(TransportTest, ResetOnAStoppedEngine)
{
    engine->midiInSlots[3].count = 2;
    engine->reset();
    EXPECT_EQ(platform::statusText(), "Re-initialising Quorbel... completed.");
    EXPECT_EQ(engine->transport, kStoppedCut);
    EXPECT_EQ(engine->midiInSlots[3].count, 0);
    EXPECT_TRUE(logged(kActStopNow, 0));
    EXPECT_TRUE(logged(kActReset, 0));
}

TEST_F(TransportTest, StopsEmptyTheStatusLineAndCutPositionsBack)
{
    platform::setStatusText("Playing Song (Order: 0 / Pattern: 000:000  )");
    engine->positions.resize(3);
    engine->heldNotes[5][60] = 3;
    engine->transport = kPlayingSong;
    engine->stop();
    EXPECT_EQ(engine->transport, kStoppedReleased);
    EXPECT_EQ(platform::statusText(), "");
    EXPECT_EQ(engine->positions.size(), 1u);
    EXPECT_EQ(engine->heldNotes[5][60], 0);

    platform::setStatusText("Playing Looped Pattern (000:000  )");
    engine->stopNow();
    EXPECT_EQ(engine->transport, kStoppedCut);
    EXPECT_EQ(platform::statusText(), "");
}

TEST_F(TransportTest, SampleRateSetsTablesAndTimingAndIgnoresNonPositiveRates)
{
    engine->setSampleRate(48000.0f);
    EXPECT_FLOAT_EQ(tesselRateTables().note[120], 44100.0f / 48000.0f);
    EXPECT_TRUE(logged(kActSetSampleRate, 48000));

    engine->setSampleRate(44100.0f);
    EXPECT_FLOAT_EQ(engine->sampleRate, 44100.0f);
    EXPECT_FLOAT_EQ(tesselRateTables().note[120], 1.0f);
    EXPECT_FLOAT_EQ(tesselRateTables().note[132], 2.0f);
    const TesselPositionTable& table = *TesselPools::positions;
    const double perSample = engine->tempo * engine->song.rowsPerQuarter / (44100.0 * 60.0);
    EXPECT_DOUBLE_EQ(table.rowsPerSample, perSample);

    actions().clear();
    engine->setSampleRate(0.0f);
    engine->setSampleRate(-22050.0f);
    EXPECT_FLOAT_EQ(engine->sampleRate, 44100.0f);
    EXPECT_DOUBLE_EQ(table.rowsPerSample, perSample);
    EXPECT_FLOAT_EQ(tesselRateTables().note[120], 1.0f);
    EXPECT_TRUE(actions().empty());
}

TEST_F(TransportTest, TempoChangesRecomputeTheTiming)
{
    engine->setSampleRate(44100.0f);
    engine->setTempoEntry(TesselTempoEntry{150.0, 0.0, 12});
    EXPECT_DOUBLE_EQ(engine->tempo, 150.0);
    EXPECT_EQ(engine->nextTempoChange, 12);
    const TesselPositionTable& table = *TesselPools::positions;
    EXPECT_DOUBLE_EQ(table.msPerTick, 60000.0 / (150.0 * engine->song.rowsPerQuarter * engine->speed));
    EXPECT_DOUBLE_EQ(table.rowsPerSample, 150.0 * engine->song.rowsPerQuarter / (44100.0 * 60.0));
}
