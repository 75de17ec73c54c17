#pragma once
// A 32-bit RGB image: a Cairo image surface (RGB24) with a pixman image on the
// same memory, so fills and blits go through pixman and polygons and text
// through Cairo. The top byte of a pixel is never alpha (see colour.h).
// GUI thread only; an image is not shared between threads while drawn.

#include "platform/graphics/colour.h"
#include "platform/graphics/geometry.h"

#include <cstdint>
#include <memory>
#include <string>

namespace platform {

class Image {
public:
    static constexpr int32_t kMaxSide = 16384;

    Image();
    // A side outside 1..kMaxSide gives an empty (0 x 0) image.
    Image(int32_t width, int32_t height, Colour fill = {});
    // Copies width x height pixels (0x..RRGGBB, rows packed without gaps).
    static Image fromPixels(int32_t width, int32_t height, const uint32_t* pixels);
    ~Image();
    Image(Image&&) noexcept;
    Image& operator=(Image&&) noexcept;
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;
    Image clone() const;

    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    bool empty() const { return width_ == 0; }
    Rect bounds() const { return {0, 0, width_, height_}; }

    // Black outside the image.
    Colour pixelAt(int32_t x, int32_t y) const;

    // Direct access for presenters and tests. Pixels are 32-bit words, rows
    // stride() words apart. Reading settles what Cairo still holds; after
    // writing through mutablePixels() Cairo re-reads before it draws again.
    int32_t stride() const { return stride_; }
    const uint32_t* pixels() const;
    uint32_t* mutablePixels();

    // PNG through Cairo; false (with nothing left behind) when it cannot be written.
    bool writePng(const std::string& path) const;

    struct Surface;   // the Cairo and pixman handles (image_surface.h)
    Surface* surface() const { return surface_.get(); }

private:
    std::unique_ptr<Surface> surface_;
    int32_t width_ = 0;
    int32_t height_ = 0;
    int32_t stride_ = 0;
};

} // namespace platform
