#pragma once
// Processor probing behind the vector primitives' level choice. Internal to
// the engine, its tests and benchmarks.

#include <cstdint>

namespace vec {

enum Feature : uint32_t {
    kSse2 = 1u << 0,
    kSsse3 = 1u << 1,
    kMovbe = 1u << 2,
    kSse41 = 1u << 3,
    kAvx = 1u << 4,
    kOsAvx = 1u << 5,   // cpuid says OSXSAVE and AVX, and xgetbv shows the AVX state enabled
    kFma = 1u << 6,
    kAvx2 = 1u << 7,
    kBmi1 = 1u << 8,
    kBmi2 = 1u << 9,
};

struct CpuFeatures {
    bool available = false;   // cpuid present
    bool intel = false;       // vendor "GenuineIntel"
    uint32_t bits = 0;        // Feature bits
};

// Probed on first use and cached; every caller computes the same value.
const CpuFeatures& cpuFeatures();

struct LevelChoice {
    int level;
    int status;
};
LevelChoice levelForFeatures(const CpuFeatures& features);

// True when this processor can run the variants of the level.
bool levelSupported(int level);

// Tests and benchmarks: forces a level; returns the previous one.
int forceLevel(int level);

// Size above which the SSE2 copy and zero variants stream, from cpuid leaf 2
// (0 = unknown, never stream). Cached.
int32_t descriptorCacheSize();
// Maps one leaf-2 descriptor byte to a last-level cache size (0 = none).
int32_t cacheSizeForDescriptor(uint8_t descriptor);

// Tests: replaces both cache sizes (bytes > 0), or restores the probed ones (0).
void overrideCacheSize(int32_t bytes);
int32_t streamingCacheSize();   // vecCacheSize's value, or 0 when unknown

} // namespace vec
