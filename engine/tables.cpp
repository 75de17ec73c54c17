#include "engine/tables.h"

#include <cmath>

namespace {

// The constants the tables were always built with (not the exact values).
constexpr double kPi = 3.1415926538;
constexpr double kTwoPi = 6.2831853076;
constexpr double kRoot2 = 1.414213562;

TesselTables tables;

int8_t truncByte(double v)
{
    return static_cast<int8_t>(static_cast<int>(v));   // toward zero
}

uint8_t truncUnsigned(double v)
{
    return static_cast<uint8_t>(static_cast<int>(v));
}

} // namespace

TesselTables& tesselTables()
{
    return tables;
}

TesselRotationPoint rotatePanPoint(int k, int m, int n)
{
    const int u = m - 32;
    const int v = n - 32;
    if (u == 0 && v == 0)
        return {32, 32};   // the centre has no angle
    const double r = std::sqrt(static_cast<double>(u * u + v * v));
    double a = std::asin(std::fabs(static_cast<double>(u)) / r);
    if (u >= 0) {
        if (n >= 32)
            a = kPi - a;
    } else {
        a = n < 32 ? kTwoPi - a : a + kPi;
    }
    const double b = a + k * kPi / 128.0;
    const double e = 32.0 + r * std::sin(b);
    const double f = 32.0 - r * std::cos(b);
    // r is at most 32 root 2, so the other coordinate of a point moved onto
    // the border along its ray stays inside 0..64.
    double x = e;
    double y = f;
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
    return {truncUnsigned(x), truncUnsigned(y)};
}

void fillTesselTables()
{
    TesselTables& t = tables;
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

    for (int k = 0; k < TesselTables::kRotations; ++k)
        for (int m = 0; m < TesselTables::kGrid; ++m)
            for (int n = 0; n < TesselTables::kGrid; ++n)
                t.rotation[k][m][n] = rotatePanPoint(k, m, n);
}
