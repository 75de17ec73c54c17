// Volume and panning letters: slides (D, K, L, N, P), tremolo (R),
// panbrello (Y), tremor (I) and retrigger (Q).
#include "engine/effects/effects_internal.h"

#include "model/song/channel.h"

#include <algorithm>

using namespace effects;

namespace {

// The set-up shared by the voice and channel volume slides: returns the
// slide and sets count and hold. Playback lets continuous slides act on
// tick 0 too.
int8_t slideSetup(TesselEffectSlot& slot, uint8_t p, bool channelSlide, bool playback)
{
    const int32_t hi = high(p);
    const int32_t lo = low(p);
    int32_t slide = 0;
    slot.hold = 0;
    slot.count = 1;
    if (hi == 0) {
        slide = -lo;
        slot.count = 100;
        slot.hold = lo == 15 ? 0 : 1;
    } else if (lo == 0) {
        slide = hi;
        slot.count = 100;
        slot.hold = (channelSlide && hi == 15) ? 0 : 1;
    } else if (hi == 15) {
        slide = -lo;
    } else if (lo == 15) {
        slide = hi;
    }
    if (playback)
        slot.hold = 0;
    return static_cast<int8_t>(slide);
}

} // namespace

void TesselEffectSlot::volumeSlide(TesselVoice& voice, uint8_t parameter)
{
    if (isSetup(voice)) {
        volumeSlideStep = slideSetup(*this, parameter, false, isPlayback(voice));
        return;
    }
    if (hold != 0)
        return;
    voice.setVolume(voice.volume + volumeSlideStep);
    --count;
}

void TesselEffectSlot::channelVolumeSlide(TesselVoice& voice, TesselChannel& live, uint8_t parameter, uint16_t flags)
{
    if (flags & voice_flag::kSetup) {
        volumeSlideStep = slideSetup(*this, parameter, true, (flags & voice_flag::kPlayback) != 0);
        return;
    }
    (void)voice;
    if (hold != 0)
        return;
    live.setVolume(live.volume + volumeSlideStep);
    --count;
}

void TesselEffectSlot::panSlide(TesselVoice& voice, uint8_t parameter)
{
    if (isSetup(voice)) {
        const int32_t hi = high(parameter);
        const int32_t lo = low(parameter);
        int32_t slide = 0;
        hold = 0;
        count = 1;
        if (hi == 0) {
            slide = lo;
            count = 100;
            hold = 1;
        } else if (lo == 0) {
            slide = -hi;
            count = 100;
            hold = 1;
        } else if (hi == 15) {
            slide = lo;
        } else if (lo == 15) {
            slide = -hi;
        }
        if (isPlayback(voice))
            hold = 0;
        panSlideStep = static_cast<int8_t>(slide);
        return;
    }
    if (hold != 0)
        return;
    voice.setPanning((voice.panning & 127) + panSlideStep);
    --count;
}

void TesselEffectSlot::tremolo(TesselVoice& voice, int32_t depth, int32_t speed)
{
    if (isSetup(voice)) {
        tremoloSpeed = speed;
        tremoloDepth = depth;
        count = 100;
        if ((voice.flags & voice_flag::kNewNote) && voice.row.volume == -1)
            tremoloPosition = 0;
        return;
    }
    const int32_t advance = (tremoloSpeed & 0xFF) * 4;
    tremoloValue = static_cast<int8_t>(waveStep(tremoloWaveform, tremoloPosition, advance, tremoloDepth));
}

void TesselEffectSlot::panbrello(TesselVoice& voice, int32_t depth, int32_t speed)
{
    if (isSetup(voice)) {
        panbrelloSpeed = speed;
        panbrelloDepth = depth;
        count = 100;
        if ((voice.flags & voice_flag::kNewNote) && voice.row.panning == -1)
            panbrelloPosition = 0;
        return;
    }
    const int32_t advance = panbrelloSpeed & 0xFF;   // not x 4
    panbrelloValue = static_cast<int8_t>(waveStep(panbrelloWaveform, panbrelloPosition, advance, panbrelloDepth));
}

void TesselEffectSlot::tremor(TesselVoice& voice, uint8_t parameter)
{
    if (isSetup(voice)) {
        if (parameter != 0) {
            count = 2;
            hold = high(parameter);
        }
        return;
    }
    if (hold != 0)
        return;
    if (count == 2) {
        tremorOff = 1;
        hold = low(parameter);
        count = 1;
    } else if (count == 1) {
        tremorOff = 0;
        count = 0;
    }
}

void TesselEffectSlot::retrigger(TesselVoice& voice, int32_t interval, int32_t type)
{
    interval = std::max(0, interval);
    if (isSetup(voice)) {
        count = 1;
        if (voice.flags & voice_flag::kNewPitch)
            hold = interval;
        return;
    }
    if (hold != 0)
        return;
    voice.position = 0;
    voice.fraction = 0.0f;
    hold = interval;
    if (voice.flags & voice_flag::kNewPitch)
        return;
    static constexpr int8_t kSteps[16] = {0, -1, -2, -4, -8, -16, 0, 0, 0, 1, 2, 4, 8, 16, 0, 0};
    int32_t v = voice.volume + kSteps[type & 15];
    switch (type & 15) {
    case 6: v = voice.volume * 2 / 3; break;
    case 7: v = voice.volume / 2; break;
    case 14: v = voice.volume * 3 / 2; break;
    case 15: v = voice.volume * 2; break;
    default: break;
    }
    voice.setVolume(v);
}
