// Releasing voices: cut, note off, fade and the new-note action, on single
// voices and through the voice-list nodes that hold them. A release only
// sets the released bit and brings the gains toward 0; the mixer's silence
// test ends the voice.
#include "engine/voice/voice.h"
#include "engine/voice/voice_list.h"

#include "model/instrument/instrument.h"
#include "model/song/module.h"

#include <cstring>

namespace {

bool playsSample(const TesselVoice& voice)
{
    return (voice.state() & voice_state::kSample) != 0;
}

void release(TesselVoice& voice, uint8_t action)
{
    voice.setState(voice.state() | voice_state::kReleased);
    voice.newNoteAction = action;
}

void setNoteText(TesselVoice& voice, const char* text)
{
    std::strncpy(voice.noteText, text, sizeof voice.noteText - 1);
    voice.noteText[sizeof voice.noteText - 1] = '\0';
}

} // namespace

void TesselVoice::cut()
{
    if (state() == voice_state::kIdle)
        return;
    release(*this, 0);
    if (playsSample(*this))
        volume = effectiveVolume = 0;
}

void TesselVoice::startFade()
{
    if (state() == voice_state::kIdle)
        return;
    release(*this, 3);
    if (playsSample(*this) && instrument && instrument->fadeOut != 0 && fade == -1)
        fade = 1024;
}

void TesselVoice::noteOff()
{
    if (state() == voice_state::kIdle)
        return;
    release(*this, 2);
    if (playsSample(*this)) {
        if (sample)
            sustainState = 3;
        for (TesselEnvelopeState& e : envelopes)
            e.phase = 3;
    }
    // A volume envelope that ends after the release starts the fade itself.
    if (envelopes[kVolumeEnvelope].enabled && instrument && instrument->volumeEnvelope().loop.type == 0)
        return;
    if (instrument && instrument->fadeOut != 0)
        startFade();
    else
        cut();
}

void TesselVoiceListNode::setState(uint8_t s)
{
    if (!voice)
        return;
    voice->setState(s);
    if (voice->events)
        voice->events->setFlags(s);
}

void TesselVoiceListNode::setStateOnly(uint8_t s)
{
    if (voice)
        voice->setState(s);
}

void TesselVoiceListNode::setNote(int8_t n)
{
    if (voice)
        voice->note = n;
}

void TesselVoiceListNode::setVelocity(uint8_t v)
{
    if (voice)
        voice->velocity = v;
}

void TesselVoiceListNode::setKey(int8_t k)
{
    if (voice)
        voice->key = k;
}

void TesselVoiceListNode::setInstrument(TesselModule& module, int n)
{
    if (!voice)
        return;
    const bool valid = n >= 1 && n <= kInstruments;
    voice->instrumentNumber = static_cast<uint8_t>(valid ? n : 0);
    voice->instrument = valid ? &module.instruments[static_cast<size_t>(n - 1)] : nullptr;
}

void TesselVoiceListNode::addFlags(uint16_t f)
{
    if (voice)
        voice->flags |= f;
}

void TesselVoiceListNode::cutAll()
{
    if (!voice)
        return;
    setNoteText(*voice, "^^^");
    voice->cut();
}

void TesselVoiceListNode::noteOffAll()
{
    if (!voice)
        return;
    setNoteText(*voice, "===");
    voice->noteOff();
}

void TesselVoiceListNode::fadeAll()
{
    if (voice)
        voice->startFade();
}

void TesselVoiceListNode::applyNewNoteAction()
{
    if (!voice)
        return;
    switch (voice->newNoteAction) {
    case 0:
        voice->cut();
        break;
    case 2:
        voice->noteOff();
        break;
    case 3:
        voice->startFade();
        break;
    default:   // 1: the past note continues
        break;
    }
}

void TesselVoiceListNode::carryEnvelopes(const TesselVoiceListNode& other)
{
    if (!voice || !other.voice || !voice->instrument)
        return;
    for (int k = 0; k < kEnvelopes; ++k)
        if (voice->instrument->envelopes[static_cast<size_t>(k)].carry)
            voice->envelopes[k] = other.voice->envelopes[k];
}
