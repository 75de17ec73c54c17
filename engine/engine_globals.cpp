#include "engine/engine_globals.h"

// The first of the load-time constructors, so another one may already use it.
TesselEngineGlobals tesselEngineGlobals __attribute__((init_priority(101)));

void TesselEngineGlobals::reset()
{
    for (TesselChannel& channel : liveChannels)
        channel.reset();
    programVersion = 0.0f;
    reportVersion = 0.0f;
    libraryFileName.clear();
}
