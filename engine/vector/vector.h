#pragma once
// Float array primitives of the mixer and the plug-in's output, in variants
// for seven processor levels. The level is chosen once by vecSelectCpuLevel;
// until then every call takes the level 0 variant. All levels give the same
// results. Any thread; none allocates or locks.

namespace vec {
constexpr int kOk = 0;
constexpr int kBadLength = -6;     // length 0 or negative
constexpr int kNullPointer = -8;   // tested before the length
constexpr int kNotIntel = 20;
constexpr int kNoFeatures = 36;    // no cpuid, or no SSE2, or not an Intel processor (cache size)
constexpr int kNoCacheSize = 37;
constexpr int kLevels = 7;
} // namespace vec

// dst[i] = a[i] + b[i]; dst may be a or b.
int vecAdd(const float* a, const float* b, float* dst, int len);
// *result = the largest of src[0..len-1].
int vecMax(const float* src, int len, float* result);
// Source and destination must not overlap partially.
int vecCopy(const float* src, float* dst, int len);
int vecZero(float* dst, int len);

// Engine construction (before any audio block): chooses the level for this
// processor. 0 on an Intel processor, vec::kNotIntel on others (the level is
// chosen all the same), vec::kNoFeatures without cpuid or SSE2.
int vecSelectCpuLevel();
int vecCpuLevel();

// The largest data cache in bytes, computed once.
int vecCacheSize(int* bytes);
