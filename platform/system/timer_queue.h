#pragma once
// One-shot timers on one thread with a deadline queue. Scheduling neither
// allocates nor waits beyond a short internal lock, so the audio thread may
// schedule; callbacks run on the timer thread in deadline order.

#include <cstddef>
#include <cstdint>
#include <memory>

namespace platform {

class TimerQueue {
public:
    using Callback = void (*)(void* context);

    virtual ~TimerQueue() = default;

    // Milliseconds of the clock that deadlines are counted on; wraps.
    virtual uint32_t now() = 0;
    // Runs callback(context) once, delayMs from now. False when the queue is full.
    virtual bool schedule(uint32_t delayMs, Callback callback, void* context) = 0;
    // Drops the pending timers of context and waits for one of them that is
    // running; from inside a callback it only drops.
    virtual void cancel(void* context) = 0;
};

// A timer thread holding at most capacity pending timers.
std::unique_ptr<TimerQueue> makeTimerThread(std::size_t capacity = 256);

} // namespace platform
