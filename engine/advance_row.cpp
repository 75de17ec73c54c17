// The row advance of song and pattern playback and its status line.
#include "engine/engine.h"

void TesselEngine::advanceRow(const VstTimeInfo* time, int frame)
{
    (void)time;
    (void)frame;
}

void TesselEngine::applyRowFlow(TesselPlayPosition& at, int channel)
{
    (void)at;
    (void)channel;
}
