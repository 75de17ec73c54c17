#pragma once
// The engine operations the plug-in object calls that the engine does not
// offer yet under their own names (transport state, sample rate), and the
// host's MIDI input. Each forwards to the engine member once it exists.

#include "platform/vst2_records.h"

class TesselEngine;

// Any thread: the song or a pattern is playing.
bool enginePlaying(const TesselEngine& engine);
// Dispatcher thread: a new sample rate for the row timing; 0 or less is ignored.
void engineSetSampleRate(TesselEngine& engine, float rate);
// Audio thread: the host's MIDI for this block.
void engineMidiInput(TesselEngine& engine, VstEvents* events);
