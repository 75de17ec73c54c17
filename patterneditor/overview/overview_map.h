#pragma once
// The pattern overview's map: the whole current pattern at one pixel per
// field, 6 pixels a channel (note, instrument, volume column, effect letter,
// parameter, a gap) and one line a row, in a 16-colour palette of its own.

#include "platform/graphics/colour.h"

#include <array>
#include <cstdint>

class TesselPatternUI;
namespace platform {
class Image;
}

// Palette entries. A row's background is its highlight kind (0 plain, 1
// major, 2 minor); a selected cell's is that moved kSelectedShift on.
enum TesselOverviewColour : uint8_t {
    kOverviewPlainRow = 0,   // also the map's background
    kOverviewMajorRow = 1,
    kOverviewMinorRow = 2,
    kOverviewSelectedPlain = 3,
    kOverviewSelectedMajor = 4,
    kOverviewSelectedMinor = 5,
    kOverviewNote = 6,
    kOverviewInstrument = 7,
    kOverviewVolume = 8,
    kOverviewEffect = 9,
    kOverviewParameter = 10,
    kOverviewFrame = 11,
    kOverviewColourCount = 16,
};
constexpr uint8_t kOverviewSelectedShift = 3;

constexpr int kOverviewChannelWidth = 6;
constexpr int kOverviewMapWidth = 64 * kOverviewChannelWidth;
constexpr int kOverviewMapHeight = 256;

const std::array<platform::Colour, kOverviewColourCount>& overviewPalette();

// Renders the grid's current pattern into a map of 384 x 256 pixels (a
// smaller image is drawn as far as it reaches). Reads the song without the
// song lock and creates no track or row.
void renderPatternMap(platform::Image& map, const TesselPatternUI& grid);
