// The slot step: set-up of an effect cell with its parameter memory, and the
// letters that act on their raw parameter at set-up only.
#include "engine/effects/effects_internal.h"

#include "model/song/channel.h"
#include "model/song/subrow.h"

#include <algorithm>
#include <cmath>

using namespace effects;

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Set-up of the letters that take the cell's stored parameter as it is.
void rawSetup(TesselVoice& voice, char letter, int32_t raw)
{
    TesselChannel* live = voice.liveChannel;
    switch (letter) {
    case 'M':
        if (voice.state() & voice_state::kMidi)
            voice.setVolume(raw);
        else if (live)
            live->setVolume(raw);
        break;
    case 'X':
        voice.setPanning(raw / 4);
        if (live)
            live->setPanning(raw / 4);
        break;
    case 'Z':
        if (raw >= 0 && raw <= 127)
            voice.setCutoff(raw);
        else if (raw >= 128 && raw <= 143)
            voice.setResonance(std::min<int32_t>(127, static_cast<int32_t>(std::lround((raw & 15) * 128.0 / 15.0))));
        break;
    default:
        break;
    }
}

} // namespace

void TesselEffectSlot::step(TesselVoice& voice, const TesselEffect* cell, bool keymapSlot)
{
    const bool setup = isSetup(voice);
    if (keymapSlot && !cell)
        return;
    if (!setup && count == 0)
        return;
    if (setup && keymapSlot && count == 0 && !(voice.flags & voice_flag::kNewNote))
        return;

    char letter = command;
    const int32_t raw = cell ? cell->parameter : 0;
    if (setup) {
        if (loopMark != 0 && loopMark == loopPasses)
            loopMark = loopPasses = 0;
        command = '.';
        count = 0;
        tremorOff = 0;
        slideFactor = 1.0f;
        volumeSlideStep = 0;
        panSlideStep = 0;
        letter = cell ? cell->command : '.';
        if (letter == '.')
            return;
        TesselEffectMemory* memory = memoryFor(letter);
        if (!memory)
            return;   // not a letter of the replay
        const uint8_t byte = static_cast<uint8_t>(raw & 0xFF);
        if (isDigit(letter)) {
            memory->value = byte;
        } else {
            memory->apply(byte);
            if (letter == 'E' || letter == 'F')
                memoryFor(letter == 'E' ? 'F' : 'E')->apply(byte);
        }
    }
    if (letter == '.')
        return;
    command = letter;
    const TesselEffectMemory* memory = memoryFor(letter);
    const uint8_t p = memory ? memory->value : 0;

    switch (letter) {
    case 'D':
        volumeSlide(voice, p);
        break;
    case 'E':
    case 'F':
        pitchSlide(voice, letter == 'E', p);
        break;
    case 'G':
        portamento(voice, p);
        break;
    case 'H':
        vibrato(voice, low(p) * 4, high(p));
        break;
    case 'I':
        tremor(voice, p);
        break;
    case 'J':
        arpeggio(voice, high(p), low(p));
        break;
    case 'K':
        volumeSlide(voice, p);
        vibrato(voice, 0, 0);
        break;
    case 'L':
        volumeSlide(voice, p);
        portamento(voice, portamentoSpeed);
        break;
    case 'N':
        if (voice.liveChannel)
            channelVolumeSlide(voice, *voice.liveChannel, p, voice.flags);
        break;
    case 'O':
        if (setup && (voice.flags & voice_flag::kNewNote)) {
            const int32_t offset = voice.liveChannel ? voice.liveChannel->highOffset : 0;
            voice.position = (offset * 256 + p) * 256;
            voice.fraction = 0.0f;
        }
        break;
    case 'P':
        panSlide(voice, p);
        break;
    case 'Q':
        retrigger(voice, low(p), high(p));
        break;
    case 'R':
        tremolo(voice, low(p) * 2, high(p));
        break;
    case 'S':
        subcommand(voice, p);
        break;
    case 'U':
        vibrato(voice, low(p), high(p));
        break;
    case 'Y':
        panbrello(voice, low(p) * 2, high(p));
        break;
    case 'M':
    case 'X':
    case 'Z':
        if (setup)
            rawSetup(voice, letter, raw);
        break;
    default:
        break;   // digits, flow letters and the letters without replay action
    }

    if (!setup && hold != 0)
        --hold;
}

void TesselVoice::runEffectSlots()
{
    if (!liveChannel)
        return;
    liveChannel->effectSlots[0].step(*this, keyMapEntry() ? &keyMapEntry()->effect : nullptr, true);
    liveChannel->effectSlots[1].step(*this, &row.effect, false);
}
