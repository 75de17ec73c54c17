#include "platform/aligned_memory.h"

#include <cstdlib>
#include <cstring>
#include <sys/mman.h>

namespace platform {

void* alignedAlloc(size_t bytes)
{
    if (bytes == 0)
        return nullptr;
    const size_t rounded = (bytes + kAudioAlignment - 1) / kAudioAlignment * kAudioAlignment;
    if (rounded < bytes)
        return nullptr;
    void* p = std::aligned_alloc(kAudioAlignment, rounded);
    if (p)
        std::memset(p, 0, rounded);
    return p;
}

void alignedFree(void* p)
{
    std::free(p);
}

void lockMemory(const void* p, size_t bytes)
{
    if (p && bytes)
        (void)mlock(p, bytes);
}

void unlockMemory(const void* p, size_t bytes)
{
    if (p && bytes)
        (void)munlock(p, bytes);
}

} // namespace platform
