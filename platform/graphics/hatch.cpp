#include "platform/graphics/hatch.h"

namespace platform {

bool hatchCovers(Hatch style, int32_t x, int32_t y)
{
    const int32_t u = x & 7;
    const int32_t v = y & 7;
    switch (style) {
    case Hatch::horizontal: return v == 3;
    case Hatch::vertical: return u == 4;
    case Hatch::forwardDiagonal: return u == v;
    case Hatch::backwardDiagonal: return u + v == 7;
    case Hatch::cross: return u == 4 || v == 3;
    case Hatch::diagonalCross: return u == v || u + v == 7;
    }
    return false;
}

void fillHatched(Canvas& canvas, const Rect& rect, Colour colour, Hatch style)
{
    const Rect area = intersect(rect, canvas.clip());
    if (area.empty())
        return;
    Image& image = canvas.image();
    uint32_t* pixels = image.mutablePixels();
    const uint32_t pixel = toPixel(colour);
    for (int32_t y = area.top; y < area.bottom; ++y) {
        uint32_t* row = pixels + size_t(y) * size_t(image.stride());
        for (int32_t x = area.left; x < area.right; ++x)
            if (hatchCovers(style, x, y))
                row[x] = pixel;
    }
}

} // namespace platform
