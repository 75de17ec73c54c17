#include "platform/system/timer_queue.h"

#include "platform/system/clock.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;

struct Pending {
    Clock::time_point due;
    uint64_t order; // keeps equal deadlines first come, first served
    TimerQueue::Callback callback;
    void* context;
};

struct LaterFirst {
    bool operator()(const Pending& a, const Pending& b) const
    {
        return a.due != b.due ? a.due > b.due : a.order > b.order;
    }
};

class TimerThread final : public TimerQueue {
public:
    explicit TimerThread(std::size_t capacity) : capacity_(capacity)
    {
        heap_.reserve(capacity_);
        thread_ = std::thread([this] { run(); });
    }

    ~TimerThread() override
    {
        {
            std::lock_guard<std::mutex> guard(lock_);
            stopping_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }

    uint32_t now() override { return milliseconds(); }

    bool schedule(uint32_t delayMs, Callback callback, void* context) override
    {
        if (!callback)
            return false;
        {
            std::lock_guard<std::mutex> guard(lock_);
            if (heap_.size() >= capacity_ || stopping_)
                return false;
            heap_.push_back({Clock::now() + std::chrono::milliseconds(delayMs), next_++, callback, context});
            std::push_heap(heap_.begin(), heap_.end(), LaterFirst());
        }
        wake_.notify_all();
        return true;
    }

    void cancel(void* context) override
    {
        std::unique_lock<std::mutex> guard(lock_);
        auto end = std::remove_if(heap_.begin(), heap_.end(), [&](const Pending& p) { return p.context == context; });
        heap_.erase(end, heap_.end());
        std::make_heap(heap_.begin(), heap_.end(), LaterFirst());
        if (std::this_thread::get_id() != thread_.get_id())
            finished_.wait(guard, [&] { return running_ != context; });
    }

private:
    void run()
    {
        std::unique_lock<std::mutex> guard(lock_);
        while (!stopping_) {
            if (heap_.empty()) {
                wake_.wait(guard);
                continue;
            }
            if (Clock::now() < heap_.front().due) {
                wake_.wait_until(guard, heap_.front().due);
                continue;
            }
            std::pop_heap(heap_.begin(), heap_.end(), LaterFirst());
            Pending due = heap_.back();
            heap_.pop_back();
            running_ = due.context;
            guard.unlock();
            due.callback(due.context);
            guard.lock();
            running_ = nullptr;
            finished_.notify_all();
        }
    }

    const std::size_t capacity_;
    std::vector<Pending> heap_;
    uint64_t next_ = 0;
    void* running_ = nullptr;
    bool stopping_ = false;
    std::mutex lock_;
    std::condition_variable wake_;
    std::condition_variable finished_;
    std::thread thread_;
};

} // namespace

std::unique_ptr<TimerQueue> makeTimerThread(std::size_t capacity)
{
    return std::make_unique<TimerThread>(capacity);
}

} // namespace platform
