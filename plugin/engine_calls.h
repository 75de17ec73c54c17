#pragma once
// The engine operation the plug-in object calls that the engine does not
// offer yet under its own name (MIDI input). It forwards to the engine
// member once that exists.

#include "platform/vst2_records.h"

class TesselEngine;

// Audio thread: the host's MIDI for this block.
void engineMidiInput(TesselEngine& engine, VstEvents* events);
