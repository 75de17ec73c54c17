// The tick computation of a voice: effective volume, panning, depth and
// pitch from the effect slots and envelopes, then the gains the mixer ramps to.
#include "engine/tables.h"
#include "engine/timing/position_table.h"
#include "engine/voice/voice.h"
#include "engine/voice/voice_update_tables.h"
#include "engine/voice/waveforms.h"

#include "model/instrument/instrument.h"
#include "model/sample/sample.h"
#include "model/song/channel.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kGainScale = 1.0f / 16777216.0f;   // 2^-24

int32_t clamp64(int32_t v)
{
    return std::clamp<int32_t>(v, 0, 64);
}

// Loaded volumes go into shifts; out of range they are held to 0..64.
uint32_t volume64(int32_t v)
{
    return static_cast<uint32_t>(clamp64(v));
}

} // namespace

void TesselVoice::computeTick()
{
    if (!instrument)
        return;
    tickEnvelopes();
    computeRowValues();
    computeGains();
    applyGains();
}

void TesselVoice::updateEffectiveVolume()
{
    int32_t v = volume;
    bool silenced = false;
    if (liveChannel)
        for (const TesselEffectSlot& slot : liveChannel->effectSlots) {
            if (slot.command == 'R')
                v += slot.tremoloValue;
            silenced = silenced || slot.tremorOff;
        }
    effectiveVolume = static_cast<int8_t>(silenced ? 0 : clamp64(v));
}

void TesselVoice::updateEffectivePanning()
{
    int32_t p = panning & 127;
    if (liveChannel)
        for (const TesselEffectSlot& slot : liveChannel->effectSlots)
            if (slot.command == 'Y')
                p += slot.panbrelloValue;
    p += static_cast<int32_t>(envelopes[kPanningEnvelope].value - 32.0f);
    p += static_cast<int8_t>(separation & 0xFF);
    effectivePanning = static_cast<int8_t>(clamp64(p));
}

void TesselVoice::updateEffectiveDepth()
{
    const int32_t d = (depth & 127) + static_cast<int32_t>(envelopes[kPanningEnvelope].secondValue - 32.0f);
    effectiveDepth = static_cast<uint8_t>(clamp64(d));
}

void TesselVoice::tickPitch()
{
    float f = pitchFactor;
    if (liveChannel)
        for (const TesselEffectSlot& slot : liveChannel->effectSlots) {
            if (slot.command == 'J')
                f *= slot.arpeggioFactor;
            if (slot.modulatesPitch())
                f *= slot.vibratoFactor;
        }
    const int32_t g = std::clamp<int32_t>(static_cast<int32_t>(envelopes[kPitchEnvelope].value - 32.0f) * 8, -255, 255);
    f *= pitchFactor192(g);
    if (sample)
        f = std::min(f, static_cast<float>(std::max<int32_t>(sample->length, 0)));
    current.pitch = f;
}

void TesselVoice::computeGains()
{
    const TesselChannel* channel = liveChannel ? liveChannel : channelSettings;
    const uint32_t channelVolume = channel ? volume64(channel->volume) : 64;
    const uint32_t instrumentVolume = volume64(instrument->globalVolume);

    if (!(state() & voice_state::kSample) || !sample) {
        const uint32_t v = static_cast<uint32_t>(clamp64(effectiveVolume));
        volumeProduct = static_cast<int32_t>(channelVolume * instrumentVolume * v);
        return;
    }

    const uint32_t envelopeVolume = volume64(static_cast<int32_t>(std::floor(envelopes[kVolumeEnvelope].value + 0.5f)));
    uint32_t product = ((envelopeVolume * volume64(sample->globalVolume) * instrumentVolume) >> 6) * channelVolume *
                       static_cast<uint32_t>(clamp64(effectiveVolume));
    product >>= 6;

    if (fade >= 0) {
        if (fade > 0) {
            int64_t d = std::max<int32_t>(instrument->fadeOut, 0);
            if (instrument->envelopes[kVolumeEnvelope].enabled == TesselEnvelope::Milliseconds) {
                const double ms = positionTable ? positionTable->msPerTick : 1.0;
                d = static_cast<int64_t>(instrument->fadeOut * ms * 0.048 + 0.5);
            }
            fade = static_cast<int16_t>(std::max<int64_t>(0, fade - std::max<int64_t>(d, 0)));
        }
        product = (static_cast<uint32_t>(fade) * product) >> 10;
    }
    volumeProduct = static_cast<int32_t>(product);

    const TesselVibrato& vib = sample->vibrato;
    if (vib.depth != 0 && vib.speed != 0) {
        const int32_t limit = std::clamp<int32_t>(vib.depth, 0, 255) * 256;
        autoVibratoDepth = static_cast<uint16_t>(std::clamp<int32_t>(autoVibratoDepth + vib.rate, 0, limit));
        const int32_t w = waveformValue(vib.waveform, autoVibratoPhase);
        autoVibratoPhase = static_cast<uint8_t>(autoVibratoPhase + vib.speed);
        current.pitch *= pitchFactor768((w * autoVibratoDepth) >> 14);
    }

    const uint32_t v = channelMuted() ? 0 : product;
    const TesselTables& t = tesselTables();
    const int x = rotatedPanX(rotation, clamp64(effectivePanning), clamp64(effectiveDepth));
    const bool mono = sample->channels <= 1;
    leftGain = static_cast<int32_t>(v * static_cast<uint32_t>(mono ? t.quarterCosine[x] : t.quarterCosineR2[x]));
    rightGain = static_cast<int32_t>(v * static_cast<uint32_t>(mono ? t.quarterSine[x] : t.quarterSineR2[x]));
}

void TesselVoice::applyGains()
{
    current.gain0 = static_cast<float>(leftGain) * kGainScale;
    current.gain1 = static_cast<float>(rightGain) * kGainScale;
    ramp[1] = current.gain0;
    ramp[3] = current.gain1;
    if (state() & voice_state::kNoRamp) {
        ramp[0] = ramp[1];
        ramp[2] = ramp[3];
        setState(static_cast<uint8_t>(state() & ~voice_state::kNoRamp));
    }
}
