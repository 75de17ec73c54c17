#pragma once
// The editor's colour table as the pattern grid and the key map use it.
// Entries 0-2 are row backgrounds and equal the row-highlight values, so a
// row's highlight byte names its colour.

#include "platform/graphics/colour.h"

#include <array>
#include <cstdint>

enum TesselGridColour : uint8_t {
    kColourPlainRow = 0,
    kColourMajorRow = 1,
    kColourMinorRow = 2,
    kColourSelection = 3,
    kColourCursor = 4,
    kColourCursorInk = 5,
    kColourPlayRow = 6,
    kColourPlayLine = 7,
    kColourGuideFace = 8,
    kColourGuideEdge = 9,
    kColourMarkedInk = 10,   // selected fields, and song rows around the pattern
    kColourInk = 11,
    kColourLine = 12,        // the program's line colour
    kColourGuideInk = 13,
    kColourMutedInk = 14,
    kGridColourCount = 16,
};

const std::array<platform::Colour, kGridColourCount>& gridColours();

inline platform::Colour gridColour(uint8_t entry)
{
    return gridColours()[entry < kGridColourCount ? entry : 0];
}
