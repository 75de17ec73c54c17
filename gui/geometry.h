#pragma once
// The toolkit's points, rectangles and colours, and their platform forms.

#include "platform/graphics/colour.h"
#include "platform/graphics/geometry.h"

#include <cstdint>
#include <utility>

namespace VSTGUI {

struct CRect;

struct CPoint {
    int32_t h = 0;
    int32_t v = 0;

    constexpr CPoint() = default;
    constexpr CPoint(int32_t h, int32_t v) : h(h), v(v) {}
    constexpr explicit CPoint(platform::Point p) : h(p.x), v(p.y) {}

    CPoint& offset(int32_t dh, int32_t dv)
    {
        h += dh;
        v += dv;
        return *this;
    }
    // Edges included.
    constexpr bool isInside(const CRect& rect) const;
    constexpr platform::Point toPlatform() const { return {h, v}; }
    friend constexpr bool operator==(CPoint, CPoint) = default;
};

struct CRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    constexpr CRect() = default;
    constexpr CRect(int32_t left, int32_t top, int32_t right, int32_t bottom)
        : left(left), top(top), right(right), bottom(bottom)
    {
    }
    constexpr explicit CRect(const platform::Rect& r) : CRect(r.left, r.top, r.right, r.bottom) {}

    // Sets the edges, swapped so that left <= right and top <= bottom.
    CRect& operator()(int32_t l, int32_t t, int32_t r, int32_t b)
    {
        if (l > r)
            std::swap(l, r);
        if (t > b)
            std::swap(t, b);
        left = l;
        top = t;
        right = r;
        bottom = b;
        return *this;
    }

    constexpr int32_t width() const { return right - left; }
    constexpr int32_t height() const { return bottom - top; }
    CRect& offset(int32_t dh, int32_t dv)
    {
        left += dh;
        right += dh;
        top += dv;
        bottom += dv;
        return *this;
    }
    // Keeps width and height.
    CRect& moveTo(int32_t x, int32_t y) { return offset(x - left, y - top); }
    // Right and bottom edges excluded.
    constexpr bool pointInside(const CPoint& p) const { return left <= p.h && p.h < right && top <= p.v && p.v < bottom; }
    constexpr platform::Rect toPlatform() const { return {left, top, right, bottom}; }
    friend constexpr bool operator==(const CRect&, const CRect&) = default;
};

constexpr bool CPoint::isInside(const CRect& r) const
{
    return r.left <= h && h <= r.right && r.top <= v && v <= r.bottom;
}

// Red, green, blue and a fourth byte that drawing ignores.
struct CColor {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t unused = 0;

    constexpr platform::Colour toPlatform() const { return platform::rgb(red, green, blue); }
    friend constexpr bool operator==(CColor a, CColor b)
    {
        return a.red == b.red && a.green == b.green && a.blue == b.blue;
    }
};

constexpr CColor kWhiteCColor{255, 255, 255, 0};
constexpr CColor kBlackCColor{0, 0, 0, 0};
constexpr CColor kGreenCColor{0, 255, 0, 0};

} // namespace VSTGUI

using VSTGUI::CColor;
using VSTGUI::CPoint;
using VSTGUI::CRect;
using VSTGUI::kBlackCColor;
using VSTGUI::kGreenCColor;
using VSTGUI::kWhiteCColor;
