// The S letter: waveforms, new-note actions, envelope switches, panning,
// high offset, loop passes and the note cut SCx.
#include "engine/effects/effects_internal.h"

#include "model/song/channel.h"

using namespace effects;

void TesselEffectSlot::loopPass(int32_t x)
{
    const uint8_t before = loopPasses;
    ++loopPasses;
    if (before & 1)
        loopMark = static_cast<uint8_t>(2 * x + 2);
}

void TesselEffectSlot::subcommand(TesselVoice& voice, uint8_t parameter)
{
    const int32_t x = low(parameter);
    if (isSetup(voice)) {
        TesselChannel* live = voice.liveChannel;
        switch (high(parameter)) {
        case 0x3:
            if (x <= 3)
                vibratoWaveform = x;
            break;
        case 0x4:
            if (x <= 3)
                tremoloWaveform = x;
            break;
        case 0x5:
            if (x <= 3)
                panbrelloWaveform = x;
            break;
        case 0x7:
            if (x >= 3 && x <= 6) {
                voice.newNoteAction = static_cast<uint8_t>(x - 3);
            } else if (x >= 7 && x <= 14) {
                // S77/S78 volume, S79/S7A panning, S7B/S7C pitch, S7D/S7E filter.
                voice.envelopes[(x - 7) / 2].enabled = static_cast<uint8_t>((x - 7) & 1);
            }
            break;   // S70..S72 act on past notes in the channel row step
        case 0x8:
            voice.setPanning(x * 4);
            if (live)
                live->setPanning(x * 4);
            break;
        case 0xA:
            if (live)
                live->highOffset = x;
            break;
        case 0xB:
            loopPass(x);
            break;
        case 0xC:
            hold = x <= 1 ? 1 : x;
            count = 1;
            break;
        default:
            break;   // SDx is the node row step's; the rest do nothing
        }
    }
    if (hold == 0 && high(parameter) == 0xC) {
        voice.cut();
        count = 0;
    }
}
