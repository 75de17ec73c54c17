#include "image/interpolation_kernels.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

float cube(float t) { return t > 0.0f ? t * t * t : 0.0f; }

float bSpline(float x)
{
    if (x > 2.0f || x < -2.0f)
        return 0.0f;
    return (cube(x + 2) - 4 * cube(x + 1) + 6 * cube(x) - 4 * cube(x - 1)) / 6.0f;
}

double sinc(double t) { return t == 0.0 ? 1.0 : std::sin(t) / t; }

float bicubic(float x)
{
    const float a = std::fabs(x);
    if (a < 1)
        return 1 - 2 * x * x + a * a * a;
    if (a < 2)
        return 4 - 8 * a + 5 * x * x - a * a * a;
    return 0;
}

float cubicHalf(float x)
{
    const float a = -0.5f;
    const float t = std::fabs(x);
    if (t < 1)
        return (a + 2) * t * t * t - (a + 3) * x * x + 1;
    if (t < 2)
        return a * t * t * t - 5 * a * x * x + 8 * a * t - 4 * a;
    return 0;
}

float quadratic(float x)
{
    if (x < -1.5f)
        return 0;
    if (x < -0.5f)
        return (x + 1.5f) * (x + 1.5f) / 2;
    if (x < 0.5f)
        return 0.75f - x * x;
    if (x < 1.5f)
        return (x - 1.5f) * (x - 1.5f) / 2;
    return 0;
}

float mitchell(float x)
{
    if (x < -2.0f)
        return 0;
    if (x < -1.0f)
        return 1.7777778f + 3.3333333f * x + 2 * x * x + 0.38888887f * x * x * x;
    if (x < 0.0f)
        return 0.8888889f - 2 * x * x - 1.1666666f * x * x * x;
    if (x < 1.0f)
        return 0.8888889f - 2 * x * x + 1.1666666f * x * x * x;
    if (x < 2.0f)
        return 1.7777778f - 3.3333333f * x + 2 * x * x - 0.38888887f * x * x * x;
    return 0;
}

float catmullRom(float x)
{
    if (x < -2.0f)
        return 0;
    if (x < -1.0f)
        return 0.5f * (x * x * x + 5 * x * x + 8 * x + 4);
    if (x < 0.0f)
        return 0.5f * (-3 * x * x * x - 5 * x * x + 2);
    if (x < 1.0f)
        return 0.5f * (3 * x * x * x - 5 * x * x + 2);
    if (x < 2.0f)
        return 0.5f * (-x * x * x + 5 * x * x - 8 * x + 4);
    return 0;
}

} // namespace

float cxKernel(int method, float x)
{
    const float a = std::fabs(x);
    switch (method) {
    case 3: return bSpline(x);
    case 4: return bicubic(x);
    case 5: return cubicHalf(x);
    case 6: return a < 6.0f ? float(sinc(kPi * x) * sinc(kPi * x / 6.0)) : 0.0f;
    case 7: return x >= -0.5f && x < 0.5f ? 1.0f : 0.0f;
    case 8: return a <= 1.0f ? 2 * a * a * a - 3 * x * x + 1 : 0.0f;
    case 9: return a <= 1.0f ? 0.92f * (2 * a * a * a - 3 * x * x) + 1 : 0.0f;
    case 10: return float(sinc(kPi * x));
    case 11: return float(0.42 + 0.5 * std::cos(kPi * x) + 0.08 * std::cos(2 * kPi * x));
    case 12: return x == 0.0f ? float(kPi / 4) : float(::j1(kPi * x) / (2.0 * x));
    case 13: return std::exp(-2.0f * x * x) * 0.7978846f;
    case 14: return quadratic(x);
    case 15: return mitchell(x);
    case 16: return catmullRom(x);
    case 17: return a <= 1.0f ? float(sinc(kPi * x) * (0.5 + 0.5 * std::cos(kPi * x))) : 0.0f;
    case 18: return a <= 1.0f ? 1.0f - std::fabs(x * x) : 0.0f;
    default: return a < 1.0f ? 1.0f - a : 0.0f;
    }
}

int cxKernelReach(int method)
{
    if (method == 6)
        return 6;
    if (method >= 3 && method <= 18)
        return 2;
    return 1;
}
