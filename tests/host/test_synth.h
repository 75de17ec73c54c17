#pragma once
// What the tests and the test synth plug-in agree on. The synth exports only
// "main"; tests reach its records through effVendorSpecific.

#include "host/vst2.h"

#include <cstdint>

namespace testsynth {

constexpr int32_t kProbe = 0x51625072;        // ptr: a Probe to fill
constexpr int32_t kSetSongFrames = 0x51625366; // value: the song's length in frames
constexpr int32_t kDefaultSongFrames = 10000;

struct Probe {
    VstIntPtr versionDuringEntry;
    char productDuringEntry[64];
    int32_t opened;
    int32_t closed;
    int32_t blockSize;
    float sampleRate;
    int32_t processCalls;
    int32_t largestProcess;
    int32_t playing;
};

// The song: bus 0 a ramp over 1024 frames, bus 1 its negation, the other
// buses 0.25; exact in float and after the export's 2^30 scaling. When no song
// plays, bus b holds (b + 1) / 8.
inline float songSample(int bus, int64_t frame)
{
    const float ramp = static_cast<float>(frame % 1024) / 1024.0f - 0.5f;
    return bus == 0 ? ramp : bus == 1 ? -ramp : 0.25f;
}

inline float idleSample(int bus) { return static_cast<float>(bus + 1) / 8.0f; }

// Test side: what the synth has seen so far.
inline Probe probe(AEffect* effect)
{
    Probe p{};
    effect->dispatcher(effect, effVendorSpecific, kProbe, 0, &p, 0.0f);
    return p;
}

} // namespace testsynth
