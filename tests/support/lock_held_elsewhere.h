#pragma once
// Holds a lock on a thread of its own from construction on, so a test can
// see what waiting for it does; the destructor lets it go and waits for the
// thread.

#include "platform/system/mutex.h"

#include <atomic>
#include <chrono>
#include <thread>

class LockHeldElsewhere {
public:
    explicit LockHeldElsewhere(platform::RecursiveTimedMutex& mutex)
        : thread_([this, &mutex] {
              mutex.lock(platform::kWaitForever);
              held_ = true;
              while (!released_)
                  std::this_thread::sleep_for(std::chrono::milliseconds(1));
              mutex.unlock();
          })
    {
        while (!held_)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~LockHeldElsewhere()
    {
        release();
        thread_.join();
    }
    LockHeldElsewhere(const LockHeldElsewhere&) = delete;
    LockHeldElsewhere& operator=(const LockHeldElsewhere&) = delete;

    // Lets the lock go soon, without waiting for that.
    void release() { released_ = true; }

private:
    std::atomic<bool> held_{false};
    std::atomic<bool> released_{false};
    std::thread thread_;
};
