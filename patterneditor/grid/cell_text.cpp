#include "patterneditor/grid/cell_text.h"

#include "model/instrument/instrument.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr int16_t kNoteCut = 254;
constexpr int16_t kNoteOff = 255;

constexpr const char* kNoteNames[12] = {"C-", "C#", "D-", "D#", "E-", "F-", "F#", "G-", "G#", "A-", "A#", "B-"};

void put(char* text, int at, const char* field, int width)
{
    std::memcpy(text + at, field, static_cast<size_t>(width));
}

void fill(char* text, int at, char c, int width)
{
    std::memset(text + at, c, static_cast<size_t>(width));
}

// Two decimal digits, or "??" for a value that does not fit them.
void putTwoDigits(char* text, int at, int value)
{
    if (value < 0 || value > 99) {
        fill(text, at, '?', 2);
        return;
    }
    text[at] = static_cast<char>('0' + value / 10);
    text[at + 1] = static_cast<char>('0' + value % 10);
}

void putNote(char* text, int16_t pitch)
{
    if (pitch == -1)
        fill(text, 1, kMiddleDot, 3);
    else if (pitch == kNoteOff)
        put(text, 1, "===", 3);
    else if (pitch == kNoteCut)
        put(text, 1, "^^^", 3);
    else if (pitch < 0 || pitch >= 120)
        put(text, 1, "???", 3);
    else {
        put(text, 1, kNoteNames[pitch % 12], 2);
        text[3] = static_cast<char>('0' + pitch / 12);
    }
}

void putInstrument(char* text, const TesselSubrowData& cell, const TesselCellFormat& format)
{
    const int n = cell.instrument;
    if (n == 0) {
        fill(text, 5, kMiddleDot, 2);
        return;
    }
    const bool known = n >= 1 && n <= kInstruments;
    if (known && format.instrumentLabels && static_cast<size_t>(n) <= format.instruments.size()) {
        // Labels hold up to 3 characters; the field shows the first two.
        const char* label = format.instruments[static_cast<size_t>(n - 1)].label;
        for (int i = 0; i < 2; ++i)
            text[5 + i] = label[0] && (i == 0 || label[1]) ? label[i] : ' ';
        return;
    }
    putTwoDigits(text, 5, known ? n : -1);
}

void putVolumeColumn(char* text, const TesselSubrowData& cell, uint8_t mode)
{
    const int16_t value = mode == kShowPanning ? cell.panning : mode == kShowDepth ? cell.depth : cell.volume;
    text[7] = ' ';
    text[10] = ' ';
    if (value == -1)
        fill(text, 8, kMiddleDot, 2);
    else
        putTwoDigits(text, 8, value);
}

void putEffect(char* text, const TesselEffect& effect)
{
    const auto letter = static_cast<unsigned char>(effect.command);
    text[11] = letter >= 0x21 && letter < 0x7F ? effect.command : '?';
    if (effect.parameter < 0 || effect.parameter > 255) {
        fill(text, 12, '?', 2);
        return;
    }
    static constexpr char kHex[] = "0123456789ABCDEF";
    text[12] = kHex[effect.parameter >> 4];
    text[13] = kHex[effect.parameter & 15];
}

} // namespace

const TesselCellText& emptyCellText()
{
    static const TesselCellText text = [] {
        TesselCellText t{};
        formatCellText(t.data(), TesselSubrowData{}, TesselCellFormat{});
        t[0] = ' ';
        return t;
    }();
    return text;
}

const char* noteName(int semitone)
{
    return kNoteNames[((semitone % 12) + 12) % 12];
}

void formatCellText(char* text, const TesselSubrowData& cell, const TesselCellFormat& format)
{
    putNote(text, cell.pitch);
    text[4] = ' ';
    putInstrument(text, cell, format);
    putVolumeColumn(text, cell, format.volumeMode);
    putEffect(text, cell.effect);
    text[kCellTextLength] = '\0';
}
