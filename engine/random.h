#pragma once
// The engine's own pseudo-random numbers for the instruments' volume and
// panning swings: one generator per engine, so nothing else in the process
// (or another plug-in instance) shifts its sequence.

#include <cstdint>

class TesselRandom {
public:
    static constexpr int32_t kMax = 32767;

    explicit TesselRandom(uint32_t seed = 1) : state_(seed) {}
    void seed(uint32_t s) { state_ = s; }
    // 0..32767.
    int32_t next();

private:
    uint32_t state_;
};

// a x b / c rounded to the nearest integer (halves away from zero); -1 when c is 0.
int32_t mulDiv(int32_t a, int32_t b, int32_t c);
