#include "platform/system/clock.h"
#include "platform/system/mutex.h"
#include "support/lock_held_elsewhere.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace platform;

TEST(NamedMutex, SameNameSharesOneLockAndOwnerMayReenter)
{
    SharedMutex a = openNamedMutex("QB_TEST_SHARED");
    SharedMutex b = openNamedMutex("QB_TEST_SHARED");
    SharedMutex other = openNamedMutex("QB_TEST_OTHER");
    EXPECT_EQ(a.get(), b.get());
    EXPECT_NE(a.get(), other.get());

    ASSERT_TRUE(a->lock(0));
    ASSERT_TRUE(b->lock(1000)) << "the owner takes its own lock again, as the loader does";
    EXPECT_TRUE(a->ownedByCaller());

    bool takenElsewhere = true;
    std::thread([&] { takenElsewhere = b->lock(20); }).join();
    EXPECT_FALSE(takenElsewhere);

    EXPECT_TRUE(a->unlock());
    std::thread([&] { takenElsewhere = b->lock(20); }).join();
    EXPECT_FALSE(takenElsewhere) << "one release of two leaves it held";

    EXPECT_TRUE(a->unlock());
    EXPECT_FALSE(a->unlock()) << "releasing an unowned lock is refused";
    std::thread([&] {
        takenElsewhere = b->lock(20);
        b->unlock();
    }).join();
    EXPECT_TRUE(takenElsewhere);
}

TEST(NamedMutex, TimesOutWhileAnotherThreadHoldsItAndWakesOnRelease)
{
    SharedMutex m = openNamedMutex("QB_TEST_TIMEOUT");
    LockHeldElsewhere holder(*m);

    const uint32_t start = milliseconds();
    EXPECT_FALSE(m->lock(50));
    EXPECT_GE(milliseconds() - start, 45u);

    holder.release();
    EXPECT_TRUE(m->lock(kWaitForever));
    m->unlock();
}

TEST(NamedMutex, WaitBothTakesAllOrNothing)
{
    SharedMutex list = openNamedMutex("QB_TEST_LIST");
    SharedMutex song = openNamedMutex("QB_TEST_SONG");
    LockHeldElsewhere holder(*song);

    EXPECT_FALSE(waitBoth(*list, *song, 30));
    bool listFree = false;
    std::thread([&] {
        listFree = list->lock(0);
        if (listFree)
            list->unlock();
    }).join();
    EXPECT_TRUE(listFree) << "a failed wait for both leaves the first one free";

    holder.release();
    ASSERT_TRUE(waitBoth(*list, *song, kWaitForever));
    EXPECT_TRUE(list->ownedByCaller());
    EXPECT_TRUE(song->ownedByCaller());
    list->unlock();
    song->unlock();
}

TEST(NamedMutex, ScopeGuardReleasesOnlyWhatItTook)
{
    RecursiveTimedMutex m;
    {
        MutexLock lock(m, 0);
        EXPECT_TRUE(lock.held());
    }
    EXPECT_FALSE(m.ownedByCaller());
}

// A release wakes whoever waits, however they wait, once the last of the
// owner's holds goes; and an owner that takes and releases it over and over
// (the audio thread, every block) never leaves a waiter asleep on a free lock.
TEST(NamedMutex, ThreadsBlockedOnItWakeWhenTheOwnerLetsGo)
{
    RecursiveTimedMutex song;
    RecursiveTimedMutex list;
    ASSERT_TRUE(song.lock());
    ASSERT_TRUE(song.lock());
    std::atomic<int> woken{0};
    std::thread untimed([&] {
        if (song.lock(kWaitForever)) {
            ++woken;
            song.unlock();
        }
    });
    std::thread timed([&] {
        if (song.lock(60000)) {
            ++woken;
            song.unlock();
        }
    });
    std::thread both([&] {
        if (waitBoth(list, song, 60000)) {
            ++woken;
            song.unlock();
            list.unlock();
        }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));   // all three asleep on it
    EXPECT_TRUE(song.unlock());
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(woken.load(), 0) << "one release of two leaves it held";
    EXPECT_TRUE(song.unlock());
    untimed.join();
    timed.join();
    both.join();
    EXPECT_EQ(woken.load(), 3);

    std::atomic<bool> blocksDone{false};
    std::thread audio([&] {
        for (int block = 0; block < 20000; ++block) {
            if (song.lock(kWaitForever))
                song.unlock();
        }
        blocksDone = true;
    });
    int taken = 0;
    while (!blocksDone) {
        taken += song.lock(kWaitForever) ? 1 : 0;
        song.unlock();
        taken += song.lock(60000) ? 1 : 0;
        song.unlock();
    }
    audio.join();
    EXPECT_GT(taken, 0);
}
