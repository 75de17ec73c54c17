#pragma once
// The engine operation the plug-in object calls under its own name: the
// host's MIDI input.

#include "platform/vst2_records.h"

class TesselEngine;

// Audio thread: the host's MIDI for this block.
void engineMidiInput(TesselEngine& engine, VstEvents* events);
