#pragma once
// This test binary's operator new and delete count what is allocated and
// freed: by a thread while it is watched, and by any thread while it holds a
// watched lock.

#include "platform/system/mutex.h"

// Counts what the calling thread allocates for the watch's lifetime.
class AllocationWatch {
public:
    AllocationWatch();
    ~AllocationWatch();
    AllocationWatch(const AllocationWatch&) = delete;
    AllocationWatch& operator=(const AllocationWatch&) = delete;
    long count() const;
};

// Counts what any thread allocates and frees while it holds `lock`, for the
// watch's lifetime.
class LockedAllocationWatch {
public:
    explicit LockedAllocationWatch(platform::RecursiveTimedMutex& lock);
    ~LockedAllocationWatch();
    LockedAllocationWatch(const LockedAllocationWatch&) = delete;
    LockedAllocationWatch& operator=(const LockedAllocationWatch&) = delete;
    long allocations() const;
    long frees() const;
};
