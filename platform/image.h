#pragma once
// Stand-in for the image layer: plain 32-bit pixels, enough for windows to
// own a backing image until the raster layer arrives.

#include "platform/colour.h"
#include "platform/geometry.h"

#include <cstdint>
#include <vector>

namespace platform {

class Image {
public:
    Image() = default;
    Image(int32_t width, int32_t height, Colour fill = {})
        : pixels_(width > 0 && height > 0 ? size_t(width) * size_t(height) : 0, toPixel(fill)),
          width_(width > 0 && height > 0 ? width : 0), height_(width > 0 && height > 0 ? height : 0)
    {
    }
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    bool empty() const { return width_ == 0; }
    Rect bounds() const { return {0, 0, width_, height_}; }
    Colour pixelAt(int32_t x, int32_t y) const
    {
        return bounds().contains({x, y}) ? fromPixel(pixels_[size_t(y) * size_t(width_) + size_t(x)]) : Colour{};
    }

private:
    std::vector<uint32_t> pixels_;
    int32_t width_ = 0;
    int32_t height_ = 0;
};

} // namespace platform
