#include "platform/mutex.h"

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>

namespace platform {
namespace {

// All mutex state changes happen under one guard so that waitBoth can take two
// locks atomically; the guard is held only for a few instructions.
// Constant-initialised, so no guard variable is checked on each lock.
std::mutex stateGuardMutex;
std::mutex& stateGuard() { return stateGuardMutex; }

// Threads waiting on released(), counted under the state guard: a release
// with nobody waiting (the audio thread's every block) skips the broadcast.
uint32_t waiters = 0;

std::condition_variable& released()
{
    static std::condition_variable cv;
    return cv;
}

template <class Ready>
bool waitFor(std::unique_lock<std::mutex>& guard, uint32_t timeoutMs, Ready ready)
{
    // A free lock is taken without reading the clock: the audio thread locks
    // the song every block, and the clock read cost more than the lock itself.
    if (ready())
        return true;
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

bool RecursiveTimedMutex::lock(uint32_t timeoutMs)
{
    const auto me = std::this_thread::get_id();
    std::unique_lock<std::mutex> guard(stateGuard());
    if (!waitFor(guard, timeoutMs, [&] { return availableTo(me); }))
        return false;
    take(me);
    return true;
}

bool RecursiveTimedMutex::unlock()
{
    std::unique_lock<std::mutex> guard(stateGuard());
    if (depth_ == 0 || owner_ != std::this_thread::get_id())
        return false;
    if (--depth_ == 0) {
        owner_ = std::thread::id();
        const bool anyoneWaiting = waiters != 0;
        guard.unlock();
        if (anyoneWaiting)
            released().notify_all();
    }
    return true;
}

bool RecursiveTimedMutex::ownedByCaller() const
{
    std::lock_guard<std::mutex> guard(stateGuard());
    return depth_ > 0 && owner_ == std::this_thread::get_id();
}

bool waitBoth(RecursiveTimedMutex& a, RecursiveTimedMutex& b, uint32_t timeoutMs)
{
    const auto me = std::this_thread::get_id();
    std::unique_lock<std::mutex> guard(stateGuard());
    if (!waitFor(guard, timeoutMs, [&] { return a.availableTo(me) && b.availableTo(me); }))
        return false;
    a.take(me);
    b.take(me);
    return true;
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
