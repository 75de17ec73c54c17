#pragma once
// Colours travel in three byte orders: the toolkit's record (red, green, blue,
// a fourth byte drawing ignores), GDI's COLORREF (0x00BBGGRR) and the image
// pixel (0x..RRGGBB in a native 32-bit word). Every conversion is here.

#include <cstdint>

namespace platform {

struct Colour {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t alpha = 0;   // carried, never drawn

    friend constexpr bool operator==(Colour a, Colour b)
    {
        return a.red == b.red && a.green == b.green && a.blue == b.blue;
    }
};

constexpr Colour rgb(uint8_t red, uint8_t green, uint8_t blue) { return {red, green, blue, 0}; }

// The colour-key default of every bitmap: pure green.
constexpr Colour kKeyGreen = rgb(0, 255, 0);

constexpr uint32_t toColorRef(Colour c)
{
    return uint32_t(c.red) | uint32_t(c.green) << 8 | uint32_t(c.blue) << 16;
}

constexpr Colour fromColorRef(uint32_t value)
{
    return rgb(uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16));
}

// The top byte of a pixel is not alpha. toPixel sets it to 0xFF, but pixman
// and Cairo writers may leave anything there: readers mask it with kPixelRgb,
// and a presenter to a 32-bit visual sets it.
constexpr uint32_t kPixelRgb = 0x00FFFFFFu;

constexpr uint32_t toPixel(Colour c)
{
    return 0xFF000000u | uint32_t(c.red) << 16 | uint32_t(c.green) << 8 | uint32_t(c.blue);
}

constexpr Colour fromPixel(uint32_t pixel)
{
    return rgb(uint8_t(pixel >> 16), uint8_t(pixel >> 8), uint8_t(pixel));
}

constexpr bool sameRgb(uint32_t pixelA, uint32_t pixelB) { return ((pixelA ^ pixelB) & kPixelRgb) == 0; }

} // namespace platform
