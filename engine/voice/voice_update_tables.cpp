#include "engine/voice/voice_update_tables.h"

#include "engine/tables.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr double kDefaultRate = 44100.0;
constexpr double kCutoffBase = 691.150390625;
constexpr int kCutoffDivisor[kFilterModes] = {24, 20, 17};

TesselRateTables& table()
{
    static TesselRateTables t{};
    return t;
}

struct InitialFill {
    InitialFill() { fillRateTables(kDefaultRate); }
} initialFill;

} // namespace

const TesselRateTables& tesselRateTables()
{
    return table();
}

void fillRateTables(double outputRate)
{
    if (!(outputRate > 0.0))
        outputRate = kDefaultRate;
    TesselRateTables& t = table();
    t.outputRate = outputRate;
    for (int i = 0; i < 256; ++i)
        t.note[i] = static_cast<float>(std::pow(2.0, (i - 120) / 12.0) * kDefaultRate / outputRate);
    for (int mode = 0; mode < kFilterModes; ++mode)
        for (int c = 0; c < kFilterSteps; ++c)
            t.cutoff[mode][c] = static_cast<float>(
                outputRate / (kCutoffBase * std::pow(2.0, static_cast<double>(c) / kCutoffDivisor[mode] + 0.25)));
    for (int r = 0; r < kFilterSteps; ++r)
        t.resonance[r] = static_cast<float>(std::exp(-0.0215867355465889 * r));
}

float pitchFactor768(int32_t r)
{
    const TesselTables& t = tesselTables();
    const int32_t m = std::min<int32_t>(std::abs(r), 255 * 4 + 3);
    if (r >= 0)
        return t.finePitch[m / 4] * t.finestPitch[m % 4];
    return t.finePitchInverse[m / 4] * t.finestPitchInverse[m % 4];
}

float pitchFactor192(int32_t g)
{
    const TesselTables& t = tesselTables();
    const int32_t m = std::min<int32_t>(std::abs(g), 255);
    return g >= 0 ? t.finePitch[m] : t.finePitchInverse[m];
}
