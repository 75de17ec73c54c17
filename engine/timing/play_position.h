#pragma once
// One playback position of the engine: the pattern (or the song), the
// pattern-loop state of each channel, and where in the rows and ticks it is.

#include "engine/vector/exact_math.h"

#include <array>
#include <cmath>
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

    // Where a song time falls, as the block's frame loop counts it: the tick
    // position inside the row, then the tick and the row indices.
    static constexpr double kTickEpsilon = 0.0000001;   // added to the time before its fraction is taken
    static constexpr double kRowEpsilon = 0.000001;     // added before an index is truncated
    static double ticksAt(double t, double speed)
    {
        double whole = 0.0;
        return exact::modf(t + kTickEpsilon, &whole) * speed;
    }
    static int32_t tickIndex(double ticks) { return static_cast<int32_t>(ticks + kRowEpsilon); }
    static int32_t rowIndex(double t) { return static_cast<int32_t>(t + kRowEpsilon); }
    // True when time t falls in a row, or a tick of the row, before the ones
    // last acted on: moved back there, the frame loop would play them again.
    bool behind(double t, double speed) const
    {
        const int32_t r = rowIndex(t);
        return r < entry || (r == entry && tickIndex(ticksAt(t, speed)) < tick);
    }

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
