#pragma once
// The bitmap fonts' letter shapes: 5 pixels wide, 8 high. Capitals and
// digits stand on row 6, lower case is rows 2 to 6, descenders use row 7.

#include <array>
#include <cstdint>
#include <optional>

namespace generator {

// One byte per row; bit 4 is the leftmost pixel.
using GlyphRows = std::array<uint8_t, 8>;

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 8;

// The shape of a Windows-1252 character; none for controls, blanks and the
// code points the code page leaves undefined.
std::optional<GlyphRows> glyphFor(unsigned char c);

// From 8 rows of '#' and '.', for the tables.
struct GlyphPicture {
    unsigned char code;
    const char* rows[8];
};
GlyphRows parseGlyph(const GlyphPicture& picture);

// The printable ASCII table (0x21..0x7E) and the hand-drawn shapes of the
// upper half that are not letters with marks.
const GlyphPicture* findAsciiGlyph(unsigned char c);
const GlyphPicture* findSymbolGlyph(unsigned char c);

} // namespace generator
