// A save copies the song in turns, letting go of the song lock between
// tracks; whatever other threads do meanwhile, the copy must be a song that
// existed. Here an editor thread keeps two cells far apart (the first and
// the last track the copy reaches) equal, changing both at once.
#include "engine/engine_fixture.h"

#include "engine/song_files/song_snapshot.h"

#include <atomic>
#include <thread>

namespace {

class SongSnapshotTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        engine = std::make_unique<TesselEngine>();
        ASSERT_TRUE(engine->usable());
        // Enough rows between the two cells that the copy takes many turns.
        TesselModule& song = engine->song;
        for (int p = 0; p < 8; ++p)
            for (int c = 0; c < kChannels; ++c)
                for (int row = 0; row < 64; ++row)
                    song.patterns[static_cast<size_t>(p)].tracks.getTrack(c).getRow(row).pitch = 60;
        first = &song.patterns[0].tracks.getTrack(0).getRow(0);
        last = &song.patterns[kPatterns - 1].tracks.getTrack(kChannels - 1).getRow(63);
    }

    // Copies while `other` runs on a thread of its own; every copy is whole
    // and holds the two cells equal.
    template <class Other>
    void copyBeside(Other other)
    {
        std::atomic<bool> done{false};
        std::thread beside([&] {
            for (int n = 1; !done; ++n)
                other(n);
        });
        // A failed assertion returns early: the thread still ends and joins.
        struct Join {
            std::atomic<bool>& done;
            std::thread& thread;
            ~Join()
            {
                done = true;
                thread.join();
            }
        } join{done, beside};
        for (int i = 0; i < 30; ++i) {
            auto copy = std::make_unique<TesselModule>(engine.get());
            ASSERT_EQ(snapshotSong(engine->song, *copy, kEditLockWaitMs), TesselSnapshotResult::kWhole);
            const TesselRow* a = copy->patterns[0].findRow(0, 0);
            const TesselRow* b = copy->patterns[kPatterns - 1].findRow(kChannels - 1, 63);
            ASSERT_TRUE(a && b);
            EXPECT_EQ(a->volume, b->volume) << "copy " << i;
            EXPECT_EQ(copy->patterns[5].findRow(17, 40)->pitch, 60);
        }
    }

    void setBoth(int n)
    {
        first->volume = last->volume = static_cast<int16_t>(1 + n % 60);
    }

    TesselRow* first = nullptr;
    TesselRow* last = nullptr;
};

TEST_F(SongSnapshotTest, ACopyTakenInTurnsHoldsASongThatExistedWhateverChangesBetweenThem)
{
    // An editor changing the song all the time: every try in turns meets a
    // change, and the copy is taken in one take. The editor lets go for a
    // moment after each change, as a real one does between keys: a lock
    // taken again at once could keep the copy out for its whole wait on a
    // loaded machine.
    copyBeside([&](int n) {
        {
            platform::MutexLock lock(engine->song.songLock(), kEditLockWaitMs);
            setBoth(n);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(20));
    });
    // Edits now and then: some copies start again, some get through in turns.
    copyBeside([&](int n) {
        {
            platform::MutexLock lock(engine->song.songLock(), kEditLockWaitMs);
            setBoth(n);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(300));
    });
    // Readers only (the audio thread playing): the turns are never started again.
    copyBeside([&](int) {
        platform::MutexLock lock(engine->song.songLock(), kEditLockWaitMs, platform::LockUse::kReadOnly);
    });
}

} // namespace
