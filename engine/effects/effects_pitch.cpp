// Pitch letters: slides (E, F), portamento (G, L), vibrato (H, U, K) and
// arpeggio (J).
#include "engine/effects/effects_internal.h"
#include "engine/tables.h"
#include "engine/voice/voice_update_tables.h"

using namespace effects;

void TesselEffectSlot::pitchSlide(TesselVoice& voice, bool down, uint8_t parameter)
{
    if (isSetup(voice)) {
        const TesselTables& t = tesselTables();
        const int32_t hi = high(parameter);
        const int32_t lo = low(parameter);
        hold = 0;
        count = 1;
        if (hi == 14) {
            slideFactor = down ? t.finestPitchInverse[lo] : t.finestPitch[lo];
        } else if (hi == 15) {
            slideFactor = down ? t.finePitchInverse[lo] : t.finePitch[lo];
        } else {
            slideFactor = down ? t.finePitchInverse[parameter] : t.finePitch[parameter];
            hold = 1;
            count = 100;
        }
        if (isPlayback(voice))
            hold = 0;
        return;
    }
    if (hold != 0)
        return;
    voice.pitchFactor *= slideFactor;
    --count;
}

void TesselEffectSlot::portamento(TesselVoice& voice, uint8_t speed)
{
    if (isSetup(voice)) {
        portamentoSpeed = speed;
        if (rowHasNote(voice))
            portamentoTarget = static_cast<int8_t>(voice.row.pitch);
        if (portamentoTarget == -1)
            return;
        const float target = voice.noteFactor(portamentoTarget);
        const TesselTables& t = tesselTables();
        if (voice.pitchFactor < target)
            slideFactor *= t.finePitch[speed];
        else if (voice.pitchFactor > target)
            slideFactor *= t.finePitchInverse[speed];
        hold = isPlayback(voice) ? 0 : 1;
        count = 100;
        return;
    }
    if (hold != 0 || portamentoTarget < 0)
        return;
    const float target = voice.noteFactor(portamentoTarget);
    voice.pitchFactor *= slideFactor;
    if ((slideFactor > 1.0f && voice.pitchFactor >= target) || (slideFactor < 1.0f && voice.pitchFactor <= target)) {
        voice.pitchFactor = target;
        slideFactor = 1.0f;
    }
}

void TesselEffectSlot::vibrato(TesselVoice& voice, int32_t depth, int32_t speed)
{
    if (isSetup(voice)) {
        if (depth != 0)
            vibratoDepth = depth;
        if (speed != 0)
            vibratoSpeed = speed;
        count = 100;
        // A portamento row glides on without restarting the phase.
        const char rowLetter = voice.row.effect.command;
        if (rowHasNote(voice) && rowLetter != 'G' && rowLetter != 'L')
            vibratoPosition = 0;
        return;
    }
    vibratoFactor = pitchFactor768(waveStep(vibratoWaveform, vibratoPosition, (vibratoSpeed & 0xFF) * 4, vibratoDepth));
}

void TesselEffectSlot::arpeggio(TesselVoice& voice, int32_t x, int32_t y)
{
    if (isSetup(voice)) {
        count = 3;
        return;
    }
    if (hold != 0)
        return;
    // 2^(n/12) is 16 n steps of the 1/192-octave table.
    const TesselTables& t = tesselTables();
    if (count == 3) {
        arpeggioFactor = 1.0f;
        count = 2;
    } else if (count == 2) {
        arpeggioFactor = t.finePitch[(x & 15) * 16];
        count = 1;
    } else if (count == 1) {
        arpeggioFactor = t.finePitch[(y & 15) * 16];
        count = 3;
    }
}
