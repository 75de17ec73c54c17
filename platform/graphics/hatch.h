#pragma once
// GDI's hatch brushes: 8 x 8 patterns aligned to the image's origin, of
// which only the hatch lines are painted (the transparent background mode).

#include "platform/graphics/canvas.h"

#include <cstdint>

namespace platform {

// HS_HORIZONTAL .. HS_DIAGCROSS.
enum class Hatch : uint8_t {
    horizontal = 0,
    vertical = 1,
    forwardDiagonal = 2,    // "\"
    backwardDiagonal = 3,   // "/"
    cross = 4,
    diagonalCross = 5,
};

// Whether the pattern paints pixel (x, y) of the image.
bool hatchCovers(Hatch style, int32_t x, int32_t y);

// The rectangle (right and bottom left out) inside the canvas's clip.
void fillHatched(Canvas& canvas, const Rect& rect, Colour colour, Hatch style);

} // namespace platform
