#include "engine/vector/vector.h"
#include "engine/vector/vector_cpu.h"
#include "engine/vector/vector_kernels.h"

#include <atomic>
#include <cpuid.h>
#include <cstring>

namespace vec {

namespace {

uint64_t readXcr0()
{
    uint32_t lo = 0;
    uint32_t hi = 0;
    asm volatile("xgetbv" : "=a"(lo), "=d"(hi) : "c"(0));
    return (static_cast<uint64_t>(hi) << 32) | lo;
}

CpuFeatures probe()
{
    CpuFeatures f;
    unsigned maxLeaf = 0;
    unsigned ebx = 0;
    unsigned ecx = 0;
    unsigned edx = 0;
    // __get_cpuid_max toggles the flags' ID bit first where that matters (32-bit).
    maxLeaf = __get_cpuid_max(0, &ebx);
    if (maxLeaf == 0)
        return f;
    f.available = true;
    unsigned eax = 0;
    __cpuid(0, eax, ebx, ecx, edx);
    char vendor[13] = {};
    std::memcpy(vendor, &ebx, 4);
    std::memcpy(vendor + 4, &edx, 4);
    std::memcpy(vendor + 8, &ecx, 4);
    f.intel = std::strcmp(vendor, "GenuineIntel") == 0;

    __cpuid(1, eax, ebx, ecx, edx);
    if (edx & (1u << 26))
        f.bits |= kSse2;
    if (ecx & (1u << 9))
        f.bits |= kSsse3;
    if (ecx & (1u << 22))
        f.bits |= kMovbe;
    if (ecx & (1u << 19))
        f.bits |= kSse41;
    if (ecx & (1u << 28))
        f.bits |= kAvx;
    if (ecx & (1u << 12))
        f.bits |= kFma;
    const unsigned osxsaveAndAvx = (1u << 27) | (1u << 28);
    if ((ecx & osxsaveAndAvx) == osxsaveAndAvx && (readXcr0() & 6) == 6)
        f.bits |= kOsAvx;
    if (maxLeaf >= 7) {
        __cpuid_count(7, 0, eax, ebx, ecx, edx);
        if (ebx & (1u << 5))
            f.bits |= kAvx2;
        if (ebx & (1u << 3))
            f.bits |= kBmi1;
        if (ebx & (1u << 8))
            f.bits |= kBmi2;
    }
    return f;
}

// Last-level cache descriptors of cpuid leaf 2, 512 KB and above.
struct Descriptor {
    uint8_t code;
    int32_t kilobytes;
};
constexpr Descriptor kDescriptors[] = {
    {0x22, 512},   {0x23, 1024},  {0x24, 1024},  {0x25, 2048},  {0x29, 4096},  {0x43, 512},
    {0x44, 1024},  {0x45, 2048},  {0x46, 4096},  {0x47, 8192},  {0x48, 3072},  {0x49, 4096},
    {0x4A, 6144},  {0x4B, 8192},  {0x4C, 12288}, {0x4D, 16384}, {0x4E, 6144},  {0x78, 1024},
    {0x7C, 1024},  {0x7D, 2048},  {0x7F, 512},   {0x80, 512},   {0x83, 512},   {0x84, 1024},
    {0x85, 2048},  {0x86, 512},   {0x87, 1024},  {0xD0, 512},   {0xD1, 1024},  {0xD2, 2048},
    {0xD6, 1024},  {0xD7, 2048},  {0xD8, 4096},  {0xDC, 1536},  {0xDD, 3072},  {0xDE, 6144},
    {0xE2, 2048},  {0xE3, 4096},  {0xE4, 8192},  {0xEA, 12288}, {0xEB, 18432}, {0xEC, 24576},
};

int32_t probeDescriptorCache()
{
    const CpuFeatures& f = cpuFeatures();
    if (!f.available || !f.intel || __get_cpuid_max(0, nullptr) < 2)
        return 0;
    unsigned regs[4] = {};
    __cpuid(2, regs[0], regs[1], regs[2], regs[3]);
    if ((regs[0] & 0xFF) != 1)
        return 0;
    regs[0] &= ~0xFFu;   // the low byte is the repeat count, not a descriptor
    for (unsigned r : regs) {
        if (r & 0x80000000u)
            continue;
        for (int byte = 0; byte < 4; ++byte)
            if (int32_t size = cacheSizeForDescriptor(static_cast<uint8_t>(r >> (8 * byte))))
                return size;
    }
    return 0;
}

// 0 success, kNoFeatures, kNoCacheSize.
int probeLargestCache(int32_t* bytes)
{
    *bytes = 0;
    const CpuFeatures& f = cpuFeatures();
    if (!f.available || !f.intel)
        return kNoFeatures;
    const unsigned maxLeaf = __get_cpuid_max(0, nullptr);
    if (maxLeaf > 3) {
        int64_t largest = 0;
        for (unsigned sub = 0; sub < 32; ++sub) {
            unsigned eax = 0;
            unsigned ebx = 0;
            unsigned ecx = 0;
            unsigned edx = 0;
            __cpuid_count(4, sub, eax, ebx, ecx, edx);
            const unsigned type = eax & 0x1F;
            if (type == 0)
                break;
            if (type == 2)
                continue;
            const int64_t ways = ((ebx >> 22) & 0x3FF) + 1;
            const int64_t partitions = ((ebx >> 12) & 0x3FF) + 1;
            const int64_t line = (ebx & 0xFFF) + 1;
            const int64_t sets = static_cast<int64_t>(ecx) + 1;
            const int64_t size = ways * partitions * line * sets;
            if (size > largest)
                largest = size;
        }
        if (largest <= 0)
            return kNoCacheSize;
        *bytes = largest > INT32_MAX ? INT32_MAX : static_cast<int32_t>(largest);
        return kOk;
    }
    if (maxLeaf < 2)
        return kNoFeatures;
    *bytes = probeDescriptorCache();
    return *bytes ? kOk : kNoCacheSize;
}

struct CacheProbe {
    int status;
    int32_t bytes;
};

const CacheProbe& largestCache()
{
    static const CacheProbe probed = [] {
        CacheProbe p{};
        p.status = probeLargestCache(&p.bytes);
        return p;
    }();
    return probed;
}

std::atomic<int32_t> cacheOverride{0};

} // namespace

std::atomic<int> currentLevel{0};

const CpuFeatures& cpuFeatures()
{
    static const CpuFeatures features = probe();
    return features;
}

LevelChoice levelForFeatures(const CpuFeatures& f)
{
    if (!f.available)
        return {0, kNoFeatures};
    const uint32_t b = f.bits;
    int level = 0;
    if ((b & kAvx) && (b & kOsAvx)) {
        const uint32_t set = kFma | kAvx2 | kBmi1 | kBmi2;
        level = (b & set) == set ? 6 : 5;
    } else if (b & kSse41) {
        level = 4;
    } else if (b & kSsse3) {
        level = (b & kMovbe) ? 3 : 2;
    } else if (b & kSse2) {
        level = 1;
    }
    if (!(b & kSse2))
        return {level, kNoFeatures};
    return {level, f.intel ? kOk : kNotIntel};
}

bool levelSupported(int level)
{
    if (level < 0 || level >= kLevels)
        return false;
    return level <= levelForFeatures(cpuFeatures()).level;
}

int forceLevel(int level)
{
    if (level < 0)
        level = 0;
    if (level >= kLevels)
        level = kLevels - 1;
    return currentLevel.exchange(level);
}

int32_t cacheSizeForDescriptor(uint8_t descriptor)
{
    for (const Descriptor& d : kDescriptors)
        if (d.code == descriptor)
            return d.kilobytes * 1024;
    return 0;
}

int32_t descriptorCacheSize()
{
    if (int32_t forced = cacheOverride.load(std::memory_order_relaxed))
        return forced;
    static const int32_t size = probeDescriptorCache();
    return size;
}

int32_t streamingCacheSize()
{
    if (int32_t forced = cacheOverride.load(std::memory_order_relaxed))
        return forced;
    return largestCache().status == kOk ? largestCache().bytes : 0;
}

void overrideCacheSize(int32_t bytes)
{
    cacheOverride.store(bytes > 0 ? bytes : 0);
}

} // namespace vec

int vecSelectCpuLevel()
{
    const vec::LevelChoice choice = vec::levelForFeatures(vec::cpuFeatures());
    vec::currentLevel.store(choice.level);
    return choice.status;
}

int vecCpuLevel()
{
    return vec::currentLevel.load(std::memory_order_relaxed);
}

int vecCacheSize(int* bytes)
{
    if (!bytes)
        return vec::kNullPointer;
    const auto& probed = vec::largestCache();
    *bytes = probed.bytes;
    return probed.status;
}
