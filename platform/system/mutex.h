#pragma once
// Re-entrant timed mutexes with the behaviour the song lock relies on: the
// owner may take one again (it must release it as often), waits have a
// time-out in milliseconds, and mutexes opened by the same name share one lock.

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

namespace platform {

constexpr uint32_t kWaitForever = 0xFFFFFFFFu;

class RecursiveTimedMutex {
public:
    RecursiveTimedMutex() = default;
    RecursiveTimedMutex(const RecursiveTimedMutex&) = delete;
    RecursiveTimedMutex& operator=(const RecursiveTimedMutex&) = delete;

    // Any thread; waits at most timeoutMs (kWaitForever: no limit).
    bool lock(uint32_t timeoutMs = kWaitForever);
    bool tryLock() { return lock(0); }
    // The same, for a holder that only reads what the lock guards: its take
    // is not counted among the changing ones.
    bool lockToRead(uint32_t timeoutMs = kWaitForever);
    // Every take of lock() and waitBoth() so far, each of which may have
    // changed what the lock guards. Read by a holder: a reader that took it
    // in turns sees by this whether anything may have changed in between.
    uint64_t changingTakes() const { return changingTakes_; }
    // Owner thread only; false (and nothing changes) when the caller does not own it.
    bool unlock();
    bool ownedByCaller() const;

private:
    friend bool waitBoth(RecursiveTimedMutex&, RecursiveTimedMutex&, uint32_t);
    // Takes the lock (or once more) for the thread `who` when it is free or
    // already its own; never waits.
    bool tryTake(uintptr_t who);
    // Gives back one take of tryTake; true when that freed the lock.
    bool giveBack();

    // The owning thread's token (0: free), changed only by compare and swap
    // or by the owner's last release: a lock nobody else holds is taken and
    // released without the state guard or any system call, as the audio
    // thread does every block.
    std::atomic<uintptr_t> owner_{0};
    uint32_t depth_ = 0;   // read and written by the owner only
    uint64_t changingTakes_ = 0;   // likewise
};

// Takes both or neither; used where a timing list and the song are locked together.
bool waitBoth(RecursiveTimedMutex& a, RecursiveTimedMutex& b, uint32_t timeoutMs);

using SharedMutex = std::shared_ptr<RecursiveTimedMutex>;

// The process-wide registry: the same name gives the same lock for as long as
// anyone holds it open.
SharedMutex openNamedMutex(const std::string& name);

enum class LockUse { kMayChange, kReadOnly };

// Scope guard for a lock taken with a time-out.
class MutexLock {
public:
    MutexLock(RecursiveTimedMutex& m, uint32_t timeoutMs, LockUse use = LockUse::kMayChange)
        : m_(m), held_(use == LockUse::kReadOnly ? m.lockToRead(timeoutMs) : m.lock(timeoutMs))
    {
    }
    ~MutexLock() { if (held_) m_.unlock(); }
    MutexLock(const MutexLock&) = delete;
    MutexLock& operator=(const MutexLock&) = delete;
    bool held() const { return held_; }
    explicit operator bool() const { return held_; }

private:
    RecursiveTimedMutex& m_;
    bool held_;
};

} // namespace platform
