// Following the host: tempo, transport, song position in rows (with the
// speed mode's 6/S), the position offset of one host, and the host's loop.
#include "engine/block_fixture.h"

namespace {

constexpr int32_t kHostPlaying = kVstTransportPlaying | kVstTempoValid | kVstPpqPosValid;

} // namespace

TEST_F(BlockTest, AStoppedEngineTakesTheHostPositionInRows)
{
    plugin.at(2.0, kVstPpqPosValid);
    ASSERT_TRUE(engine->process(256));
    EXPECT_DOUBLE_EQ(engine->position().time, 8.0);
    EXPECT_EQ(engine->position().entry, 8);

    // Without a valid quarter position the sample position counts:
    // 2 s at 120 BPM are 4 quarters, 16 rows.
    plugin.time.flags = 0;
    plugin.time.tempo = 120.0;
    plugin.time.samplePos = 88200.0;
    ASSERT_TRUE(engine->process(256));
    EXPECT_DOUBLE_EQ(engine->position().time, 16.0);

    // A host without a sample rate does not divide by it.
    plugin.time.sampleRate = 0.0;
    ASSERT_TRUE(engine->process(256));
    EXPECT_DOUBLE_EQ(engine->position().time, 0.0);
}

// Mended: in the speed mode a row lasts S/6 of a row at speed 6, so a host
// quarter holds rowsPerQuarter x 6/S rows.
TEST_F(BlockTest, InTheSpeedModeHostQuartersHoldSixOverSRows)
{
    configure(125.0, 3.0, TesselModule::Speed);
    plugin.at(2.0, kVstPpqPosValid);
    ASSERT_TRUE(engine->process(256));
    EXPECT_DOUBLE_EQ(engine->position().time, 16.0);
    EXPECT_DOUBLE_EQ(engine->rowsPerHostQuarter(), 8.0);

    // The host's tempo and the song's rows then run at the same rate: one
    // quarter of frames moves the song by one host quarter.
    configure(125.0, 3.0, TesselModule::Speed);
    const TesselPositionTable* table = TesselPools::positions;
    EXPECT_NEAR(table->rowsPerSample * 44100.0 * 60.0 / 125.0, engine->rowsPerHostQuarter(), 1e-9);
}

TEST_F(BlockTest, TheHostTempoIsFollowedWhenTheHostSendsTime)
{
    engine->hostSendsTime = 1;
    plugin.withTime = true;
    plugin.time.tempo = 140.0;
    plugin.time.flags = kVstTempoValid;
    ASSERT_TRUE(engine->process(64));
    EXPECT_EQ(engine->tempo, 140.0);
    engine->hostSendsTime = 0;
    plugin.time.tempo = 90.0;
    ASSERT_TRUE(engine->process(64));
    EXPECT_EQ(engine->tempo, 140.0);
}

TEST_F(BlockTest, AHostStartWithTheOffsetOfOneHostClampsToTheSongStart)
{
    plugin.offset = 160.0;
    plugin.at(8.0, kVstTransportChanged | kHostPlaying);
    ASSERT_TRUE(engine->process(64));
    EXPECT_LT(engine->position().time, 1.0);

    plugin.offset = 0.0;
    plugin.time.flags = kHostPlaying;
    if (engine->transport != kPlayingSong)
        engine->transport = kStoppedCut;   // the song could not start: the host position still counts
    ASSERT_TRUE(engine->process(64));
    EXPECT_GE(engine->position().time, 32.0);
    EXPECT_LT(engine->position().time, 33.0);
}

TEST_F(BlockTest, InPitchModeHostTransportChangesAreIgnored)
{
    engine->song.orderList.pitchMode = 1;
    plugin.at(3.0, kVstTransportChanged | kHostPlaying);
    ASSERT_TRUE(engine->process(64));
    EXPECT_EQ(engine->transport, kStoppedCut);
    EXPECT_EQ(engine->position().time, 0.0);
    engine->song.orderList.pitchMode = 0;
}

TEST_F(BlockTest, AHostStopLetsTheSongRelease)
{
    startSong();
    plugin.at(0.0, kVstTransportChanged | kVstTempoValid | kVstPpqPosValid);
    ASSERT_TRUE(engine->process(64));
    // Stopped with release; with nothing sounding the block settles at once.
    EXPECT_EQ(engine->transport, kStoppedCut);
}

// A host that sends its position at 120 BPM but does not say it sends time:
// the song steps at its own 125 BPM inside a block and is pulled back a few
// frames at the start of the next. Every row still plays once, in order.
TEST_F(BlockTest, AHostAtAnotherTempoPlaysEveryRowOnce)
{
    struct RowLog : block_test::BlockEditor {
        void setPlaybackPosition(int32_t, int32_t, int32_t row) override
        {
            if (row >= 0)
                rows.push_back(row);
        }
        std::vector<int32_t> rows;
    } log;
    engine->editor = &log;
    for (const int block : {64, 256, 1024}) {
        SCOPED_TRACE(block);
        log.rows.clear();
        startSong();
        plugin.play(120.0, 44100.0);
        for (int done = 0; done < 24 * 5512; done += block) {
            ASSERT_TRUE(engine->process(block));
            plugin.advance(block);
        }
        ASSERT_GE(log.rows.size(), 24u);
        for (size_t i = 0; i < log.rows.size(); ++i)
            ASSERT_EQ(log.rows[i], static_cast<int32_t>(i));
    }
    engine->editor = &editor;
}

class HostLoopTest : public BlockTest {
protected:
    // The host plays quarters 4..8 in a loop (rows 16..32) from quarter `from`;
    // blocks of 4096 frames while the host moves on with them.
    void playFrom(double from)
    {
        startSong();
        plugin.at(from, kHostPlaying | kVstTransportCycleActive | kVstCyclePosValid);
        plugin.time.cycleStartPos = 4.0;
        plugin.time.cycleEndPos = 8.0;
        if (engine->transport != kPlayingSong)
            engine->transport = kPlayingSong;
    }
    // Blocks until the song time passes row 31.5; then one more block.
    double playPastTheLoopEnd()
    {
        for (int i = 0; i < 40 && engine->position().time < 31.5; ++i) {
            EXPECT_TRUE(engine->process(4096));
            plugin.advance(4096);
        }
        const double before = engine->position().time;
        EXPECT_TRUE(engine->process(4096));
        return before + 4096.0 / kRowFrames;
    }
};

TEST_F(HostLoopTest, OnceBeforeTheLastQuarterTheLoopEndJumpsBackToItsStart)
{
    playFrom(6.75);   // row 27
    const double unlooped = playPastTheLoopEnd();
    ASSERT_GT(unlooped, 32.0);
    EXPECT_NEAR(engine->position().time, 16.0 + (unlooped - 32.0), 1e-6);
    EXPECT_EQ(engine->position().entry, 16);
    EXPECT_TRUE(engine->hostLoopArmed);   // back before the last quarter: the next pass loops too
}

TEST_F(HostLoopTest, StartingInsideTheLastQuarterDoesNotJump)
{
    playFrom(7.25);   // row 29: never a quarter before the end
    const double unlooped = playPastTheLoopEnd();
    EXPECT_NEAR(engine->position().time, unlooped, 1e-6);
    EXPECT_GT(engine->position().time, 32.0);
}

// Mended: a host start rebuilt the song's timing list on the audio thread,
// waiting without limit for the list's mutex and allocating. The block now
// plays the list as the editor's last rebuild left it.
TEST_F(BlockTest, AHostStartPlaysTheTimingListAsItStands)
{
    const int32_t rows = engine->songTiming.count;
    ASSERT_GT(rows, 0);
    for (int i = 1; i < kOrderEntries; ++i)
        engine->song.orderList.entries[static_cast<size_t>(i)].pattern = kOrderEmpty;
    engine->song.orderList.updateLength();
    plugin.at(0.0, kVstTransportChanged | kHostPlaying);
    ASSERT_TRUE(engine->process(256));
    EXPECT_EQ(engine->transport, kPlayingSong);
    EXPECT_EQ(engine->songTiming.count, rows);

    engine->rebuildSongPlaylist(nullptr, false);   // the editor's own rebuild
    EXPECT_LT(engine->songTiming.count, rows);
}
