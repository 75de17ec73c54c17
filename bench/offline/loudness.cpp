#include "offline/loudness.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace offline {

LoudnessCurve::LoudnessCurve(int rate, double windowSeconds, double stepSeconds)
    : stepSeconds_(stepSeconds),
      stepFrames_(std::max<size_t>(1, static_cast<size_t>(std::lround(rate * stepSeconds)))),
      stepsPerWindow_(std::max<size_t>(1, static_cast<size_t>(std::lround(windowSeconds / stepSeconds))))
{
}

void LoudnessCurve::add(const float* left, const float* right, size_t n)
{
    for (size_t i = 0; i < n; ++i) {
        stepSum_ += static_cast<double>(left[i]) * left[i] + static_cast<double>(right[i]) * right[i];
        if (++filled_ < stepFrames_)
            continue;
        if (stepSums_.size() == stepsPerWindow_)
            stepSums_.erase(stepSums_.begin());
        stepSums_.push_back(stepSum_);
        filled_ = 0;
        stepSum_ = 0.0;
        if (stepSums_.size() < stepsPerWindow_)
            continue;
        const double sum = std::accumulate(stepSums_.begin(), stepSums_.end(), 0.0);
        const double meanSquare = sum / (2.0 * static_cast<double>(stepFrames_ * stepsPerWindow_));
        decibels_.push_back(meanSquare > 0.0 ? std::max(kSilenceDb, 10.0 * std::log10(meanSquare)) : kSilenceDb);
    }
}

double correlation(const double* a, const double* b, size_t n)
{
    if (n == 0)
        return 0.0;
    double meanA = 0.0, meanB = 0.0;
    for (size_t i = 0; i < n; ++i) {
        meanA += a[i];
        meanB += b[i];
    }
    meanA /= static_cast<double>(n);
    meanB /= static_cast<double>(n);
    double ab = 0.0, aa = 0.0, bb = 0.0;
    for (size_t i = 0; i < n; ++i) {
        ab += (a[i] - meanA) * (b[i] - meanB);
        aa += (a[i] - meanA) * (a[i] - meanA);
        bb += (b[i] - meanB) * (b[i] - meanB);
    }
    // Below a hundredth of a dB of spread a curve is flat.
    const double flat = 1e-4 * static_cast<double>(n);
    if (aa < flat || bb < flat)
        return aa < flat && bb < flat && std::fabs(meanA - meanB) < 1.0 ? 1.0 : 0.0;
    return ab / std::sqrt(aa * bb);
}

LoudnessAgreement compareLoudness(const LoudnessCurve& ours, const LoudnessCurve& reference, double stretchSeconds,
                                  double maxShiftSeconds)
{
    LoudnessAgreement agreement;
    const double* a = ours.decibels().data();
    const double* b = reference.decibels().data();
    const size_t shared = std::min(ours.decibels().size(), reference.decibels().size());
    agreement.whole = correlation(a, b, shared);

    const auto steps = [&](double seconds) {
        return static_cast<size_t>(std::lround(seconds / reference.stepSeconds()));
    };
    const size_t stretch = std::max<size_t>(1, steps(stretchSeconds));
    const size_t maxShift = steps(maxShiftSeconds);
    double sum = 0.0;
    std::vector<double> bests;
    agreement.stretchMin = 1.0;
    for (size_t start = 0; start + stretch <= shared; start += stretch) {
        double best = -1.0;
        const size_t from = start > maxShift ? start - maxShift : 0;
        const size_t to = std::min(start + maxShift, shared - stretch);
        for (size_t at = from; at <= to; ++at)
            best = std::max(best, correlation(a + at, b + start, stretch));
        sum += best;
        bests.push_back(best);
        agreement.stretchMin = std::min(agreement.stretchMin, best);
        ++agreement.stretches;
    }
    if (agreement.stretches == 0) {
        agreement.stretchMean = agreement.stretchMedian = agreement.stretchMin = agreement.whole;
    } else {
        agreement.stretchMean = sum / static_cast<double>(agreement.stretches);
        std::sort(bests.begin(), bests.end());
        const size_t n = bests.size();
        agreement.stretchMedian = n % 2 ? bests[n / 2] : 0.5 * (bests[n / 2 - 1] + bests[n / 2]);
    }
    return agreement;
}

} // namespace offline
