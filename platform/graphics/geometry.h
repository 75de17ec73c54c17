#pragma once
// Integer pixel geometry of the raster: rectangles exclude their right and
// bottom edges, as GDI's filled shapes do.

#include <algorithm>
#include <cstdint>

namespace platform {

struct Point {
    int32_t x = 0;
    int32_t y = 0;
    friend constexpr bool operator==(Point, Point) = default;
};

struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    constexpr int32_t width() const { return right - left; }
    constexpr int32_t height() const { return bottom - top; }
    constexpr bool empty() const { return right <= left || bottom <= top; }
    constexpr bool contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    constexpr Rect movedBy(int32_t dx, int32_t dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

constexpr Rect rectOfSize(int32_t x, int32_t y, int32_t width, int32_t height)
{
    return {x, y, x + width, y + height};
}

// Empty results are normalised to a zero rectangle so callers test empty() only.
constexpr Rect intersect(const Rect& a, const Rect& b)
{
    Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
    return r.empty() ? Rect{} : r;
}

} // namespace platform
