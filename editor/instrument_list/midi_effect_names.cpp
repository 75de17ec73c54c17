#include "editor/instrument_list/midi_effect_names.h"

#include <cstdio>

namespace {

// Controllers with names of their own; the rest are "Undefined" (with the
// controller they are the LSB of, for 52..63).
const char* namedController(int c)
{
    switch (c) {
    case 0: return "Bank Select";
    case 1: return "Modulation Wheel";
    case 2: return "Breath Ctrl";
    case 4: return "Foot Ctrl";
    case 5: return "Portamento Time";
    case 6: return "Data Entry MSB";
    case 7: return "Channel Volume";
    case 8: return "Balance";
    case 10: return "Pan";
    case 11: return "Expression Ctrl";
    case 12: return "Effect Control 1";
    case 13: return "Effect Control 2";
    case 16: return "Gen. Purpose Ctrl 1";
    case 17: return "Gen. Purpose Ctrl 2";
    case 18: return "Gen. Purpose Ctrl 3";
    case 19: return "Gen. Purpose Ctrl 4";
    case 32: return "Bank Select LSB";
    case 33: return "Modulation Wheel LSB";
    case 34: return "Breath Ctrl LSB";
    case 35: return "Undefined LSB (for CC#3)";
    case 36: return "Foot Ctrl LSB";
    case 37: return "Portamento Time LSB";
    case 38: return "Data Entry LSB";
    case 39: return "Channel Volume LSB";
    case 40: return "Balance LSB";
    case 41: return "Undefined LSB (for CC#9)";
    case 42: return "Pan LSB";
    case 43: return "Expression Controller LSB";
    case 44: return "Effect control 1 LSB";
    case 45: return "Effect control 2 LSB";
    case 46: return "Undefined LSB (for CC#14)";
    case 47: return "Undefined LSB (for CC#15)";
    case 48: return "Gen. Purpose Ctrl 1 LSB";
    case 49: return "Gen. Purpose Ctrl 2 LSB";
    case 50: return "Gen. Purpose Ctrl 3 LSB";
    case 51: return "Gen. Purpose Ctrl 4 LSB";
    case 64: return "Damper/Sustain Pedal On/Off ";
    case 65: return "Portamento On/Off";
    case 66: return "Sustenuto On/Off";
    case 67: return "Soft Pedal On/Off";
    case 68: return "Legato Footswitch";
    case 69: return "Hold 2";
    case 70: return "Snd Ctrl 1 (Sound Variation)";
    case 71: return "Snd Ctrl 2 (Timb./Harm. Level)";
    case 72: return "Snd Ctrl 3 (Release Time)";
    case 73: return "Snd Ctrl 4 (Attack Time)";
    case 74: return "Snd Ctrl 5 (Brightness)";
    case 75: return "Snd Ctrl 6 (Decay Time)";
    case 76: return "Snd Ctrl 7 (Vibrato Rate)";
    case 77: return "Snd Ctrl 8 (Vibrato Depth)";
    case 78: return "Snd Ctrl 9 (Vibrato Delay)";
    case 79: return "Snd Ctrl 10 (Undefined)";
    case 80: return "Gen. Purpose Ctrl 5";
    case 81: return "Gen. Purpose Ctrl 6";
    case 82: return "Gen. Purpose Ctrl 7";
    case 83: return "Gen. Purpose Ctrl 8";
    case 84: return "Portamento Control";
    case 91: return "FX 1 Depth (Reverb)";
    case 92: return "FX 2 Depth";
    case 93: return "FX 3 Depth (Chorus)";
    case 94: return "FX 4 Depth";
    case 95: return "FX 5 Depth";
    case 96: return "Data Inc. (Data Entry +1)";
    case 97: return "Data Dec. (Data Entry -1)";
    case 98: return "Non-Reg. Param. No. (NRPN) LSB";
    case 99: return "Non-Reg. Param. No. (NRPN) MSB";
    case 100: return "Reg. Param. No. (RPN) LSB";
    case 101: return "Reg. Param. No. (RPN) MSB";
    case 120: return "All Sound Off";
    case 121: return "Reset All Controllers";
    case 122: return "Local Control On/Off";
    case 123: return "All Notes Off";
    case 124: return "Omni Mode Off";
    case 125: return "Omni Mode On";
    case 126: return "Poly Mode On/Off";
    case 127: return "Poly Mode On";
    default: return nullptr;
    }
}

} // namespace

std::string midiEffectName(int index)
{
    if (index == 0)
        return "Channel Aftertouch";
    if (index == 1)
        return "Key Aftertouch";
    if (index == kMidiEffectEntries - 1)
        return "Articulation (Keyswitch)";
    if (index < 0 || index >= kMidiEffectEntries)
        return {};
    const int c = index - 2;
    char text[64];
    if (const char* name = namedController(c))
        std::snprintf(text, sizeof text, "CC#%d %s", c, name);
    else if (c >= 52 && c <= 63)
        std::snprintf(text, sizeof text, "CC#%d Undefined LSB (for CC#%d)", c, c - 32);
    else
        std::snprintf(text, sizeof text, "CC#%d Undefined", c);
    return text;
}
