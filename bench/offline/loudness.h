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

class LoudnessCurve {
public:
    LoudnessCurve(int rate, double windowSeconds = 0.05);

    // Frames of a render in order; a last partial window is dropped.
    void add(const float* left, const float* right, size_t n);
    // The RMS of each full window so far, in dB of full scale.
    const std::vector<double>& decibels() const { return decibels_; }

private:
    size_t windowFrames_;
    size_t filled_ = 0;
    double sumOfSquares_ = 0.0;
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
    double stretchMin = 0.0;
    size_t stretches = 0;
};

// Stretches of `stretchWindows` windows; shifts of up to `maxShift` windows
// either way absorb the slow drift of tempo rounding.
LoudnessAgreement compareLoudness(const std::vector<double>& ours, const std::vector<double>& reference,
                                  size_t stretchWindows = 200, size_t maxShift = 6);

} // namespace offline
