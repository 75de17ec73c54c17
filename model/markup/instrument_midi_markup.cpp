// The MIDI settings of an instrument: attributes of its "pitch" group.

#include "model/instrument/instrument.h"
#include "model/markup/document_fields.h"

#include <cstdio>

namespace {

struct MidiEffectName {
    char longName[16];
    char shortName[4];
};

MidiEffectName midiEffectName(int i)
{
    MidiEffectName name{};
    std::snprintf(name.longName, sizeof name.longName, "MIDIEffect%d", i);
    std::snprintf(name.shortName, sizeof name.shortName, "m%d", i);
    return name;
}

// MIDI numbers: channel 0 (the song channel's own) or 1..16, programs and
// banks 0..127 or -1 for none, a bend range in semitones that a synthesizer's
// 7-bit setting can take, and the effect list's 131 entries.
constexpr int32_t kMaxMidiChannel = 16;
constexpr int32_t kMaxMidiValue = 127;
constexpr int32_t kMaxBendRange = 127;
constexpr int32_t kMaxMidiEffect = 130;

} // namespace

void TesselInstrument::addMidiAttributes(TesselElement& element) const
{
    element.addInt("MIDIIn", midiIn, midiIn != 0);
    element.addInt("MIDIOut", midiOut, midiOut != 0);
    element.addInt("MIDIThru", midiThru, midiThru != 0);
    element.add("MIDIOutPort", midiOutPort, midiPortNumber != 0);
    element.addInt("MIDIChannel", midiChannel, midiChannel != 1);
    element.addInt("MIDIProgram", midiProgram, midiProgram != -1);
    element.addInt("MIDIBankMSB", midiBankMsb, midiBankMsb != -1);
    element.addInt("MIDIBankLSB", midiBankLsb, midiBankLsb != -1);
    element.addInt("MIDIPitchBend", midiPitchBend, midiPitchBend != kDefaultMidiPitchBend);
    element.addInt("MIDIPitchBendHiRes", midiPitchBendHiRes, midiPitchBendHiRes != 0);
    element.addInt("MIDIDefaultVelocity", midiDefaultVelocity, midiDefaultVelocity != 64);
    for (int i = 0; i < kMidiEffects; ++i) {
        const int32_t value = midiEffects[static_cast<size_t>(i)];
        element.addInt(midiEffectName(i).longName, value, value != i);
    }
}

void TesselInstrument::readMidiAttributes(const TesselElement& element)
{
    readByte(element, "MIDIIn", "i", midiIn);
    readByte(element, "MIDIOut", "o", midiOut);
    readByte(element, "MIDIThru", "t", midiThru);
    char port[kMidiPortNameSize] = {};
    // "p" is the port and "P" the program: exact short names only.
    if (element.getString("MIDIOutPort", "p", port, sizeof port, false))
        setMidiOutPort(port);
    readIntWithin(element, "MIDIChannel", "c", midiChannel, 0, kMaxMidiChannel);
    readIntWithin(element, "MIDIProgram", "P", midiProgram, -1, kMaxMidiValue);
    readIntWithin(element, "MIDIBankMSB", "B", midiBankMsb, -1, kMaxMidiValue);
    readIntWithin(element, "MIDIBankLSB", "b", midiBankLsb, -1, kMaxMidiValue);
    int32_t range = 0;
    if (readIntWithin(element, "MIDIPitchBend", "m", range, 0, kMaxBendRange))
        setMidiPitchBend(range);
    readByte(element, "MIDIPitchBendHiRes", "M", midiPitchBendHiRes);
    readIntWithin(element, "MIDIDefaultVelocity", "v", midiDefaultVelocity, 0, kMaxMidiValue);
    for (int i = 0; i < kMidiEffects; ++i) {
        const MidiEffectName name = midiEffectName(i);
        readIntWithin(element, name.longName, name.shortName, midiEffects[static_cast<size_t>(i)], 0, kMaxMidiEffect);
    }
}
