#include "model/import/xm_effects.h"

#include <algorithm>

namespace {

enum XmEffect : int {
    kArpeggio = 0x0,
    kSetVolume = 0xC,
    kPatternBreak = 0xD,
    kExtended = 0xE,
    kSpeedOrTempo = 0xF,
    kPanningSlide = 25,
    kMultiRetrigger = 27,
    kTremor = 29,
    kExtraFine = 33,
};

constexpr int kMaxVolume = 64;
constexpr int kFirstTempo = 32;

// Letters of the effects whose parameter passes unchanged ('.' = none).
char plainLetter(int e)
{
    static constexpr char kLetters[] = "JFEGHLKRXODB";   // 0..B
    if (e >= 0 && e <= 0xB)
        return kLetters[e];
    switch (e) {
    case kPatternBreak: return 'C';
    case kPanningSlide: return 'P';
    case kMultiRetrigger: return 'Q';
    case kTremor: return 'I';
    default: return '.';
    }
}

void setEffect(TesselSubrowData& cell, char letter, int parameter)
{
    cell.effect.command = letter;
    cell.effect.parameter = static_cast<int16_t>(letter == '.' ? 0 : parameter);
}

void convertExtended(TesselSubrowData& cell, int p)
{
    const int y = p & 0x0F;
    switch (p >> 4) {
    case 0x1: setEffect(cell, 'F', 0xF0 + y); break;
    case 0x2: setEffect(cell, 'E', 0xF0 + y); break;
    // Waveform settings become S effects of high nibble 0, which the import
    // clean-up removes.
    case 0x4: setEffect(cell, 'S', (0x30 + y) & 4); break;
    case 0x7: setEffect(cell, 'S', (0x40 + y) & 4); break;
    case 0x6: setEffect(cell, 'S', 0xB0 + y); break;
    case 0x8: setEffect(cell, 'S', 0x80 + y); break;
    case 0x9: setEffect(cell, 'Q', y); break;
    case 0xA: setEffect(cell, 'D', (y << 4) + 0x0F); break;
    case 0xB: setEffect(cell, 'D', 0xF0 + y); break;
    case 0xC: setEffect(cell, 'S', 0xC0 + y); break;
    case 0xD: setEffect(cell, 'S', 0xD0 + y); break;
    default: setEffect(cell, '.', 0); break;
    }
}

void convertExtraFine(TesselSubrowData& cell, int p)
{
    switch (p >> 4) {
    case 0x1: setEffect(cell, 'F', 0xE0 + (p & 0x0F)); break;
    case 0x2: setEffect(cell, 'E', 0xE0 + (p & 0x0F)); break;
    default: setEffect(cell, '.', 0); break;
    }
}

} // namespace

TesselEffect speedOrTempoEffect(int p)
{
    TesselEffect effect;
    if (p > 0) {
        effect.command = p < kFirstTempo ? 'A' : 'T';
        effect.parameter = static_cast<int16_t>(p);
    }
    return effect;
}

void convertXmEffect(TesselSubrowData& cell, int e, int p, bool hasParameter)
{
    p &= 0xFF;
    if (!hasParameter) {
        if (e == kSetVolume)
            cell.volume = 0;
        setEffect(cell, plainLetter(e), 0);
        return;
    }
    switch (e) {
    case kArpeggio:
        setEffect(cell, p != 0 ? 'J' : '.', p);
        break;
    case kSetVolume:
        cell.volume = static_cast<int16_t>(std::min(p, kMaxVolume));
        setEffect(cell, '.', 0);
        break;
    case kPatternBreak:
        setEffect(cell, 'C', (p >> 4) * 10 + (p & 0x0F));
        break;
    case kExtended:
        convertExtended(cell, p);
        break;
    case kExtraFine:
        convertExtraFine(cell, p);
        break;
    case kSpeedOrTempo: {
        const TesselEffect effect = speedOrTempoEffect(p);
        setEffect(cell, effect.command, effect.parameter);
        break;
    }
    default:
        setEffect(cell, plainLetter(e), p);
        break;
    }
}
