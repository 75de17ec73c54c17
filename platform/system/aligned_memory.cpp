#include "platform/system/aligned_memory.h"

#include <cstdlib>
#include <cstddef>
#include <sys/mman.h>

namespace platform {

void* alignedAlloc(size_t bytes)
{
    if (bytes == 0)
        return nullptr;
    const size_t rounded = (bytes + kAudioAlignment - 1) / kAudioAlignment * kAudioAlignment;
    if (rounded < bytes)
        return nullptr;
    // calloc's blocks are aligned for any fundamental type, and large ones
    // come as fresh pages the system has zeroed: no pass over the memory
    // here, which for the engine's pools was most of its construction.
    static_assert(alignof(std::max_align_t) >= kAudioAlignment);
    return std::calloc(1, rounded);
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
