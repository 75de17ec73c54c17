#pragma once
// One playback position of the engine: the pattern (or the song), the
// pattern-loop state of each channel, and where in the rows and ticks it is.

#include <array>
#include <cstdint>

class TesselPattern;

struct TesselLoopState {
    int32_t state = 1;
    int32_t loopRow = 0;
    int32_t loopEnd = 0;
    int32_t remaining = 0;
};

struct TesselPlayPosition {
    static constexpr int kLoopChannels = 65;

    TesselPlayPosition() { reset(); }
    void reset();

    TesselPattern* pattern = nullptr;   // null = song playback
    int32_t row = 0;          // pattern row of the current entry
    double time = 0.0;        // song position in rows (or pattern rows), with the fraction
    double ticks = 0.0;       // tick position inside the row
    int32_t entry = -1;       // whole part of time last acted on; -1 = none
    int32_t tick = -1;        // tick index last acted on; -1 = none
    int32_t pendingRow = -1;  // where pattern playback continues after a break or loop; -1 = none
    // Last: every block reads the fields above, a loop only its rows.
    std::array<TesselLoopState, kLoopChannels> loops;
};
