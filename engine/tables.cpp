#include "engine/tables.h"

#include <cmath>
#include <mutex>

TesselTables tesselTableStore;

namespace {

// The constants the tables were always built with (not the exact values).
constexpr double kPi = 3.1415926538;
constexpr double kTwoPi = 6.2831853076;
constexpr double kRoot2 = 1.414213562;

int8_t truncByte(double v)
{
    return static_cast<int8_t>(static_cast<int>(v));   // toward zero
}

uint8_t truncUnsigned(double v)
{
    return static_cast<uint8_t>(static_cast<int>(v));
}

} // namespace

namespace {

// The angle of grid point (m, n) as the rotation measures it from the top
// centre, with its distance from the centre.
struct GridAngle {
    double r;
    double a;
};

GridAngle gridAngle(int m, int n)
{
    const int u = m - 32;
    const int v = n - 32;
    const double r = std::sqrt(static_cast<double>(u * u + v * v));
    double a = std::asin(std::fabs(static_cast<double>(u)) / r);
    if (u >= 0) {
        if (n >= 32)
            a = kPi - a;
    } else {
        a = n < 32 ? kTwoPi - a : a + kPi;
    }
    return {r, a};
}

// The point at (e, f), moved onto the square's border along its ray when it
// lies outside. r is at most 32 root 2, so the other coordinate of a point
// moved onto the border stays inside 0..64.
void clampToSquare(double e, double f, double& x, double& y)
{
    x = e;
    y = f;
    if (e > 64.0) {
        x = 64.0;
        y = 32.0 + 32.0 * (f - 32.0) / (e - 32.0);
    } else if (e < 0.0) {
        x = 0.0;
        y = 32.0 - 32.0 * (f - 32.0) / (e - 32.0);
    } else if (f > 64.0) {
        y = 64.0;
        x = 32.0 + 32.0 * (e - 32.0) / (f - 32.0);
    } else if (f < 0.0) {
        y = 0.0;
        x = 32.0 - 32.0 * (e - 32.0) / (f - 32.0);
    }
}

// Within this of a whole number a coordinate may truncate either way
// depending on rounding: the fast fill asks the exact formula there.
constexpr double kNearWhole = 1e-7;

bool nearWhole(double v)
{
    // |v| stays far below 2^63 here; the conversion is one instruction where
    // rounding functions are library calls.
    const double part = std::fabs(v - static_cast<double>(static_cast<int64_t>(v)));
    return part < kNearWhole || part > 1.0 - kNearWhole;
}

// The rotation grids first..end-1 by the angle sum: sin(a + b) from the
// sines and cosines of a and b, taken once each, instead of four library
// calls a point. The result differs from the exact formula by far less than
// kNearWhole, so only coordinates that close to a whole number can truncate
// differently, and those are taken from the exact formula.
void fillRotations(TesselTables& t, int first, int end)
{
    constexpr int kGrid = TesselTables::kGrid;
    static GridAngle angle[kGrid][kGrid];
    static double sinA[kGrid][kGrid];
    static double cosA[kGrid][kGrid];
    for (int m = 0; m < kGrid; ++m)
        for (int n = 0; n < kGrid; ++n) {
            angle[m][n] = m == 32 && n == 32 ? GridAngle{0.0, 0.0} : gridAngle(m, n);
            sinA[m][n] = std::sin(angle[m][n].a);
            cosA[m][n] = std::cos(angle[m][n].a);
        }
    for (int k = first; k < end; ++k) {
        const double b = k * kPi / 128.0;
        const double sinB = std::sin(b);
        const double cosB = std::cos(b);
        for (int m = 0; m < kGrid; ++m)
            for (int n = 0; n < kGrid; ++n) {
                if (m == 32 && n == 32) {
                    t.rotation[k][m][n] = {32, 32};
                    continue;
                }
                const double r = angle[m][n].r;
                const double e = 32.0 + r * (sinA[m][n] * cosB + cosA[m][n] * sinB);
                const double f = 32.0 - r * (cosA[m][n] * cosB - sinA[m][n] * sinB);
                double x;
                double y;
                clampToSquare(e, f, x, y);
                if (nearWhole(e) || nearWhole(f) || nearWhole(x) || nearWhole(y))
                    t.rotation[k][m][n] = rotatePanPoint(k, m, n);
                else
                    t.rotation[k][m][n] = {truncUnsigned(x), truncUnsigned(y)};
            }
    }
}

void fillOnce()
{
    TesselTables& t = tesselTableStore;
    for (int i = 0; i < 256; ++i) {
        const double p = std::pow(2.0, i / 192.0);
        t.finePitch[i] = static_cast<float>(p);
        t.finePitchInverse[i] = static_cast<float>(1.0 / p);
    }
    for (int i = 0; i < 16; ++i) {
        const double p = std::pow(2.0, i / 768.0);
        t.finestPitch[i] = static_cast<float>(p);
        t.finestPitchInverse[i] = static_cast<float>(1.0 / p);
    }
    // Doubling a 32-bit integer wraps to -2^31 at entry 31 and the table ends
    // on 1; both are stored as such rather than by overflowing.
    for (int i = 0; i <= 30; ++i)
        t.powersOfTwo[i] = std::ldexp(1.0, i);
    t.powersOfTwo[31] = -2147483648.0;
    t.powersOfTwo[32] = 1.0;
    for (int i = 0; i <= 32; ++i)
        t.powersOfTwoInverse[i] = static_cast<float>(1.0 / t.powersOfTwo[i]);

    for (int i = 0; i <= 64; ++i) {
        const double angle = i * kPi / 128.0;
        t.quarterSine[i] = truncByte(64.0 * std::sin(angle));
        t.quarterCosine[i] = truncByte(64.0 * std::cos(angle));
        t.quarterSineR2[i] = truncByte(64.0 * kRoot2 * std::sin(angle));
        t.quarterCosineR2[i] = truncByte(64.0 * kRoot2 * std::cos(angle));
    }
    // keep = 1 - take, so that keep and take rounded to floats are the
    // ramp's own factors at the first frame and the gain tends to its target.
    const double keep = 1.0 - static_cast<double>(kRampTake);
    double power = 1.0;
    for (int k = 0; k < TesselTables::kRampSteps; ++k) {
        power *= keep;
        t.rampKeep[k] = static_cast<float>(power);
        t.rampTake[k] = static_cast<float>(1.0 - power);
    }

    // The unturned grid serves every voice without a rotation; turned ones
    // are computed a point at a time (see rotatedPanX).
    fillRotations(t, 0, 1);
}

void fillTurnedGrids()
{
    fillRotations(tesselTableStore, 1, TesselTables::kRotations);
}

std::once_flag filled;
std::once_flag turnedFilled;

} // namespace

TesselRotationPoint rotatePanPoint(int k, int m, int n)
{
    if (m == 32 && n == 32)
        return {32, 32};   // the centre has no angle
    const GridAngle g = gridAngle(m, n);
    const double b = g.a + k * kPi / 128.0;
    double x;
    double y;
    clampToSquare(32.0 + g.r * std::sin(b), 32.0 - g.r * std::cos(b), x, y);
    return {truncUnsigned(x), truncUnsigned(y)};
}

void fillTesselPlaybackTables()
{
    // The same values every time: once per process, and never rewritten
    // under an audio thread that reads them.
    std::call_once(filled, fillOnce);
}

void fillTesselTables()
{
    fillTesselPlaybackTables();
    std::call_once(turnedFilled, fillTurnedGrids);
}

int rotatedPanX(int k, int m, int n)
{
    return k == 0 ? tesselTableStore.rotation[0][m][n].x : rotatePanPoint(k, m, n).x;
}
