// A whole new song (a load, a preview's load, New) takes the song's place
// while the audio thread waits on the song lock: under it nothing may be
// done whose cost grows with either song. This binary's operator new counts
// what any thread allocates or frees while it holds the lock; a rebuilt
// timing list, a copied key map or a freed pattern all would.
#include "engine/allocation_watch.h"
#include "engine/block_fixture.h"

#include "model/scratch_folder.h"

#include <string>

namespace {

// Notes whether the song lock was held when the editor was asked to refresh.
struct RefreshWatch : TesselEditorLink {
    explicit RefreshWatch(platform::RecursiveTimedMutex& lock) : songLock(lock) {}
    void refreshAfterLoad() override
    {
        ++refreshes;
        refreshedUnderLock = refreshedUnderLock || songLock.ownedByCaller();
    }
    platform::RecursiveTimedMutex& songLock;
    int refreshes = 0;
    bool refreshedUnderLock = false;
};

class SongSwapTest : public BlockTest {
protected:
    // `patterns` patterns of 64 rows in order, every cell of every channel
    // filled, a tempo change at the top of each; instruments keep their
    // default key maps (a row per key), some samples hold audio.
    std::string saveSong(const char* name, int patterns, int firstPitch)
    {
        TesselModule& song = engine->song;
        song.orderList.reset();
        for (int p = 0; p < patterns; ++p) {
            song.orderList.entries[static_cast<size_t>(p)].pattern = p;
            TesselPattern& pattern = song.patterns[static_cast<size_t>(p)];
            pattern.setLength(64);
            for (int c = 0; c < kChannels; ++c)
                for (int row = 0; row < 64; ++row) {
                    TesselRow& cell = pattern.tracks.getTrack(c).getRow(row);
                    cell.pitch = static_cast<int16_t>(firstPitch + (c + row) % 24);
                    cell.instrument = static_cast<int16_t>(1 + c % 4);
                    cell.volume = 40;
                    cell.effect.command = row == 0 && c == 0 ? '@' : 'D';
                    cell.effect.parameter = row == 0 && c == 0 ? 100 + p : 0x01;
                }
        }
        song.orderList.updateLength();
        for (int s = 0; s < 4; ++s)
            mixer_test::fillSample(song.samples[static_cast<size_t>(s)], 4000, 1, 16,
                                   [](int, int f) { return (f % 50) * 100.0f; });
        std::string path = folder.file(name);
        EXPECT_TRUE(engine->saveModule(path));
        return path;
    }

    ScratchFolder folder;
};

} // namespace

TEST_F(SongSwapTest, ASongTakesThePlaceOfAnotherWithoutWorkThatGrowsUnderTheLock)
{
    const std::string big = saveSong("big.zip", 12, 36);
    ASSERT_TRUE(engine->newSong());
    const std::string other = saveSong("other.zip", 3, 48);
    ASSERT_EQ(engine->loadModule(big), 2);
    RefreshWatch refresh(engine->song.songLock());
    engine->editor = &refresh;
    startSong();
    render(3 * kRowFrames, 256);   // voices sound

    {
        const LockedAllocationWatch watch(engine->song.songLock());
        ASSERT_EQ(engine->loadModule(other), 2);
        EXPECT_EQ(watch.allocations(), 0);
        EXPECT_EQ(watch.frees(), 0);
    }
    EXPECT_EQ(refresh.refreshes, 1);
    EXPECT_FALSE(refresh.refreshedUnderLock);
    // The lists came with the song: three patterns of 64 rows, the tempo
    // changes at their tops.
    EXPECT_EQ(engine->songTiming.count, 3 * 64);
    EXPECT_EQ(engine->songTiming.tempoMap.size(), 3u);
    EXPECT_DOUBLE_EQ(engine->songTiming.tempoAt(64).tempo, 101.0);
    EXPECT_EQ(engine->patternTiming[0]->count, 64);
    EXPECT_EQ(engine->song.patterns[0].tracks.trackAt(0)->rowAt(5)->pitch, 48 + 5);

    // Back to the big song, and the chunk's own hand-over after it.
    {
        const LockedAllocationWatch watch(engine->song.songLock());
        ASSERT_EQ(engine->loadModule(big), 2);
        platform::MutexLock lock(engine->song.songLock(), 1000);
        ASSERT_TRUE(lock);
        engine->applyLoadedSong();
        EXPECT_EQ(watch.allocations(), 0);
        EXPECT_EQ(watch.frees(), 0);
    }
    EXPECT_EQ(engine->songTiming.count, 12 * 64);
    EXPECT_EQ(engine->patternTiming[11]->count, 64);

    // A file browser's preview module shares the lock.
    TesselModule preview;
    {
        const LockedAllocationWatch watch(engine->song.songLock());
        ASSERT_EQ(engine->loadModule(other, &preview), 2);
        EXPECT_EQ(watch.allocations(), 0);
        EXPECT_EQ(watch.frees(), 0);
    }
    EXPECT_EQ(preview.orderList.length, 3);
    EXPECT_EQ(engine->songTiming.count, 12 * 64);

    // New erases the big song the same way.
    startSong();
    render(kRowFrames, 256);
    {
        const LockedAllocationWatch watch(engine->song.songLock());
        ASSERT_TRUE(engine->newSong());
        EXPECT_EQ(watch.allocations(), 0);
        EXPECT_EQ(watch.frees(), 0);
    }
    EXPECT_TRUE(engine->song.patterns[0].tracks.isEmpty());
    EXPECT_EQ(engine->patternTiming[11]->count, engine->song.patterns[11].length());
    EXPECT_EQ(refresh.refreshes, 2);
    EXPECT_FALSE(refresh.refreshedUnderLock);
}
