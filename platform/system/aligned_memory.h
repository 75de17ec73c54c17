#pragma once
#include <cstddef>

namespace platform {

constexpr size_t kAudioAlignment = 16;

// 16-byte aligned, zero-filled; null when bytes is 0 or memory is short.
void* alignedAlloc(size_t bytes);
void alignedFree(void* p);

// Keeps pages in physical memory where the system allows it. Failing to lock
// is normal for unprivileged users and is not an error.
void lockMemory(const void* p, size_t bytes);
void unlockMemory(const void* p, size_t bytes);

} // namespace platform
