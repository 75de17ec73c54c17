// The voice's two-pole resonant filter: y = a0 x + b1 y1 + b2 y2 per channel,
// with the previous two outputs carried from event to event.
#include "engine/voice/voice.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kLanes = 4;   // history: previous outputs of four lanes, then the ones before

} // namespace

void TesselVoice::applyFilter(float* const scratch[2], int channels, int end)
{
    const float a0 = filter[0];
    const float b1 = filter[1];
    const float b2 = filter[2];
    const int start = current.start;
    end = std::min(end, static_cast<int>(current.end));
    const int lanes = std::clamp(channels, 0, 2);
    for (int j = 0; j < lanes && scratch[j]; ++j) {
        float y1 = filterHistory[j];
        float y2 = filterHistory[kLanes + j];
        float* x = scratch[j];
        for (int i = start; i < end; ++i) {
            const float y = a0 * x[i] + b1 * y1 + b2 * y2;
            y2 = y1;
            y1 = y;
            x[i] = y;
        }
        // A history that blew up would keep the voice silent or loud for good.
        if (!std::isfinite(y1) || !std::isfinite(y2))
            y1 = y2 = 0.0f;
        filterHistory[j] = y1;
        filterHistory[kLanes + j] = y2;
    }
}
