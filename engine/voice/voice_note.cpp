// Starting a voice's note, its clamping setters and the per-block record of
// its parameter changes.
#include "engine/voice/voice.h"

#include "model/instrument/instrument.h"
#include "model/sample/sample.h"

#include <algorithm>
#include <cstring>

namespace {

// Envelope values at a note's start: the neutral point of each envelope.
constexpr float kStartValues[kEnvelopes][2] = {{64.0f, 0.0f}, {32.0f, 32.0f}, {32.0f, 0.0f}, {64.0f, 64.0f}};

// The working positions go back to the loop's own frames. Every setter keeps
// them there already, so this writes only a loop whose fields were set by
// hand: the sample is the song's, read meanwhile by the editor's drawing and
// by saving, and the audio thread must not write it as a matter of course.
void restartLoop(TesselLoop& loop)
{
    if (loop.workingBegin != TesselSamplePos{loop.begin, 0.0f})
        loop.setBegin(loop.begin);
    if (loop.workingEnd != TesselSamplePos{loop.end, 0.0f})
        loop.setEnd(loop.end);
}

} // namespace

void TesselVoice::resetEnvelopes()
{
    autoVibratoDepth = 0;
    std::fill(std::begin(peaks), std::end(peaks), 0.0f);
    std::fill(std::begin(ramp), std::end(ramp), 0.0f);
    current.gain0 = 0.0f;
    current.gain1 = 0.0f;
    std::fill(std::begin(filterHistory), std::end(filterHistory), 0.0f);
    for (TesselEnvelopeState& e : envelopes)
        e = TesselEnvelopeState{};
    envelopes[kFilterEnvelope].running = 2;
    fade = -1;
}

void TesselVoice::startNote()
{
    newNoteAction = instrument ? instrument->newNoteAction : 0;
    if (sample) {
        restartLoop(sample->loop);
        restartLoop(sample->sustain);
    }
    freeEvents();
    position = 0;
    fraction = 0.0f;
    fade = -1;
    backwards = 0;
    sustainState = 1;
    resetEnvelopes();
    for (int k = 0; k < kEnvelopes; ++k) {
        TesselEnvelopeState& e = envelopes[k];
        if (instrument) {
            e.enabled = instrument->envelopes[static_cast<size_t>(k)].enabled;
            e.running = e.enabled;
        }
        e.value = kStartValues[k][0];
        e.secondValue = kStartValues[k][1];
    }
    if (envelopes[kFilterEnvelope].enabled)
        envelopes[kFilterEnvelope].running = 2;
    filter[0] = 1.0f;
    filter[1] = 0.0f;
    filter[2] = 0.0f;
    cutoff = effectiveCutoff = lastCutoff = 127;
    resonance = effectiveResonance = lastResonance = 0;
}

uint8_t TesselVoice::noteState() const
{
    if (instrument && instrument->midiOut)
        return voice_state::kMidi | voice_state::kActive;
    if (sample && sample->audio.frames > 0)
        return voice_state::kSample | voice_state::kActive;
    return voice_state::kIdle;
}

void TesselVoice::setVolume(int v)
{
    volume = effectiveVolume = static_cast<int8_t>(v > 63 ? 64 : std::max(v, 0));
}

void TesselVoice::setCutoff(int v)
{
    cutoff = effectiveCutoff = static_cast<uint8_t>(v > 126 ? 127 : std::max(v, 0));
}

void TesselVoice::setResonance(int v)
{
    resonance = effectiveResonance = static_cast<uint8_t>(v > 126 ? 127 : std::max(v, 0));
}

void TesselVoice::setPanning(int v)
{
    const int p = std::clamp(v, 0, 64);
    panning = static_cast<uint16_t>(p);
    effectivePanning = static_cast<int8_t>(p);
    depth &= 127;
    effectiveDepth = depth;
}

const TesselSubrow* TesselVoice::keyMapEntry() const
{
    if (!instrument || key < 0)
        return nullptr;
    return &instrument->keymap.keyRow(key);
}

void TesselVoice::recordEvent(int blockFrames)
{
    recordEventAt(0, blockFrames);
}
