#pragma once
// The pattern grid's measures, taken from its font: a cell is the width of
// "G#00000000W00" plus an 8-pixel margin, a line the font's height. Two
// tables of 15 character widths and their running x positions place the
// characters of a cell: one for a row's own subrow, one (2 pixels further
// in, with the note's '#' and the following blank a pixel narrower) for its
// further subrows.

#include "platform/graphics/font.h"

#include <array>
#include <cstdint>

struct TesselFontRecord;

constexpr int kCellColumns = 15;

struct TesselColumnTable {
    std::array<int32_t, kCellColumns> widths{};
    std::array<int32_t, kCellColumns> positions{};   // positions[p]: x of text position p in the cell
};

struct TesselFontMetrics {
    int32_t cellWidth = 0;
    int32_t rowHeight = 0;
    int32_t characterWidth = 0;
    TesselColumnTable own;
    TesselColumnTable further;

    static TesselFontMetrics measure(const platform::Font& font);
};

// The font request of the preferences' pattern font: the height in points
// becomes a pixel em at 96 dots per inch (MulDiv rounding), the width stays.
platform::FontRequest gridFontRequest(const TesselFontRecord& description);

// The width the page gives the description before the font is made: the
// "fontwidth" preference, or when that is -1 (Auto) the height for the
// program's own face "Quorbel" and 0 (the face's own) for any other.
void settlePatternFontWidth(TesselFontRecord& description, int16_t fontWidth);
