#include "plugin/engine_calls.h"

#include "engine/engine.h"

void engineMidiInput(TesselEngine& /*engine*/, VstEvents* /*events*/)
{
    // MIDI input arrives with the engine's input handling.
}
