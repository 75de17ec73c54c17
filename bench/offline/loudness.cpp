#include "offline/loudness.h"

#include <algorithm>
#include <cmath>

namespace offline {

LoudnessCurve::LoudnessCurve(int rate, double windowSeconds)
    : windowFrames_(std::max<size_t>(1, static_cast<size_t>(std::lround(rate * windowSeconds))))
{
}

void LoudnessCurve::add(const float* left, const float* right, size_t n)
{
    for (size_t i = 0; i < n; ++i) {
        sumOfSquares_ += static_cast<double>(left[i]) * left[i] + static_cast<double>(right[i]) * right[i];
        if (++filled_ < windowFrames_)
            continue;
        const double meanSquare = sumOfSquares_ / (2.0 * static_cast<double>(windowFrames_));
        decibels_.push_back(meanSquare > 0.0 ? std::max(kSilenceDb, 10.0 * std::log10(meanSquare)) : kSilenceDb);
        filled_ = 0;
        sumOfSquares_ = 0.0;
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

LoudnessAgreement compareLoudness(const std::vector<double>& ours, const std::vector<double>& reference,
                                  size_t stretchWindows, size_t maxShift)
{
    LoudnessAgreement agreement;
    const size_t shared = std::min(ours.size(), reference.size());
    const double* a = ours.data();
    const double* b = reference.data();
    agreement.whole = correlation(a, b, shared);

    double sum = 0.0;
    agreement.stretchMin = 1.0;
    for (size_t start = 0; start + stretchWindows <= shared; start += stretchWindows) {
        double best = -1.0;
        const size_t from = start > maxShift ? start - maxShift : 0;
        const size_t to = std::min(start + maxShift, shared - stretchWindows);
        for (size_t at = from; at <= to; ++at)
            best = std::max(best, correlation(a + at, b + start, stretchWindows));
        sum += best;
        agreement.stretchMin = std::min(agreement.stretchMin, best);
        ++agreement.stretches;
    }
    if (agreement.stretches == 0) {
        agreement.stretchMean = agreement.stretchMin = agreement.whole;
    } else {
        agreement.stretchMean = sum / static_cast<double>(agreement.stretches);
    }
    return agreement;
}

} // namespace offline
