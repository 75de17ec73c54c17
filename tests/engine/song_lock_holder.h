#pragma once
// Holds the song lock on another thread from construction to destruction.

#include "platform/library_handle.h"
#include "platform/mutex.h"

#include <atomic>
#include <chrono>
#include <thread>

class SongLockHolder {
public:
    SongLockHolder()
        : thread_([this] {
              platform::SharedMutex songLock = platform::openNamedMutex(platform::handleName("QB_MODULE_"));
              songLock->lock();
              held_ = true;
              while (!done_)
                  std::this_thread::sleep_for(std::chrono::milliseconds(1));
              songLock->unlock();
          })
    {
        while (!held_)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~SongLockHolder()
    {
        done_ = true;
        thread_.join();
    }
    SongLockHolder(const SongLockHolder&) = delete;
    SongLockHolder& operator=(const SongLockHolder&) = delete;

private:
    std::atomic<bool> held_{false};
    std::atomic<bool> done_{false};
    std::thread thread_;
};
