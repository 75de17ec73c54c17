#pragma once
// A 32-bit picture as the platform's images hold it: one uint32 per pixel,
// 0x00RRGGBB (the top byte is never alpha), top row first, `stride` bytes
// apart. The image object captures from such a view and draws into one; the
// adapters over the platform image and the draw context only fill it in.

#include <cstdint>

struct CxPixelRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0; // right and bottom excluded

    bool isEmpty() const { return right <= left || bottom <= top; }
    CxPixelRect intersect(const CxPixelRect& o) const
    {
        return {left > o.left ? left : o.left, top > o.top ? top : o.top,
                right < o.right ? right : o.right, bottom < o.bottom ? bottom : o.bottom};
    }
};

struct CxPixelView {
    uint8_t* pixels = nullptr; // null: nothing to read or draw on
    int32_t width = 0;
    int32_t height = 0;
    int32_t stride = 0;

    uint32_t* row(int32_t y) const { return reinterpret_cast<uint32_t*>(pixels + int64_t(y) * stride); }
    CxPixelRect bounds() const { return {0, 0, width, height}; }
};

// Where Draw paints: a view and the clip that the drawing context keeps on
// it, in view coordinates (the context's offset already applied by the caller).
struct CxDrawTarget {
    CxPixelView view;
    CxPixelRect clip;
};
