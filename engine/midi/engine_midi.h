#pragma once
// What the engine's MIDI output sees of its engine: the length and rate of
// the block, the voices that play MIDI notes, and the plug-in that takes the
// host's events.

#include "engine/midi/midi_out.h"

class TesselEngine;

class TesselEngineMidiHost final : public TesselMidiHost {
public:
    explicit TesselEngineMidiHost(TesselEngine& engine) : engine_(engine) {}

    // The host's block: the one just rendered inside a block, the size the
    // host announced before the first one.
    int32_t blockFrames() override;
    double sampleRate() override;
    // Engine's or audio thread, on a stop; only the voices' state bytes change.
    void idleMidiVoices() override;
    // Audio thread, at the end of the block; false without a plug-in.
    bool sendVstEventsToHost(VstEvents* events) override;

private:
    TesselEngine& engine_;
};
