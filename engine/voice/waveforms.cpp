#include "engine/voice/waveforms.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

struct WaveformTables {
    int8_t values[kWaveforms][kWaveformSteps];

    WaveformTables()
    {
        for (int i = 0; i < kWaveformSteps; ++i) {
            values[0][i] = static_cast<int8_t>(std::lround(64.0 * std::sin(2.0 * std::numbers::pi * i / 256.0)));
            values[1][i] = static_cast<int8_t>(i < 128 ? 64 : -64);
            values[3][i] = static_cast<int8_t>(i <= 128 ? 64 - i : i - 192);
            int ramp = 0;
            if (i <= 190)
                ramp = 64 - (i + 1) / 2;
            else if (i == 191)
                ramp = -64;
            else if (i <= 254)
                ramp = 64 - (i + 2) / 2;
            values[2][i] = static_cast<int8_t>(ramp);
        }
        // The sine has always carried this one odd value; songs were tuned by ear to it.
        values[0][137] = -4;
    }
};

const WaveformTables& tables()
{
    static const WaveformTables t;
    return t;
}

} // namespace

int8_t waveformValue(int32_t waveform, uint8_t position)
{
    const int32_t w = std::clamp<int32_t>(waveform, 0, kWaveforms - 1);
    return tables().values[w][position];
}
