#include "services/process_memory.h"

#include <fcntl.h>
#include <sys/uio.h>
#include <unistd.h>

namespace services {

char ProcessMap::text_[ProcessMap::kCapacity];

bool readProcessMemory(uintptr_t address, void* target, size_t bytes)
{
    // The kernel checks the source pages, so an unmapped address fails with
    // EFAULT instead of faulting inside the handler.
    struct iovec local = {target, bytes};
    struct iovec remote = {reinterpret_cast<void*>(address), bytes};
    return process_vm_readv(getpid(), &local, 1, &remote, 1, 0) == static_cast<ssize_t>(bytes);
}

bool ProcessMap::load()
{
    size_ = 0;
    const int fd = open("/proc/self/maps", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    for (;;) {
        const ssize_t n = read(fd, text_ + size_, kCapacity - 1 - size_);
        if (n <= 0)
            break;
        size_ += static_cast<size_t>(n);
    }
    close(fd);
    text_[size_] = '\0';
    return size_ > 0;
}

namespace {

uint64_t parseHex(const char*& p, const char* end)
{
    uint64_t value = 0;
    for (; p < end; ++p) {
        const char c = *p;
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else break;
        value = value * 16 + static_cast<uint64_t>(digit);
    }
    return value;
}

void skipField(const char*& p, const char* end)
{
    while (p < end && *p != ' ') ++p;
    while (p < end && *p == ' ') ++p;
}

} // namespace

bool ProcessMap::next(size_t& cursor, MemoryRegion& region) const
{
    if (cursor >= size_)
        return false;
    const char* p = text_ + cursor;
    const char* end = text_ + size_;
    const char* lineEnd = p;
    while (lineEnd < end && *lineEnd != '\n') ++lineEnd;
    cursor = static_cast<size_t>(lineEnd - text_) + 1;

    region = MemoryRegion{};
    region.start = parseHex(p, lineEnd);
    if (p < lineEnd && *p == '-') ++p;
    region.end = parseHex(p, lineEnd);
    while (p < lineEnd && *p == ' ') ++p;
    region.executable = (lineEnd - p) > 2 && p[2] == 'x';
    skipField(p, lineEnd);                 // permissions
    region.offset = parseHex(p, lineEnd);
    skipField(p, lineEnd);                 // offset
    skipField(p, lineEnd);                 // device
    skipField(p, lineEnd);                 // inode
    region.path = p;
    region.pathLength = static_cast<size_t>(lineEnd - p);
    return true;
}

bool ProcessMap::find(uintptr_t address, MemoryRegion& region) const
{
    size_t cursor = 0;
    while (next(cursor, region))
        if (address >= region.start && address < region.end)
            return true;
    return false;
}

} // namespace services
