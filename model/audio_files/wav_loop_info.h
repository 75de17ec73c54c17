#pragma once
// The "smpl" chunk of a WAV file as read: the fixed part in file order, then
// its loop records.

#include <cstdint>
#include <vector>

class TesselSample;

struct TesselWavLoop {
    uint32_t identifier = 0;
    uint32_t type = 0;       // 0 forward, 1 alternating, others no loop
    uint32_t start = 0;      // sample frames, as every other program writes them
    uint32_t end = 0;
    uint32_t fraction = 0;
    uint32_t playCount = 0;
};

struct TesselWavLoopInfo {
    static constexpr uint32_t kFixedSize = 36;
    static constexpr uint32_t kLoopSize = 24;

    uint32_t manufacturer = 0;
    uint32_t product = 0;
    uint32_t samplePeriod = 0;      // nanoseconds per sample; 0 = not given
    uint32_t midiUnityNote = 60;
    uint32_t pitchFraction = 0;
    uint32_t smpteFormat = 0;
    uint32_t smpteOffset = 0;
    uint32_t loopCount = 0;
    uint32_t samplerDataSize = 0;   // bytes after the loop records
    std::vector<TesselWavLoop> loops;

    // Gives a freshly read slot the chunk's rate (when the sample period
    // differs by more than 9 Hz), base note (below 120) and first loop
    // (type 0 forward, 1 ping-pong, others none; points cut to the length).
    void applyTo(TesselSample& sample) const;
};
