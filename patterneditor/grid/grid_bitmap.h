#pragma once
// The grid's own offscreen bitmaps: 24-bit CBitmap2s held by one reference
// each, forgotten when replaced or released.

#include "gui/bitmap.h"
#include "platform/graphics/canvas.h"

#include <memory>

struct TesselForgetBitmap {
    void operator()(CBitmap* bitmap) const { bitmap->forget(); }
};
using TesselBitmapHolder = std::unique_ptr<CBitmap2, TesselForgetBitmap>;

// A bitmap of that size wholly in the colour; empty for a size of 0.
inline TesselBitmapHolder makeGridBitmap(int width, int height, platform::Colour fill)
{
    if (width <= 0 || height <= 0)
        return {};
    TesselBitmapHolder bitmap(new CBitmap2(24, width, height));
    platform::Canvas(bitmap->image()).fillRect(bitmap->image().bounds(), fill);
    return bitmap;
}

inline bool hasSize(const TesselBitmapHolder& bitmap, int width, int height)
{
    return bitmap && bitmap->getWidth() == width && bitmap->getHeight() == height;
}
