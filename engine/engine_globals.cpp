#include "engine/engine_globals.h"

TesselEngineGlobals& engineGlobals()
{
    static TesselEngineGlobals globals;
    return globals;
}

void TesselEngineGlobals::reset()
{
    for (TesselChannel& channel : liveChannels)
        channel.reset();
    programVersion = 0.0f;
    reportVersion = 0.0f;
    libraryFileName.clear();
}
