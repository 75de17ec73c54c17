#include "engine/voice/voice_midi.h"

#include <algorithm>
#include <cmath>

uint8_t gMidiSuppressed = 0;

namespace {

constexpr int32_t kMidiEffectChannelPressure = 0;
constexpr int32_t kMidiEffectKeyPressure = 1;
constexpr int32_t kMidiEffectRetrigger = 130;
constexpr int32_t kVolumeFull = 260096; // 127 << 11

class Sender {
public:
    Sender(TesselMidiOut& out, TesselVoiceMidiState& midi, int32_t offset)
        : out_(out), state_(out.portState(midi.port)), midi_(midi), offset_(offset)
    {
        midi_.channel &= kMidiChannels - 1;
        midi_.note &= kMidiNotes - 1;
    }

    void send(int status, int data1, int data2)
    {
        out_.queueMessage(midiMessage(status + midi_.channel, data1, data2), midi_.port, offset_);
    }

    // A note off goes before anything else at its frame: a note that starts
    // there, on this voice or another, must not be cut by it.
    void noteOff(int note)
    {
        out_.queueMessage(midiMessage(0x80 + midi_.channel, note, 0), midi_.port, offset_, true);
        int32_t& count = state_.noteOn[midi_.channel][note];
        if (count > 0)
            --count;
    }

    TesselMidiPortState& port() { return state_; }

private:
    TesselMidiOut& out_;
    TesselMidiPortState& state_;
    TesselVoiceMidiState& midi_;
    int32_t offset_;
};

int32_t midiChannelOf(const TesselMidiInstrument& instrument, const TesselMidiChannel& channel)
{
    if (instrument.channel == 0)
        return (channel.index % kMidiChannels + kMidiChannels) % kMidiChannels;
    return std::clamp(instrument.channel - 1, 0, kMidiChannels - 1);
}

int32_t pitchBendOf(const TesselMidiVoice& voice, const TesselMidiInstrument& instrument)
{
    const double ratio = static_cast<double>(voice.pitchFactor) / voice.startPitchFactor;
    double bend = std::trunc(std::log(ratio) * instrument.pitchBendScale) + 8192.0;
    if (std::isnan(bend))
        bend = 8192.0;
    return static_cast<int32_t>(std::clamp(bend, 0.0, 16383.0));
}

int32_t velocityOf(uint8_t velocity)
{
    if (velocity >= 64)
        return 127;
    return velocity == 0 ? 1 : 2 * velocity;
}

void startNote(TesselMidiVoice& voice, const TesselMidiInstrument& instrument, const TesselMidiChannel& channel,
               Sender& out)
{
    TesselVoiceMidiState& midi = voice.midi;
    const bool restart = !(voice.flags & voice_midi::kNewNote);
    midi.stage = 1;
    midi.channel = midiChannelOf(instrument, channel);
    midi.note = std::clamp<int32_t>(voice.note, 0, kMidiNotes - 1);
    TesselMidiPortState& port = out.port();
    if (restart && port.noteOn[midi.channel][midi.note] != 0)
        out.noteOff(midi.note);
    bool bankSent = false;
    const struct {
        int32_t value;
        int controller;
        uint8_t* last;
    } banks[] = {{instrument.bankMsb, 0, port.lastBankMsb}, {instrument.bankLsb, 32, port.lastBankLsb}};
    for (const auto& bank : banks) {
        if (bank.value == -1 || bank.value == bank.last[midi.channel])
            continue;
        out.send(0xB0, bank.controller, bank.value);
        bank.last[midi.channel] = static_cast<uint8_t>(bank.value);
        bankSent = true;
    }
    if (instrument.program != -1 && (bankSent || instrument.program != port.lastProgram[midi.channel])) {
        out.send(0xC0, instrument.program, 0);
        port.lastProgram[midi.channel] = static_cast<uint8_t>(instrument.program);
    }
    port.lastBend[midi.channel] = kMidiNoneSent;
    midi.bend = -1;
}

void sendDigitEffect(const TesselMidiVoice& voice, const TesselMidiInstrument& instrument,
                     const TesselMidiChannel& channel, Sender& out)
{
    if (channel.effectLetter < '0' || channel.effectLetter > '9')
        return;
    const int d = channel.effectLetter - '0';
    const int c = std::min<int>(channel.digitMemory[d], 127);
    const int32_t m = instrument.effect[d];
    if (m == kMidiEffectChannelPressure) {
        out.send(0xD0, c, 0);
    } else if (m == kMidiEffectKeyPressure) {
        out.send(0xA0, voice.midi.note, c);
    } else if (m == kMidiEffectRetrigger) {
        out.send(0x80, c, 0);
        out.send(0x90, c, 127);
    } else {
        out.send(0xB0, m - 2, c);
    }
}

void sendTickValues(TesselMidiVoice& voice, const TesselMidiInstrument& instrument, const TesselMidiChannel& channel,
                    Sender& out)
{
    TesselVoiceMidiState& midi = voice.midi;
    TesselMidiPortState& port = out.port();
    if (instrument.pitchBend != 0) {
        const int32_t bend = pitchBendOf(voice, instrument);
        if (bend != midi.bend || midi.bend == -1) {
            out.send(0xE0, instrument.pitchBendHiRes ? bend & 127 : 0, bend >> 7);
            midi.bend = bend;
        }
    }
    int32_t volume = 0;
    if (!channel.muted) {
        const int32_t v = voice.effectiveVolume * instrument.globalVolume * channel.volume;
        volume = v >= kVolumeFull ? 127 : v < 0 ? 0 : v >> 11;
    }
    if (((voice.flags & voice_midi::kVolumeSet) && volume != port.lastVolume[midi.channel]) || volume != midi.volume) {
        out.send(0xB0, 7, volume);
        port.lastVolume[midi.channel] = static_cast<uint8_t>(volume);
        midi.volume = volume;
    }
    const int32_t panning = voice.effectivePanning >= 64 ? 127 : voice.effectivePanning < 0 ? 0 : 2 * voice.effectivePanning;
    if (((voice.flags & voice_midi::kPanningSet) && panning != port.lastPanning[midi.channel]) || panning != midi.panning) {
        out.send(0xB0, 10, panning);
        port.lastPanning[midi.channel] = static_cast<uint8_t>(panning);
        midi.panning = panning;
    }
}

} // namespace

void sendVoiceMidi(TesselMidiVoice& voice, const TesselMidiInstrument* instrument, const TesselMidiChannel& channel,
                   int32_t offset)
{
    if (gMidiSuppressed || !instrument || !channel.midiOut)
        return;
    TesselMidiOut& midiOut = *channel.midiOut;
    voice.previousMidi = voice.midi;
    if (voice.midi.port < 0 || voice.midi.port >= midiOut.portCount())
        return;

    if ((voice.state & voice_state::kMidi) && (voice.state & voice_state::kReleased)) {
        // A voice that never sent its note on has nothing to end; a note off
        // from it could only cut another voice's note.
        if (voice.midi.stage == 2)
            Sender(midiOut, voice.midi, offset).noteOff(voice.midi.note);
        voice.state = 0;
    }
    if (channel.muted || voice.state == 0 || instrument->portNumber == -1 || !instrument->midiOut)
        return;

    if ((voice.flags & voice_midi::kNewNote) || voice.midi.stage == 0) {
        if (instrument->portNumber < 0 || instrument->portNumber >= midiOut.portCount())
            return;
        voice.midi.port = instrument->portNumber;
        Sender out(midiOut, voice.midi, offset);
        startNote(voice, *instrument, channel, out);
    } else if (voice.rowPitch == 254 || voice.rowPitch == 255) {
        Sender(midiOut, voice.midi, offset).noteOff(voice.midi.note);
    }
    if (voice.midi.stage <= 0)
        return;

    Sender out(midiOut, voice.midi, offset);
    if (voice.flags & voice_midi::kSetup)
        sendDigitEffect(voice, *instrument, channel, out);
    else
        sendTickValues(voice, *instrument, channel, out);

    if (voice.midi.stage == 1) {
        voice.midi.stage = 2;
        out.send(0x90, voice.midi.note, velocityOf(voice.velocity));
        ++out.port().noteOn[voice.midi.channel][voice.midi.note];
    }
}
