#include "allocation_watch.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

// The replacements below pair malloc with free themselves; the compiler only
// sees free() meeting a pointer from operator new.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

namespace {

thread_local bool watching = false;
std::atomic<long> watchedAllocations{0};

std::atomic<platform::RecursiveTimedMutex*> watchedLock{nullptr};
std::atomic<long> lockedAllocations{0};
std::atomic<long> lockedFrees{0};

bool callerHoldsWatchedLock()
{
    platform::RecursiveTimedMutex* lock = watchedLock.load(std::memory_order_acquire);
    return lock && lock->ownedByCaller();
}

void* counted(std::size_t size, std::size_t alignment = 0)
{
    if (watching)
        watchedAllocations.fetch_add(1, std::memory_order_relaxed);
    if (callerHoldsWatchedLock())
        lockedAllocations.fetch_add(1, std::memory_order_relaxed);
    if (size == 0)
        size = 1;
    void* p = nullptr;
    if (alignment > alignof(std::max_align_t)) {
        if (posix_memalign(&p, alignment, size) != 0)
            p = nullptr;
    } else {
        p = std::malloc(size);
    }
    return p;
}

void release(void* p)
{
    if (p && callerHoldsWatchedLock())
        lockedFrees.fetch_add(1, std::memory_order_relaxed);
    std::free(p);
}

} // namespace

AllocationWatch::AllocationWatch()
{
    watchedAllocations = 0;
    watching = true;
}

AllocationWatch::~AllocationWatch()
{
    watching = false;
}

long AllocationWatch::count() const
{
    return watchedAllocations.load();
}

LockedAllocationWatch::LockedAllocationWatch(platform::RecursiveTimedMutex& lock)
{
    lockedAllocations = 0;
    lockedFrees = 0;
    watchedLock.store(&lock, std::memory_order_release);
}

LockedAllocationWatch::~LockedAllocationWatch()
{
    watchedLock.store(nullptr, std::memory_order_release);
}

long LockedAllocationWatch::allocations() const
{
    return lockedAllocations.load();
}

long LockedAllocationWatch::frees() const
{
    return lockedFrees.load();
}

void* operator new(std::size_t size)
{
    if (void* p = counted(size))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size)
{
    return operator new(size);
}
void* operator new(std::size_t size, std::align_val_t alignment)
{
    if (void* p = counted(size, static_cast<std::size_t>(alignment)))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size, std::align_val_t alignment)
{
    return operator new(size, alignment);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return counted(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return counted(size);
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept
{
    return counted(size, static_cast<std::size_t>(alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept
{
    return counted(size, static_cast<std::size_t>(alignment));
}
void operator delete(void* p) noexcept
{
    release(p);
}
void operator delete[](void* p) noexcept
{
    release(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    release(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    release(p);
}
void operator delete(void* p, std::align_val_t) noexcept
{
    release(p);
}
void operator delete[](void* p, std::align_val_t) noexcept
{
    release(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept
{
    release(p);
}
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept
{
    release(p);
}
