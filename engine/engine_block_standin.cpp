// Stands in for the voice tick update until row processing defines it; a
// weak definition, so that the real one replaces it without a change here.
#include "engine/engine.h"

__attribute__((weak)) void TesselEngine::updateTick(int list, int blockOffset)
{
    (void)list;
    (void)blockOffset;
}
