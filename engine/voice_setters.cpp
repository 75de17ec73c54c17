// Setters and the cut and fade releases of one voice, as the effect letters
// and the voice update use them.
#include "engine/voice.h"

#include "model/instrument.h"

#include <algorithm>

void TesselVoice::setVolume(int32_t v)
{
    volume = static_cast<int8_t>(std::clamp<int32_t>(v, 0, 64));
    effectiveVolume = volume;
}

void TesselVoice::setPanning(int32_t v)
{
    const int32_t p = std::clamp<int32_t>(v, 0, 64);
    panning = static_cast<uint16_t>(p);
    effectivePanning = static_cast<int8_t>(p);
    depth &= 127;
    effectiveDepth = depth;
}

void TesselVoice::setCutoff(int32_t v)
{
    cutoff = static_cast<uint8_t>(std::clamp<int32_t>(v, 0, 127));
    effectiveCutoff = cutoff;
}

void TesselVoice::setResonance(int32_t v)
{
    resonance = static_cast<uint8_t>(std::clamp<int32_t>(v, 0, 127));
    effectiveResonance = resonance;
}

void TesselVoice::cut()
{
    if (state() == voice_state::kIdle)
        return;
    setState(static_cast<uint8_t>(state() | voice_state::kReleased));
    newNoteAction = 0;
    if (state() & voice_state::kSample) {
        volume = 0;
        effectiveVolume = 0;
    }
}

void TesselVoice::fade()
{
    if (state() == voice_state::kIdle)
        return;
    setState(static_cast<uint8_t>(state() | voice_state::kReleased));
    newNoteAction = 3;
    if ((state() & voice_state::kSample) && instrument && instrument->fadeOut != 0 &&
        TesselVoiceFields::fade == -1)
        TesselVoiceFields::fade = 1024;
}

const TesselSubrow* TesselVoice::keyMapEntry() const
{
    if (!instrument || key < 0)
        return nullptr;
    return &instrument->keymap.keyRow(key);
}
