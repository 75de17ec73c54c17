// The effect description table. The slide rows say what the replay does:
// for D, K, L and N a high digit slides up and a low digit down, the fine
// forms (xF up, Fx down) likewise.
#include "patterneditor/effect_descriptions.h"

#include <cstdio>

namespace {

// Value kinds and places of a row.
enum Kind : int32_t { kNoValue = 0, kHexDigit = 1, kResolution = 2, kVolume = 3, kLowByte = 4, kByte = 5 };
enum Place : int32_t { kWhole = 0, kHigh = 1, kLow = 2, kBoth = 3, kNone = 255 };

constexpr const char* kEffectListHint = "(click or press F1 for effect list)";

struct Row {
    const char* key;
    const char* text;
    int16_t lower = 0;
    int16_t upper = 0;
    int32_t kind = kNoValue;
    int32_t place = kNone;
    const char* hint = "";
};

// A slide letter's seven rows: both digits, 00, x0 and F0, 0x, xF, Fx.
struct SlideNames {
    char letter;
    const char* plain;
    const char* up;        // x0
    const char* down;      // 0x
    const char* fineUp;    // xF
    const char* fineDown;  // Fx
};

void addRow(TesselEffectTable& table, const Row& row)
{
    table.add({row.key, row.text, row.lower, row.upper, row.kind, row.place, row.hint});
}

void addSlide(TesselEffectTable& table, const SlideNames& s)
{
    const auto key = [&s](const char* rest) { return std::string(1, s.letter) + rest; };
    const auto text = [&s](const char* name, const char* form) {
        return std::string(name) + " (" + s.letter + form + ")";
    };
    table.add({key("**"), text(s.plain, "xx"), 0, 0, kNoValue, kNone, ""});
    table.add({key("00"), text(s.plain, "xx"), 0, 0, kNoValue, kNone, ""});
    table.add({key("*0"), text(s.up, "x0"), 0, 15, kHexDigit, kHigh, "speed"});
    table.add({key("F0"), text(s.up, "x0"), 0, 15, kHexDigit, kHigh, "speed"});
    table.add({key("0*"), text(s.down, "0x"), 0, 15, kHexDigit, kLow, "speed"});
    table.add({key("*F"), text(s.fineUp, "xF"), 1, 14, kHexDigit, kHigh, "speed"});
    table.add({key("F*"), text(s.fineDown, "Fx"), 1, 14, kHexDigit, kLow, "speed"});
}

constexpr SlideNames kSlides[] = {
    {'D', "Volume Slide", "Volume Slide Up", "Volume Slide Down", "Fine Volume Slide Up", "Fine Volume Slide Down"},
    {'K', "Vibrato + Volume Slide", "Vibrato + Volume Slide Up", "Vibrato + Volume Slide Down",
     "Vibrato + Fine Volume Slide Up", "Vibrato + Fine Volume Slide Down"},
    {'L', "Portamento + Volume Slide", "Portamento + Volume Slide Up", "Portamento + Volume Slide Down",
     "Portamento + Fine Volume Slide Up", "Portamento + Fine Volume Slide Down"},
    {'N', "Channel Volume Slide", "Channel Volume Slide Up", "Channel Volume Slide Down",
     "Fine Channel Volume Slide Up", "Fine Channel Volume Slide Down"},
    {'P', "Panning Slide", "Panning Slide Down", "Panning Slide Up", "Fine Panning Slide Down",
     "Fine Panning Slide Up"},
    {'V', "Depth Slide", "Depth Slide Forwards", "Depth Slide Backwards", "Fine Depth Slide Forwards",
     "Fine Depth Slide Backwards"},
    {'W', "Theta Slide", "Theta Slide Forwards", "Theta Slide Backwards", "Fine Theta Slide Forwards",
     "Fine Theta Slide Backwards"},
};

const Row kRows[] = {
    {"***", "Invalid effect", 0, 0, kNoValue, kNone, kEffectListHint},
    {".**", "No effect"},
    {"@**", "Set Tempo (@xx)", 0, 255, kByte, kWhole, "tempo"},
    {"A**", "Set Pattern Resolution (Axx)", 0, 32, kResolution, kWhole, "resolution"},
    {"B**", "Jump to Order (Bxx)", 0, 255, kByte, kWhole, "order"},
    {"C**", "Pattern Break (Cxx)", 0, 255, kByte, kWhole, "row"},
    {"E**", "Pitch Slide Down (Exx)"},
    {"EF*", "Fine Pitch Slide Down (EFx)"},
    {"EE*", "Extra Fine Pitch Slide Down (EEx)"},
    {"F**", "Pitch Slide Up (Fxx)"},
    {"FF*", "Fine Pitch Slide Up (FFx)"},
    {"FE*", "Extra Fine Pitch Slide Up (FEx)"},
    {"G**", "Portamento to pitch (Gxx)"},
    {"H**", "Vibrato (Hxy)", 0, 15, kHexDigit, kBoth, "rate"},
    {"I**", "Tremor (Ixy)"},
    {"J**", "Arpeggio (Jxy)"},
    {"M**", "Set Channel Volume (Mxx)", 0, 64, kVolume, kWhole, "volume"},
    {"O**", "Set Sample Offset (Oxx)"},
    {"Q**", "Retrigger (Qxy)"},
    {"R**", "Tremolo (Rxy)"},
    {"S**", "Special Extended Effect (Sxx)"},
    {"S00", "Special Extended Effect (Sxx)"},
    {"S0*", "Set Output Bus (S0x)"},
    {"S3*", "Set Vibrato Waveform (S3x)"},
    {"S4*", "Set Tremolo Waveform (S4x)"},
    {"S5*", "Set Panbrello Waveform (S5x)"},
    {"S70", "Release Previous Note (S7x)", 0, 0, kNoValue, kNone, "(0 = cut, 1 = off, 2 = fade)"},
    {"S71", "Release Previous Note (S7x)", 0, 0, kNoValue, kNone, "(0 = cut, 1 = off, 2 = fade)"},
    {"S72", "Release Previous Note (S7x)", 0, 0, kNoValue, kNone, "(0 = cut, 1 = off, 2 = fade)"},
    {"S73", "Set NNA for Note (S7x)", 0, 0, kNoValue, kNone, "(3 = cut, 4 = continue, 5 = off, 6 = fade)"},
    {"S74", "Set NNA for Note (S7x)", 0, 0, kNoValue, kNone, "(3 = cut, 4 = continue, 5 = off, 6 = fade)"},
    {"S75", "Set NNA for Note (S7x)", 0, 0, kNoValue, kNone, "(3 = cut, 4 = continue, 5 = off, 6 = fade)"},
    {"S76", "Set NNA for Note (S7x)", 0, 0, kNoValue, kNone, "(3 = cut, 4 = continue, 5 = off, 6 = fade)"},
    {"S77", "Toggle Volume Envelope (S7x)", 0, 0, kNoValue, kNone, "(7 = off, 8 = on)"},
    {"S78", "Toggle Volume Envelope (S7x)", 0, 0, kNoValue, kNone, "(7 = off, 8 = on)"},
    {"S79", "Toggle Panning Envelope (S7x)", 0, 0, kNoValue, kNone, "(9 = off, A = on)"},
    {"S7A", "Toggle Panning Envelope (S7x)", 0, 0, kNoValue, kNone, "(9 = off, A = on)"},
    {"S7B", "Toggle Pitch Envelope (S7x)", 0, 0, kNoValue, kNone, "(B = off, C = on)"},
    {"S7C", "Toggle Pitch Envelope (S7x)", 0, 0, kNoValue, kNone, "(B = off, C = on)"},
    {"S7D", "Toggle Filter Envelope (S7x)", 0, 0, kNoValue, kNone, "(D = off, E = on)"},
    {"S7E", "Toggle Filter Envelope (S7x)", 0, 0, kNoValue, kNone, "(D = off, E = on)"},
    {"S8*", "Set Coarse Panning Position (S8x)", 0, 15, kHexDigit, kLow, "position"},
    {"S9*", "Set Coarse Depth Position (S9x)", 0, 15, kHexDigit, kLow, "position"},
    {"SA*", "Set High Sample Offset (SAy)", 0, 15, kHexDigit, kLow, "offset (yxx00h)"},
    {"SB0", "Set / Trigger Repeat (SBx)"},
    {"SB*", "Trigger Repeats (SBx)", 1, 15, kHexDigit, kLow, "repeats"},
    {"SC*", "Note Cut (SCx)", 0, 15, kHexDigit, kLow, "tick"},
    {"SD*", "Note Delay (SDx)", 0, 15, kHexDigit, kLow, "tick"},
    {"T**", "Set Theta Position (Txx)"},
    {"U**", "Fine Vibrato (Hxy)", 0, 15, kHexDigit, kBoth, "rate"},
    {"X**", "Set Panning Position (Xxx)", 0, 255, kByte, kWhole, "position"},
    {"Y**", "Panbrello (Yxy)"},
    {"Z**", "Set Filter Cutoff (Zxx)", 0, 127, kLowByte, kWhole, "frequency"},
    {"Z8*", "Set Filter Resonance (Z8x)", 0, 15, kHexDigit, kLow, "resonance"},
};

} // namespace

void fillEffectDescriptions(TesselEffectTable& table)
{
    for (const Row& row : kRows)
        addRow(table, row);
    for (const SlideNames& slide : kSlides)
        addSlide(table, slide);
    for (char digit = '0'; digit <= '9'; ++digit)
        table.add({std::string(1, digit) + "**", std::string("MIDI Effect ") + digit + " (" + digit + "xx)", 0, 255,
                   kByte, kWhole, "value"});
}

TesselEffectSummary describeEffect(const TesselEffectTable& table, char letter, int parameter)
{
    const std::string key = effectKey(letter, parameter);
    const TesselEffectDescription* row = table.find(key);
    if (!row)
        row = table.find("***");
    TesselEffectSummary summary;
    summary.title = row ? key + "  " + row->text : key;
    if (!row)
        return summary;
    const int value = parameter & 0xFF;
    const int high = value >> 4;
    const int low = value & 15;
    char text[96] = {};
    switch (row->place) {
    case kWhole:
    case kHigh:
    case kLow: {
        const int shown = row->place == kWhole ? value : row->place == kHigh ? high : low;
        const bool outside = shown < row->lower || shown > row->upper;
        std::snprintf(text, sizeof text, "%s %d%s", row->hint.c_str(), shown, outside ? " (out of range)" : "");
        break;
    }
    case kBoth:
        std::snprintf(text, sizeof text, "%s x %d, y %d", row->hint.c_str(), high, low);
        break;
    default:
        std::snprintf(text, sizeof text, "%s", row->hint.c_str());
        break;
    }
    summary.detail = text;
    return summary;
}
