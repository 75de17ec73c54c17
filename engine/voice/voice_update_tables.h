#pragma once
// Lookup tables of the voice update that follow the output rate: note
// steps, filter cutoff constants, and the resonance damping.

#include <cstdint>

constexpr int kFilterModes = 3;
constexpr int kFilterSteps = 128;    // cutoff and resonance 0..127

struct TesselRateTables {
    double outputRate = 0.0;
    float note[256];                          // 2^((i - 120)/12) x 44100 / rate
    float cutoff[kFilterModes][kFilterSteps]; // rate / (691.15 x 2^(c / d + 0.25))
    float resonance[kFilterSteps];            // 10^(-r x 24 / 2560)
};

// Filled for 44100 Hz until the engine gives its rate.
const TesselRateTables& tesselRateTables();
// Rebuild when the output rate changes; caller holds the song lock.
void fillRateTables(double outputRate);

// The factor 2^(r / 768) from the fine pitch tables (r in 1/768 octave).
float pitchFactor768(int32_t r);
// The factor 2^(g / 192) for g limited to -255..255.
float pitchFactor192(int32_t g);
