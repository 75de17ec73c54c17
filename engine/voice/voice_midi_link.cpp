// The MIDI step on an engine voice: copies the fields the step works on out
// of the voice, its instrument and its live channel, and the results back.
#include "engine/voice/voice_midi.h"

#include "model/instrument/instrument.h"
#include "model/song/channel.h"

#include <algorithm>

namespace {

TesselMidiInstrument midiSettingsOf(const TesselInstrument& instrument)
{
    TesselMidiInstrument m;
    m.midiOut = instrument.midiOut != 0;
    m.portNumber = instrument.midiPortNumber;
    m.channel = instrument.midiChannel;
    m.program = instrument.midiProgram;
    m.bankMsb = instrument.midiBankMsb;
    m.bankLsb = instrument.midiBankLsb;
    m.pitchBend = instrument.midiPitchBend;
    m.pitchBendScale = instrument.midiPitchBendScale;
    m.pitchBendHiRes = instrument.midiPitchBendHiRes != 0;
    std::copy(instrument.midiEffects.begin(), instrument.midiEffects.end(), m.effect);
    m.globalVolume = instrument.globalVolume;
    return m;
}

TesselMidiChannel midiChannelOf(const TesselChannel& live, bool muted)
{
    TesselMidiChannel c;
    c.index = live.index;
    c.muted = muted;
    c.volume = live.volume;
    c.midiOut = live.midiOut;
    const TesselEffectSlot& rowSlot = live.effectSlots[1];
    c.effectLetter = rowSlot.command;
    for (int d = 0; d < 10; ++d)
        if (const TesselEffectMemory* memory = rowSlot.memoryFor(static_cast<char>('0' + d)))
            c.digitMemory[d] = memory->value;
    return c;
}

} // namespace

void sendVoiceMidi(TesselVoice& voice, const TesselChannel& live, int32_t offset)
{
    if (!voice.instrument)
        return;
    // A sample instrument's voice sends nothing: the step only notes that
    // this block's MIDI state is the last one, without the copies below.
    if (!voice.instrument->midiOut && !(voice.state() & voice_state::kMidi)) {
        if (!gMidiSuppressed && live.midiOut)
            voice.previousMidi = voice.midi;
        return;
    }
    TesselMidiVoice v;
    v.state = voice.state();
    v.flags = voice.flags;
    v.note = voice.note;
    v.velocity = voice.velocity;
    v.rowPitch = voice.row.pitch;
    v.effectiveVolume = voice.effectiveVolume;
    v.effectivePanning = voice.effectivePanning;
    v.pitchFactor = voice.pitchFactor;
    v.startPitchFactor = voice.startPitchFactor;
    v.midi = voice.midi;
    v.previousMidi = voice.previousMidi;

    const TesselMidiInstrument settings = midiSettingsOf(*voice.instrument);
    sendVoiceMidi(v, &settings, midiChannelOf(live, voice.channelMuted()), offset);

    if (v.state != voice.state())
        voice.setState(v.state);
    voice.midi = v.midi;
    voice.previousMidi = v.previousMidi;
}
