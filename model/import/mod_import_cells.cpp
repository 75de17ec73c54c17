// Pattern cells: sample number split over two nibbles, a 12-bit Amiga period
// and the classic effect nibbles converted to the song's effect letters.

#include "model/import/mod_import_parts.h"
#include "model/instrument/instrument.h"
#include "model/song/subrow.h"
#include "model/import/xm_effects.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// Five octaves of C to B; index + 12 is the pitch.
constexpr std::array<uint16_t, 60> kPeriods = {
    1712, 1616, 1524, 1440, 1356, 1280, 1208, 1140, 1076, 1016, 960, 906, 856, 808, 762,
    720,  678,  640,  604,  570,  538,  508,  480,  453,  428,  404, 381, 360, 339, 320,
    302,  285,  269,  254,  240,  226,  214,  202,  190,  180,  170, 160, 151, 143, 135,
    127,  120,  113,  107,  101,  95,   90,   85,   80,   75,   71,  67,  63,  60,  56};

struct Effect {
    char command = '.';
    int parameter = 0;
};

// The main nibbles 0..B take the parameter as it is.
constexpr std::array<char, 12> kLetters = {'J', 'F', 'E', 'G', 'H', 'L', 'K', 'R', 'X', 'O', 'D', 'B'};

Effect extended(int p)
{
    const int y = p & 0x0F;
    switch (p >> 4) {
    case 0x1: return {'F', 0xF0 + y};
    case 0x2: return {'E', 0xF0 + y};
    case 0x6: return {'S', 0xB0 + y};
    case 0x8: return {'S', 0x80 + y};
    case 0x9: return {'Q', y};
    case 0xA: return {'D', (y << 4) + 0x0F};
    case 0xB: return {'D', 0xF0 + y};
    case 0xC: return {'S', 0xC0 + y};
    case 0xD: return {'S', 0xD0 + y};
    default: return {};   // filter, glissando, waveforms, finetune, loops, delays the song does not take
    }
}

Effect convertEffect(int e, int p, int16_t& volume)
{
    switch (e) {
    case 0x0:
    case 0x5:
    case 0x6:
    case 0xA:
        return p == 0 ? Effect{} : Effect{kLetters[static_cast<size_t>(e)], p};
    case 0xC:
        volume = static_cast<int16_t>(p);
        return {};
    case 0xD:
        return {'C', (p >> 4) * 10 + (p & 15)};
    case 0xE:
        return extended(p);
    case 0xF: {
        const TesselEffect effect = speedOrTempoEffect(p);
        return {effect.command, effect.parameter};
    }
    default:
        return {kLetters[static_cast<size_t>(e)], p};
    }
}

} // namespace

bool convertModCell(const uint8_t b[4], TesselSubrowData& cell)
{
    cell = TesselSubrowData{};
    const int sample = (b[0] & 0xF0) + (b[2] >> 4);
    if (sample >= 1 && sample <= kInstruments)
        cell.instrument = static_cast<int16_t>(sample);
    const int period = (b[0] & 0x0F) * 256 + b[1];
    const auto found = std::find(kPeriods.begin(), kPeriods.end(), period);
    if (found != kPeriods.end())
        cell.pitch = static_cast<int16_t>(found - kPeriods.begin() + 12);
    const Effect effect = convertEffect(b[2] & 0x0F, b[3], cell.volume);
    cell.effect.command = effect.command;
    cell.effect.parameter = static_cast<int16_t>(effect.parameter);
    return cell.instrument != 0 || cell.pitch != -1 || cell.volume != -1 || cell.effect.command != '.';
}

int32_t modFinetuneSpeed(int finetune)
{
    const int f = (finetune & 0x0F) < 8 ? (finetune & 0x0F) : (finetune & 0x0F) - 16;
    return static_cast<int32_t>(33037.67 * std::pow(2.0, f / 96.0) + 0.5);
}
