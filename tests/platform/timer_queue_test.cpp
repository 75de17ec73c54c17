#include "platform/system/timer_queue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

using namespace platform;

namespace {

struct Log {
    std::mutex lock;
    std::vector<int> order;
    std::atomic<int> fired{0};
};

struct Tag {
    Log* log;
    int id;
};

void record(void* context)
{
    auto* tag = static_cast<Tag*>(context);
    {
        std::lock_guard<std::mutex> guard(tag->log->lock);
        tag->log->order.push_back(tag->id);
    }
    ++tag->log->fired;
}

bool waitFor(const std::atomic<int>& n, int wanted)
{
    for (int i = 0; i < 400 && n.load() < wanted; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return n.load() >= wanted;
}

} // namespace

TEST(TimerThread, FiresInDeadlineOrderNotBeforeItsTime)
{
    auto timers = makeTimerThread();
    Log log;
    Tag late{&log, 3}, early{&log, 1}, middle{&log, 2}, alsoMiddle{&log, 4};
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(timers->schedule(40, record, &late));
    ASSERT_TRUE(timers->schedule(5, record, &early));
    ASSERT_TRUE(timers->schedule(20, record, &middle));
    ASSERT_TRUE(timers->schedule(20, record, &alsoMiddle));
    ASSERT_TRUE(waitFor(log.fired, 4));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(40));
    EXPECT_EQ(log.order, std::vector<int>({1, 2, 4, 3})) << "equal deadlines keep their order";
}

TEST(TimerThread, CancelDropsPendingTimersOfOneContext)
{
    auto timers = makeTimerThread();
    Log log;
    Tag dropped{&log, 1}, kept{&log, 2};
    timers->schedule(30, record, &dropped);
    timers->schedule(30, record, &kept);
    timers->cancel(&dropped);
    ASSERT_TRUE(waitFor(log.fired, 1));
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
    EXPECT_EQ(log.order, std::vector<int>({2}));
}

TEST(TimerThread, FullQueueRefusesAndDestructionDropsThePending)
{
    Log log;
    Tag tag{&log, 1};
    {
        auto timers = makeTimerThread(2);
        EXPECT_TRUE(timers->schedule(10000, record, &tag));
        EXPECT_TRUE(timers->schedule(10000, record, &tag));
        EXPECT_FALSE(timers->schedule(1, record, &tag));
        EXPECT_FALSE(timers->schedule(1, nullptr, &tag));
    }
    EXPECT_EQ(log.fired.load(), 0);
}

TEST(TimerThread, ACallbackMayScheduleAndCancelItsOwnContext)
{
    auto timers = makeTimerThread();
    struct Chain {
        TimerQueue* timers;
        std::atomic<int> runs{0};
    } chain{timers.get()};
    auto step = [](void* context) {
        auto* c = static_cast<Chain*>(context);
        if (++c->runs < 3)
            c->timers->schedule(1, +[](void* ctx) {
                auto* c2 = static_cast<Chain*>(ctx);
                c2->timers->cancel(ctx); // from inside a callback: no wait on itself
                ++c2->runs;
            }, c);
    };
    timers->schedule(1, step, &chain);
    ASSERT_TRUE(waitFor(chain.runs, 2));
    timers->cancel(&chain);
    EXPECT_EQ(chain.runs.load(), 2);
}
