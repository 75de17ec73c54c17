#pragma once
// A time-ordered queue of MIDI messages with a fixed capacity and its own
// timed mutex, so that the audio thread queues without allocating and
// waits at most 500 ms. The unlocked operations need lock() held.

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
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

    bool lock() { return mutex_.try_lock_for(std::chrono::milliseconds(kWaitMs)); }
    void unlock() { mutex_.unlock(); }

    // Under the lock.
    int size() const { return end_ - begin_; }
    bool empty() const { return end_ == begin_; }
    const TesselQueuedMessage& at(int i) const { return items_[begin_ + i]; }

    // After the messages with the same time, or before them with beforeEqual.
    // False when full.
    bool insert(const TesselQueuedMessage& m, bool beforeEqual)
    {
        if (size() == kCapacity)
            return false;
        if (end_ == kCapacity) {
            std::copy(items_.begin() + begin_, items_.begin() + end_, items_.begin());
            end_ -= begin_;
            begin_ = 0;
        }
        auto first = items_.begin() + begin_, last = items_.begin() + end_;
        auto later = [](const TesselQueuedMessage& a, const TesselQueuedMessage& b) { return a.time < b.time; };
        auto at = beforeEqual ? std::lower_bound(first, last, m, later) : std::upper_bound(first, last, m, later);
        std::copy_backward(at, last, last + 1);
        *at = m;
        ++end_;
        return true;
    }

    void dropFront(int n)
    {
        begin_ += std::min(n, size());
        if (begin_ == end_)
            begin_ = end_ = 0;
    }

    void shiftTimes(int32_t frames)
    {
        for (int i = begin_; i < end_; ++i)
            items_[i].time -= frames;
    }

    void clear() { begin_ = end_ = 0; }

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
    int count(int previous)
    {
        if (!lock())
            return previous;
        int n = size();
        unlock();
        return n;
    }

private:
    std::timed_mutex mutex_;
    std::array<TesselQueuedMessage, kCapacity> items_{};
    int begin_ = 0;
    int end_ = 0;
};
