#pragma once
// Two pictures of the editor compared pixel for pixel.

#include "platform/graphics/image.h"

#include <cstdio>
#include <string>

namespace redraw_check {

// Empty when both hold the same colours everywhere; else where they first
// differ and how.
inline std::string firstDifference(const platform::Image& a, const platform::Image& b)
{
    if (a.width() != b.width() || a.height() != b.height())
        return "sizes differ";
    for (int32_t y = 0; y < a.height(); ++y)
        for (int32_t x = 0; x < a.width(); ++x) {
            const platform::Colour p = a.pixelAt(x, y);
            const platform::Colour q = b.pixelAt(x, y);
            if (!(p == q)) {
                char text[96];
                std::snprintf(text, sizeof text, "at %d, %d: %d %d %d against %d %d %d", x, y, p.red, p.green,
                              p.blue, q.red, q.green, q.blue);
                return text;
            }
        }
    return "";
}

} // namespace redraw_check
