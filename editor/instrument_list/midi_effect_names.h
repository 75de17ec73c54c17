#pragma once
// The 131 entries of the MIDI panel's effect lists, in index order: channel
// and key aftertouch, the 128 controllers, then the key switch.

#include <string>

constexpr int kMidiEffectEntries = 131;

// The entry's text; empty outside 0..130.
std::string midiEffectName(int index);
