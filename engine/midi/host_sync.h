#pragma once
// What the audio block keeps per block and per frame while it steps the song.

// The host's loop (cycle) for one block, in song rows.
struct TesselHostLoop {
    double start = 0.0;
    double end = 0.0;
    bool active = false;   // the host plays with an active, valid cycle (not in pitch mode)
};

// What one frame of the block starts.
struct TesselRowEvents {
    bool newTick = false;
    bool newRow = false;
};
