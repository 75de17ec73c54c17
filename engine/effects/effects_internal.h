#pragma once
// Helpers shared by the effect letter handlers.

#include "engine/voice/voice.h"
#include "engine/voice/voice_flags.h"
#include "engine/voice/waveforms.h"

#include "model/song/channel_effect_slot.h"

#include <cstdint>

namespace effects {

inline bool isSetup(const TesselVoice& voice)
{
    return (voice.flags & voice_flag::kSetup) != 0;
}

inline bool isPlayback(const TesselVoice& voice)
{
    return (voice.flags & voice_flag::kPlayback) != 0;
}

// A playable note (not a cut or off) in the voice's own row.
inline bool rowHasNote(const TesselVoice& voice)
{
    return voice.row.pitch >= 0 && voice.row.pitch <= 119;
}

// One step of vibrato, tremolo or panbrello: the value at the phase scaled
// by the depth (w x depth >> 6), then the phase moves on.
inline int32_t waveStep(int32_t waveform, uint8_t& position, int32_t advance, int32_t depth)
{
    const int32_t w = waveformValue(waveform, position);
    position = static_cast<uint8_t>(position + advance);
    return (w * depth) >> 6;
}

inline int32_t high(uint8_t p) { return p >> 4; }
inline int32_t low(uint8_t p) { return p & 15; }

} // namespace effects
