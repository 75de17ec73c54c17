#include "plugin/engine_calls.h"

#include "engine/engine.h"

void engineMidiInput(TesselEngine& engine, VstEvents* events)
{
    engine.processMidiInput(events);
}
