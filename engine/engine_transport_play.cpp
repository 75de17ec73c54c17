// Starting song and pattern playback.
#include "engine/engine.h"

bool TesselEngine::playSong(int order, int row)
{
    (void)order;
    (void)row;
    return false;
}

void TesselEngine::playPattern(int pattern, int row, TesselPlayPosition* at)
{
    (void)pattern;
    (void)row;
    (void)at;
}
