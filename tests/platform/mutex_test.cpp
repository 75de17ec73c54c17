#include "platform/clock.h"
#include "platform/mutex.h"
#include "support/lock_held_elsewhere.h"

#include <gtest/gtest.h>

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
