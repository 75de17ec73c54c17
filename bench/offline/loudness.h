#pragma once
// Loudness over time of a stereo render (RMS in short windows, in dB) and
// how closely two such curves agree: a check that a song plays the same
// notes at the same times, which the sample-exact output cannot be expected
// to match between two players.

#include <cstddef>
#include <vector>

namespace offline {

// Windows quieter than this count as this loud, so that digital silence and
// a faint tail compare as equals.
constexpr double kSilenceDb = -80.0;

// Windows of 50 ms taken every 10 ms: a stretch can then be aligned with
// the other curve to a fraction of a window, which matters for songs whose
// rows are about as long as a window.
class LoudnessCurve {
public:
    explicit LoudnessCurve(int rate, double windowSeconds = 0.05, double stepSeconds = 0.01);

    // Frames of a render in order; a last partial step is dropped.
    void add(const float* left, const float* right, size_t n);
    // The RMS of each window so far, in dB of full scale; window i ends at
    // (i + 1) steps plus a window less one step.
    const std::vector<double>& decibels() const { return decibels_; }
    double stepSeconds() const { return stepSeconds_; }

private:
    double stepSeconds_;
    size_t stepFrames_;
    size_t stepsPerWindow_;
    size_t filled_ = 0;
    double stepSum_ = 0.0;
    std::vector<double> stepSums_;   // the last stepsPerWindow_ steps, oldest first
    std::vector<double> decibels_;
};

// Pearson correlation of two equally long series; 1 when both are flat
// and equal, 0 when only one of them is flat.
double correlation(const double* a, const double* b, size_t n);

// Both curves are compared over the time they share: how long each song
// plays is a figure of its own, and a few milliseconds of sound past the
// other's end would otherwise outweigh everything else.
struct LoudnessAgreement {
    double whole = 0.0;
    // Stretches of the reference, each compared at its best shift of ours.
    double stretchMean = 0.0;
    // The median stretch: one stretch that parts (a loop the other player
    // ends differently, a lone fill) does not move it.
    double stretchMedian = 0.0;
    double stretchMin = 0.0;
    size_t stretches = 0;
};

// Stretches of `stretchSeconds`; shifts of up to `maxShiftSeconds` either
// way absorb the slow drift of tempo rounding. Both curves have one step.
LoudnessAgreement compareLoudness(const LoudnessCurve& ours, const LoudnessCurve& reference,
                                  double stretchSeconds = 10.0, double maxShiftSeconds = 0.3);

} // namespace offline
