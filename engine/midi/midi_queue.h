#pragma once
// A time-ordered queue of MIDI messages with a fixed capacity and its own
// timed mutex, so that the audio thread queues without allocating and
// waits at most 500 ms. The unlocked operations need lock() held.

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>

struct TesselQueuedMessage {
    uint32_t message; // status in the low byte, then data 1 and data 2
    int32_t port;     // index in the port table
    int32_t device;   // the platform's port index; -1 for the host
    int32_t time;     // frames relative to the current block (milliseconds when scheduled)
};
static_assert(sizeof(TesselQueuedMessage) == 16);

class TesselMidiQueue {
public:
    static constexpr int kCapacity = 4096;
    static constexpr int kWaitMs = 500;

    // A free mutex is taken without reading the clock, as the timed wait would.
    bool lock() { return mutex_.try_lock() || mutex_.try_lock_for(std::chrono::milliseconds(kWaitMs)); }
    void unlock() { mutex_.unlock(); }

    // Under the lock.
    int size() const { return end_ - begin_; }
    bool empty() const { return end_ == begin_; }
    const TesselQueuedMessage& at(int i) const { return (*items_)[begin_ + i]; }

    // Without the lock, from any thread: the size as of the last change. The
    // audio thread asks it every block so that an empty queue costs no lock;
    // a message queued meanwhile is taken with the next block, as it would
    // be had the lock been taken a moment earlier.
    bool seemsEmpty() const { return published_.load(std::memory_order_acquire) == 0; }

    // After the messages with the same time, or before them with beforeEqual.
    // False when full.
    bool insert(const TesselQueuedMessage& m, bool beforeEqual)
    {
        if (size() == kCapacity)
            return false;
        if (end_ == kCapacity) {
            std::copy(items_->begin() + begin_, items_->begin() + end_, items_->begin());
            end_ -= begin_;
            begin_ = 0;
        }
        auto first = items_->begin() + begin_, last = items_->begin() + end_;
        auto later = [](const TesselQueuedMessage& a, const TesselQueuedMessage& b) { return a.time < b.time; };
        auto at = beforeEqual ? std::lower_bound(first, last, m, later) : std::upper_bound(first, last, m, later);
        std::copy_backward(at, last, last + 1);
        *at = m;
        ++end_;
        changed();
        return true;
    }

    void dropFront(int n)
    {
        if (n <= 0)
            return;
        begin_ += std::min(n, size());
        if (begin_ == end_)
            begin_ = end_ = 0;
        changed();
    }

    void shiftTimes(int32_t frames)
    {
        for (int i = begin_; i < end_; ++i)
            (*items_)[i].time -= frames;
    }

    void clear()
    {
        begin_ = end_ = 0;
        changed();
    }

    // Takes the lock itself; false when full or the lock was not obtained.
    bool push(const TesselQueuedMessage& m, bool beforeEqual)
    {
        if (!lock())
            return false;
        bool done = insert(m, beforeEqual);
        unlock();
        return done;
    }

    // Takes the lock itself; keeps `previous` when the lock was not obtained.
    // The engine asks once per channel and tick: while nothing changed the
    // queue since the last count, that count stands without the lock.
    int count(int previous)
    {
        const uint64_t last = counted_.load(std::memory_order_acquire);
        if (static_cast<uint32_t>(last >> 32) == changes_.load(std::memory_order_acquire))
            return static_cast<int>(static_cast<uint32_t>(last));
        if (!lock())
            return previous;
        const int n = size();
        counted_.store(uint64_t{changes_.load(std::memory_order_relaxed)} << 32 | static_cast<uint32_t>(n),
                       std::memory_order_release);
        unlock();
        return n;
    }

private:
    // Under the lock; the release orders the change before a counter that says it happened.
    void changed()
    {
        published_.store(size(), std::memory_order_release);
        changes_.fetch_add(1, std::memory_order_release);
    }

    // The counts first and the messages in a block of their own: a queue
    // that stays empty costs a block one cache line, not a page.
    std::atomic<int> published_{0};      // size() at the last change
    std::atomic<uint32_t> changes_{1};   // the first count takes the lock
    std::atomic<uint64_t> counted_{0};   // changes_ at the last count, and that count
    int begin_ = 0;
    int end_ = 0;
    std::unique_ptr<std::array<TesselQueuedMessage, kCapacity>> items_ =
        std::make_unique<std::array<TesselQueuedMessage, kCapacity>>();
    std::timed_mutex mutex_;
};
