#include "engine/timing/play_position.h"

void TesselPlayPosition::reset()
{
    pattern = nullptr;
    loops.fill(TesselLoopState{});
    row = 0;
    time = 0.0;
    ticks = 0.0;
    entry = -1;
    tick = -1;
    pendingRow = -1;
}
