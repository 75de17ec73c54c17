#pragma once
// Reading this process's memory and memory map without risking a second fault.

#include <cstddef>
#include <cstdint>

namespace services {

// Copies bytes from any address of this process; false when any of them cannot be read.
bool readProcessMemory(uintptr_t address, void* target, size_t bytes);

struct MemoryRegion {
    uintptr_t start = 0;
    uintptr_t end = 0;
    uint64_t offset = 0;
    bool executable = false;
    const char* path = nullptr;   // points into the map text; empty when anonymous
    size_t pathLength = 0;
};

// The memory map as the kernel lists it, read into a static buffer.
class ProcessMap {
public:
    bool load();
    // Walks the regions in address order; false at the end.
    bool next(size_t& cursor, MemoryRegion& region) const;
    bool find(uintptr_t address, MemoryRegion& region) const;
    const char* text() const { return text_; }
    size_t size() const { return size_; }

private:
    static constexpr size_t kCapacity = 256 * 1024;
    static char text_[kCapacity];
    size_t size_ = 0;
};

} // namespace services
