// The audio block: where rows and ticks fall, long blocks, the song lock,
// instances and the state after a stop.
#include "block_fixture.h"

#include "engine/timing/position_table.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace {

// Holds the song lock on another thread for `ms` milliseconds.
class LockHolder {
public:
    LockHolder(TesselModule& song, int ms)
        : thread_([&song, ms, this] {
              song.songLock().lock(platform::kWaitForever);
              held_ = true;
              std::this_thread::sleep_for(std::chrono::milliseconds(ms));
              song.songLock().unlock();
          })
    {
        while (!held_)
            std::this_thread::yield();
    }
    ~LockHolder() { thread_.join(); }

private:
    std::atomic<bool> held_{false};
    std::thread thread_;
};

} // namespace

TEST_F(BlockTest, RowsAndTicksStartAtTheirFrames)
{
    startSong();
    std::vector<int> rows, ticks;
    int32_t entry = engine->position().entry;
    int32_t tick = engine->position().tick;
    for (int f = 0; f < 4 * kRowFrames; ++f) {
        ASSERT_TRUE(engine->process(1));
        if (engine->position().entry != entry)
            rows.push_back(f);
        else if (engine->position().tick != tick)
            ticks.push_back(f);
        entry = engine->position().entry;
        tick = engine->position().tick;
    }
    EXPECT_EQ(rows, (std::vector<int>{0, kRowFrames, 2 * kRowFrames, 3 * kRowFrames}));
    ASSERT_EQ(ticks.size(), 4u * 5u);
    for (size_t i = 0; i < ticks.size(); ++i)
        EXPECT_EQ(ticks[i], static_cast<int>(i / 5) * kRowFrames + static_cast<int>(i % 5 + 1) * kTickFrames) << i;
}

TEST_F(BlockTest, LongBlocksRenderTheirFirst16384Frames)
{
    startSong();
    engine->output.channel[0][16383] = 1.0f;
    ASSERT_TRUE(engine->process(20000));
    EXPECT_EQ(engine->blockFrames, 16384);
    EXPECT_EQ(engine->output.frames, 16384);
    EXPECT_EQ(engine->output.channel[0][16383], 0.0f);
    EXPECT_EQ(plugin.blockSize, 16384);
    EXPECT_NEAR(engine->position().time, 16384.0 / kRowFrames, 1e-9);
    EXPECT_EQ(engine->position().entry, 3);
    EXPECT_EQ(engine->output.pending, 1);
}

TEST_F(BlockTest, ALockedSongGivesSilenceAndPlaybackResumesWhereItWas)
{
    startSong();
    ASSERT_TRUE(engine->process(512));
    const double before = engine->position().time;
    engine->output.pending = 0;
    {
        LockHolder holder(engine->song, 150);
        EXPECT_FALSE(engine->process(512));
        EXPECT_EQ(engine->position().time, before);
        EXPECT_EQ(engine->output.pending, 0);
    }
    ASSERT_TRUE(engine->process(512));
    EXPECT_NEAR(engine->position().time, 1024.0 / kRowFrames, 1e-9);
    EXPECT_EQ(engine->output.pending, 1);
}

// Mended: the new block length used to be written into the voices' events
// before the song lock was had.
TEST_F(BlockTest, ABlockSizeChangeTouchesVoicesOnlyUnderTheLock)
{
    plugin.blockSize = 512;
    TesselVoice& voice = *engine->voiceLists[2].head->voice;
    TesselVoiceEvent event;
    event.end = 512;
    ASSERT_TRUE(voice.appendEvent(event));
    {
        LockHolder holder(engine->song, 150);
        EXPECT_FALSE(engine->process(256));
        EXPECT_EQ(voice.events->end, 512);
        EXPECT_EQ(plugin.blockSize, 512);
    }
    engine->transport = kStoppedCut;   // the voice is idle: nothing renders
    ASSERT_TRUE(engine->process(256));
    EXPECT_EQ(voice.events->end, 256);
    EXPECT_EQ(plugin.blockSize, 256);
    voice.freeEvents();
}

TEST_F(BlockTest, StoppedAndCutTheBlockIsSilentAndNotPending)
{
    ASSERT_EQ(engine->transport, kStoppedCut);
    ASSERT_TRUE(engine->process(512));
    EXPECT_EQ(engine->output.pending, 0);
    EXPECT_EQ(engine->position().time, 0.0);
    EXPECT_EQ(plugin.lastFilter, 0x603);
    // Flush-to-zero and denormals-are-zero stay on for the thread.
    EXPECT_EQ(_mm_getcsr() & 0x8840u, 0x8840u);
}

TEST_F(BlockTest, ASecondInstanceRendersNothingButSucceeds)
{
    plugin.instances = 2;
    startSong();
    EXPECT_TRUE(engine->process(512));
    EXPECT_EQ(engine->position().time, 0.0);
    EXPECT_EQ(engine->output.pending, 0);
    engine->plugin = nullptr;
    EXPECT_FALSE(engine->process(512));
}

TEST_F(BlockTest, AFadedStopSettlesOnTheHostPosition)
{
    engine->transport = kStoppedReleased;
    plugin.at(2.5, kVstPpqPosValid);
    ASSERT_TRUE(engine->process(256));
    EXPECT_EQ(engine->transport, kStoppedCut);
    EXPECT_DOUBLE_EQ(engine->position().time, 10.0);
    EXPECT_EQ(engine->position().entry, 10);
}
