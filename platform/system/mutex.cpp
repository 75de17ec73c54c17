#include "platform/system/mutex.h"

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>

namespace platform {
namespace {

// Waits, and whatever must not interleave with them (waitBoth's taking of
// two locks), happen under one guard; a lock that is free or the caller's
// own is taken without it.
// Constant-initialised, so no guard variable is checked on each lock.
std::mutex stateGuardMutex;
std::mutex& stateGuard() { return stateGuardMutex; }

// Threads waiting on released(). A waiter counts itself before it last
// looks at the lock, and a release frees the lock before it reads the count
// (both sequentially consistent): either the waiter sees the lock free or
// the release sees the waiter and wakes it under the guard. A release with
// nobody waiting (the audio thread's every block) wakes no one.
std::atomic<uint32_t> waiters{0};

std::condition_variable& released()
{
    static std::condition_variable cv;
    return cv;
}

// The calling thread's token: the address of a thread-local, distinct for
// every running thread and never 0. Initial-exec, so that it is an offset
// from the thread pointer and not a call.
uintptr_t selfToken()
{
    static thread_local char token __attribute__((tls_model("initial-exec")));
    return reinterpret_cast<uintptr_t>(&token);
}

void wakeWaiters()
{
    if (waiters.load() == 0)
        return;
    std::lock_guard<std::mutex> guard(stateGuard());
    released().notify_all();
}

template <class Ready>
bool waitFor(std::unique_lock<std::mutex>& guard, uint32_t timeoutMs, Ready ready)
{
    // A free lock is taken without reading the clock.
    if (ready())
        return true;
    if (timeoutMs == 0)
        return false;
    ++waiters;
    bool got = true;
    if (timeoutMs == kWaitForever)
        released().wait(guard, ready);
    else
        got = released().wait_for(guard, std::chrono::milliseconds(timeoutMs), ready);
    --waiters;
    return got;
}

} // namespace

bool RecursiveTimedMutex::tryTake(uintptr_t who)
{
    // Only this thread ever stores its own token.
    if (owner_.load(std::memory_order_relaxed) == who) {
        ++depth_;
        return true;
    }
    // Sequentially consistent, failing too: a waiter's look here, after it
    // counted itself, and a release's freeing and reading of the count must
    // fall in one order for no wake-up to be lost (on x86 it is the same
    // instruction either way).
    uintptr_t expected = 0;
    if (!owner_.compare_exchange_strong(expected, who))
        return false;
    depth_ = 1;
    return true;
}

bool RecursiveTimedMutex::giveBack()
{
    if (--depth_ > 0)
        return false;
    owner_.store(0);
    return true;
}

bool RecursiveTimedMutex::lockToRead(uint32_t timeoutMs)
{
    const uintptr_t me = selfToken();
    if (tryTake(me))
        return true;
    if (timeoutMs == 0)
        return false;
    std::unique_lock<std::mutex> guard(stateGuard());
    return waitFor(guard, timeoutMs, [&] { return tryTake(me); });
}

bool RecursiveTimedMutex::lock(uint32_t timeoutMs)
{
    if (!lockToRead(timeoutMs))
        return false;
    ++changingTakes_;
    return true;
}

bool RecursiveTimedMutex::unlock()
{
    if (owner_.load(std::memory_order_relaxed) != selfToken())
        return false;
    if (giveBack())
        wakeWaiters();
    return true;
}

bool RecursiveTimedMutex::ownedByCaller() const
{
    return owner_.load(std::memory_order_relaxed) == selfToken();
}

bool waitBoth(RecursiveTimedMutex& a, RecursiveTimedMutex& b, uint32_t timeoutMs)
{
    const uintptr_t me = selfToken();
    std::unique_lock<std::mutex> guard(stateGuard());
    // Both or neither: a taken alone is given back at once, waking whoever
    // waits for it (the guard is held, so the wake-up cannot be missed).
    const bool taken = waitFor(guard, timeoutMs, [&] {
        if (!a.tryTake(me))
            return false;
        if (b.tryTake(me))
            return true;
        if (a.giveBack())
            released().notify_all();
        return false;
    });
    if (taken) {
        ++a.changingTakes_;
        ++b.changingTakes_;
    }
    return taken;
}

SharedMutex openNamedMutex(const std::string& name)
{
    static std::mutex registryGuard;
    static std::map<std::string, std::weak_ptr<RecursiveTimedMutex>> registry;
    std::lock_guard<std::mutex> lock(registryGuard);
    auto& slot = registry[name];
    if (auto existing = slot.lock())
        return existing;
    auto created = std::make_shared<RecursiveTimedMutex>();
    slot = created;
    return created;
}

} // namespace platform
