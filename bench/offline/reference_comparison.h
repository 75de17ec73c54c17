#pragma once
// One song file played by the engine and by libopenmpt, and how closely the
// two agree: their lengths and their loudness over time.

#include "offline/loudness.h"
#include "offline/offline_render.h"

#include <string>

namespace offline {

struct ReferenceComparison {
    explicit ReferenceComparison(int rate) : oursCurve(rate), referenceCurve(rate) {}

    RenderResult ours, reference;
    LoudnessCurve oursCurve, referenceCurve;
    LoudnessAgreement agreement;

    bool rendered() const { return ours.rendered && reference.rendered; }
    // Our length over the reference's; 0 when the reference is empty.
    double lengthRatio() const
    {
        return reference.frames ? static_cast<double>(ours.frames) / static_cast<double>(reference.frames) : 0.0;
    }
};

ReferenceComparison compareWithReference(const std::string& path, const RenderSettings& settings);

} // namespace offline
