#include "plugin/engine_calls.h"

#include "engine/engine.h"

bool enginePlaying(const TesselEngine& engine)
{
    return engine.transport >= 2;
}

void engineSetSampleRate(TesselEngine& engine, float rate)
{
    if (!(rate > 0.0f))
        return;
    platform::MutexLock lock(engine.song.songLock(), 1000);
    if (!lock)
        return;
    engine.sampleRate = rate;
    engine.computeTiming();
}

void engineMidiInput(TesselEngine& engine, VstEvents* events)
{
    engine.processMidiInput(events);
}
