#pragma once
// The host's loop (cycle) for one block, in song rows.

struct TesselHostLoop {
    double start = 0.0;
    double end = 0.0;
    bool active = false;   // the host plays with an active, valid cycle (not in pitch mode)
};

// Rows per sample step of a block, as the per-frame loop sees them.
struct TesselRowEvents {
    bool newTick = false;
    bool newRow = false;
};
