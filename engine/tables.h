#pragma once
// Process-wide lookup tables of row processing and the mixer: pitch steps,
// powers of two, quarter waves, the pan rotation grids and the powers of the
// gain ramp. Every engine constructor asks for them before any block; they
// are filled once per process (always with the same values).

#include <cstdint>

struct TesselRotationPoint {
    uint8_t x;
    uint8_t y;
};

// The gain ramp's one-pole smoother: current = 0.99 x current + take x target a frame.
constexpr float kRampTake = 0.01f;

// The first step of the ramp tables at which keep rounds to 0 and take to 1:
// from then on a ramp plays exactly at its target. Computed as the tables
// are filled, in the same double arithmetic.
constexpr int rampSettledStep()
{
    const double keep = 1.0 - static_cast<double>(kRampTake);
    double power = 1.0;
    for (int k = 0;; ++k) {
        power *= keep;
        if (static_cast<float>(power) == 0.0f && static_cast<float>(1.0 - power) == 1.0f)
            return k;
    }
}
constexpr int kRampSettledStep = rampSettledStep();

struct TesselTables {
    static constexpr int kGrid = 65;       // pan positions 0..64 on each axis
    static constexpr int kRotations = 256;
    static constexpr int kRampSteps = 16385;   // frames of a ramp held apart; later ones take the last
    static_assert(kRampSettledStep < kRampSteps);

    float finePitch[256];        // 2^(i/192)
    float finePitchInverse[256];
    float finestPitch[16];       // 2^(i/768)
    float finestPitchInverse[16];
    double powersOfTwo[33];      // 2^i; entry 31 keeps the integer's wrap, entry 32 is 1
    float powersOfTwoInverse[33];
    int8_t quarterSine[65];      // trunc(64 sin(i PI / 128))
    int8_t quarterCosine[65];
    int8_t quarterSineR2[65];    // the same times root 2
    int8_t quarterCosineR2[65];
    // [k][m][n]: grid point (m, n) turned by k PI / 128 and kept inside the square.
    TesselRotationPoint rotation[kRotations][kGrid][kGrid];
    // The gain ramp k + 1 frames on, in closed form:
    // current = start x rampKeep[k] + target x rampTake[k], with
    // rampKeep[k] = keep^(k + 1) and rampTake[k] = 1 - keep^(k + 1).
    float rampKeep[kRampSteps];
    float rampTake[kRampSteps];
};

// The process's tables (filled by fillTesselTables).
extern TesselTables tesselTableStore;
inline TesselTables& tesselTables()
{
    return tesselTableStore;
}
// Every table, each rotation grid with it.
void fillTesselTables();
// What playback reads: every table but the turned rotation grids (k > 0),
// 2 MB that a plug-in would otherwise write at every start-up for an effect
// few songs use; rotatedPanX computes their points instead.
void fillTesselPlaybackTables();
// rotation[k][m][n].x, from the unturned grid or, turned, from the formula
// the grids hold (the same value).
int rotatedPanX(int k, int m, int n);

// One rotated grid point, as the tables hold it.
TesselRotationPoint rotatePanPoint(int k, int m, int n);
