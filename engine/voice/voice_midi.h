#pragma once
// The MIDI step of a voice whose instrument plays through MIDI: program and
// bank when a note starts, the note on, the digit effects as MIDI messages,
// pitch bend, volume and panning when they change, and the note off on
// release. It works on the few voice, instrument and channel fields it
// needs, so that the voice copies them in and out around the call.

#include "engine/midi/midi_out.h"
#include "engine/voice/voice.h"

#include <cstdint>

// Row flags the step reads (the voice's flags, set by row processing).
namespace voice_midi {
constexpr uint16_t kNewNote = 0x0001;
constexpr uint16_t kSetup = 0x0004;
constexpr uint16_t kVolumeSet = 0x0010;
constexpr uint16_t kPanningSet = 0x0020;
} // namespace voice_midi

// The voice fields the step reads and writes; sendVoiceMidi (TesselVoice)
// copies them in and out.
struct TesselMidiVoice {
    uint8_t state = 0;      // written: idle after a release
    uint16_t flags = 0;
    int8_t note = -1;
    uint8_t velocity = 0;
    int16_t rowPitch = -1;  // the voice's row: 254 cut, 255 off
    int8_t effectiveVolume = 0;
    int8_t effectivePanning = 0;
    float pitchFactor = 1.0f;
    float startPitchFactor = 1.0f;
    TesselVoiceMidiState midi;
    TesselVoiceMidiState previousMidi;
};

// The instrument's MIDI settings ("MIDIOut", "MIDIChannel", ...).
struct TesselMidiInstrument {
    bool midiOut = false;
    int32_t portNumber = 0; // resolved from "MIDIOutPort"; -1 = none
    int32_t channel = 1;    // 1..16; 0 = the live channel's index modulo 16
    int32_t program = -1;
    int32_t bankMsb = -1;
    int32_t bankLsb = -1;
    int32_t pitchBend = 24;
    double pitchBendScale = 5909.2789;
    bool pitchBendHiRes = false;
    int32_t effect[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    int32_t globalVolume = 64;
};

// What the step reads of the live channel and its row effect slot.
struct TesselMidiChannel {
    int32_t index = 0;
    bool muted = false;
    int32_t volume = 64;
    TesselMidiOut* midiOut = nullptr;
    char effectLetter = '.';       // slot 1's letter
    uint8_t digitMemory[10] = {};  // slot 1's remembered values of '0'..'9'
};

// Nothing is sent while set; nothing in the system sets it, the block
// process clears it when it obtains the song lock.
extern uint8_t gMidiSuppressed;

// Row processing's thread, under the song lock; the queues it fills have
// their own locks. The voice's MIDI step at frame `offset` of the block. Row steps pass the
// row's frame; tick steps pass the tick's frame, so that their messages
// keep their order against note offs of other voices.
void sendVoiceMidi(TesselMidiVoice& voice, const TesselMidiInstrument* instrument, const TesselMidiChannel& channel,
                   int32_t offset);

// The same on an engine voice and its live channel record.
void sendVoiceMidi(TesselVoice& voice, const TesselChannel& live, int32_t offset);
