// Cutoff and resonance after the filter envelope, and the resonant filter's
// coefficients for them.
#include "engine/voice/voice.h"
#include "engine/voice/voice_update_tables.h"

#include "model/instrument/instrument.h"

#include <algorithm>

void TesselVoice::updateEffectiveFilter()
{
    const TesselEnvelopeState& e = envelopes[kFilterEnvelope];
    effectiveCutoff = static_cast<uint8_t>(std::clamp<int32_t>(static_cast<int32_t>(cutoff * e.value / 64.0f), 0, 127));
    effectiveResonance =
        static_cast<uint8_t>(std::clamp<int32_t>(static_cast<int32_t>(resonance * e.secondValue / 64.0f), 0, 127));
}

void TesselVoice::updateFilter()
{
    if (effectiveCutoff == lastCutoff && effectiveResonance == lastResonance)
        return;
    lastCutoff = effectiveCutoff;
    lastResonance = effectiveResonance;
    if (effectiveCutoff >= 127) {
        filter[0] = 1.0f;
        filter[1] = 0.0f;
        filter[2] = 0.0f;
        return;
    }
    // A filter mode from a file outside 0..2 would index past the table.
    const int mode = std::clamp<int>(instrument ? instrument->filterRange : 2, 0, kFilterModes - 1);
    const TesselRateTables& t = tesselRateTables();
    const double r = t.resonance[std::min<int>(effectiveResonance, kFilterSteps - 1)];
    const double c = t.cutoff[mode][effectiveCutoff];
    const double limit = std::min((1.0 - r) / c, 2.0);
    const double a0 = 1.0 / ((r - limit) * c + 1.0 + c * c);
    const double b2 = -(a0 * c * c);
    filter[0] = static_cast<float>(a0);
    filter[1] = static_cast<float>(1.0 - a0 - b2);
    filter[2] = static_cast<float>(b2);
}
