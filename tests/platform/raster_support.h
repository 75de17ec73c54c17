#pragma once
// Pixel probes shared by the canvas and text tests.

#include "platform/graphics/canvas.h"

#include <set>
#include <utility>

namespace raster_test {

using namespace platform;

constexpr Colour kPaper = rgb(10, 20, 30);
constexpr Colour kInk = rgb(250, 200, 100);

using PixelSet = std::set<std::pair<int, int>>;

// Every pixel that differs from `background`.
inline PixelSet changedPixels(const Image& image, Colour background)
{
    PixelSet changed;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!(image.pixelAt(x, y) == background))
                changed.insert({x, y});
    return changed;
}

// Pixels outside `area` that differ from `background`.
inline int changedOutside(const Image& image, const Rect& area, Colour background)
{
    int count = 0;
    for (auto [x, y] : changedPixels(image, background))
        count += area.contains({x, y}) ? 0 : 1;
    return count;
}

inline bool samePixels(const Image& a, const Image& b)
{
    if (a.width() != b.width() || a.height() != b.height())
        return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (!(a.pixelAt(x, y) == b.pixelAt(x, y)))
                return false;
    return true;
}

// The smallest rectangle holding every changed pixel (empty when none).
inline Rect inkBounds(const Image& image, Colour background)
{
    Rect r{};
    bool any = false;
    for (auto [x, y] : changedPixels(image, background)) {
        r = any ? Rect{std::min(r.left, x), std::min(r.top, y), std::max(r.right, x + 1), std::max(r.bottom, y + 1)}
                : Rect{x, y, x + 1, y + 1};
        any = true;
    }
    return r;
}

} // namespace raster_test
