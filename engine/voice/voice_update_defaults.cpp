// What a voice takes from its instrument, sample, key-map entry and channel
// when its row brings a new pitch, instrument or note.
#include "engine/random.h"
#include "engine/voice/voice.h"
#include "engine/voice/voice_update_tables.h"

#include "model/instrument/instrument.h"
#include "model/sample/sample.h"
#include "model/song/channel.h"

#include <algorithm>

namespace {

constexpr const char* kNoteNames[12] = {"C-", "C#", "D-", "D#", "E-", "F-", "F#", "G-", "G#", "A-", "A#", "B-"};

int8_t clampVolume(int32_t v)
{
    return static_cast<int8_t>(std::clamp<int32_t>(v, 0, 64));
}

// The first of the candidates that is set (not -1), else the fallback.
int32_t firstSet(std::initializer_list<int32_t> candidates, int32_t fallback)
{
    for (int32_t c : candidates)
        if (c != -1)
            return c;
    return fallback;
}

} // namespace

float TesselVoice::noteFactor(int32_t note) const
{
    const TesselRateTables& t = tesselRateTables();
    if (sample && sample->speed != 0) {
        // A base note from a file may lie anywhere in 0..255.
        const int32_t i = std::clamp<int32_t>(note - sample->pitch + 120, 0, 255);
        return static_cast<float>(static_cast<double>(t.note[i]) * static_cast<uint32_t>(sample->speed) / 44100.0);
    }
    return t.note[std::clamp<int32_t>(note + 60, 0, 255)];
}

void TesselVoice::takePitchDefaults()
{
    if (liveChannel)
        for (TesselEffectSlot& slot : liveChannel->effectSlots)
            slot.portamentoTarget = note;
    pitchFactor = noteFactor(note);
    // Put together by hand: the formatter's code and locale data would be
    // cold on the audio thread at nearly every new note.
    if (note >= 0 && note <= 119) {
        const char* name = kNoteNames[note % 12];
        noteText[0] = name[0];
        noteText[1] = name[1];
        noteText[2] = static_cast<char>('0' + note / 12);
        noteText[3] = '\0';
    }
}

void TesselVoice::takeInstrumentDefaults()
{
    if (!instrument)
        return;
    if (instrument->midiOut) {
        velocity = static_cast<uint8_t>(std::clamp<int32_t>(instrument->midiDefaultVelocity, 0, 127));
        volume = 64;
    } else if (sample) {
        volume = clampVolume(sample->defaultVolume);
    }
}

void TesselVoice::takeNoteDefaults(TesselRandom& random)
{
    startPitchFactor = pitchFactor;
    if (!instrument)
        return;
    const TesselInstrument& ins = *instrument;
    const TesselChannel* channel = liveChannel ? liveChannel : channelSettings;
    const TesselSubrow* k = keyMapEntry();
    const TesselSample* s = sample && !(state() & voice_state::kMidi) ? sample : nullptr;

    if (k && k->volume != -1) {
        if (state() & voice_state::kMidi) {
            velocity = static_cast<uint8_t>(std::clamp<int32_t>(k->volume, 0, 127));
            volume = 64;
        } else {
            volume = clampVolume(k->volume);
        }
    }
    if (ins.volumeSwing != 0) {
        const int32_t n = mulDiv(ins.volumeSwing, volume, 100);
        int32_t v = volume - n + mulDiv(random.next(), 2 * n + 1, TesselRandom::kMax);
        if (v > 63)
            v = 64;
        volume = clampVolume(v);
    }
    effectiveVolume = volume;

    setCutoff(ins.filterCutoff != -1 ? ins.filterCutoff : (channel ? channel->cutoff : 127));
    setResonance(ins.filterResonance != -1 ? mulDiv(ins.filterResonance & 15, 128, 15)
                                           : (channel ? channel->resonance : 0));

    int32_t pan =
        firstSet({k ? k->panning : -1, ins.defaultPan, s ? s->defaultPan : -1}, channel ? channel->panning : 32);
    int32_t keyDepth = -1;
    if (k && k->depth != -1)
        keyDepth = ins.keymap.keyRow(note).depth;   // the entry of the note, as always read
    const int32_t dep = firstSet({keyDepth, ins.defaultDepth, s ? s->defaultDepth : -1}, channel ? channel->depth : 0);
    const int32_t rot = firstSet({ins.defaultRotation, s ? s->defaultRotation : -1}, channel ? channel->rotation : 0);
    current.bus = static_cast<uint8_t>(channel ? channel->outputBus : 1);

    if (ins.panningSwing != 0)
        pan = pan - ins.panningSwing + mulDiv(random.next(), 2 * ins.panningSwing + 1, TesselRandom::kMax);
    panning = static_cast<uint16_t>(std::clamp<int32_t>(pan, 0, 64));
    effectivePanning = static_cast<int8_t>(panning);
    depth = static_cast<uint8_t>(std::clamp<int32_t>(dep, 0, 64));
    effectiveDepth = depth;
    rotation = static_cast<uint8_t>(std::clamp<int32_t>(rot, 0, 255));
}

void TesselVoice::takeSeparation()
{
    if (instrument)
        separation = instrument->pitchSeparation * (note - instrument->pitchCentre) / 8;
}
