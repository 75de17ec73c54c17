#include "platform/graphics/image_surface.h"

#include <cstdio>
#include <cstring>

namespace platform {

Image::Surface::~Surface()
{
    if (context)
        cairo_destroy(context);
    if (pixman)
        pixman_image_unref(pixman);
    if (cairo)
        cairo_surface_destroy(cairo);
}

cairo_t* Image::Surface::forCairo()
{
    if (directWrote) {
        cairo_surface_mark_dirty(cairo);
        directWrote = false;
    }
    if (!context)
        context = cairo_create(cairo);
    cairoDrew = true;
    return context;
}

Image::Image() = default;
Image::~Image() = default;
Image::Image(Image&&) noexcept = default;
Image& Image::operator=(Image&&) noexcept = default;

Image::Image(int32_t width, int32_t height, Colour fill)
{
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide)
        return;
    auto surface = std::make_unique<Surface>();
    surface->cairo = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    if (cairo_surface_status(surface->cairo) != CAIRO_STATUS_SUCCESS)
        return;
    const int strideBytes = cairo_image_surface_get_stride(surface->cairo);
    auto* bits = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface->cairo));
    surface->pixman = pixman_image_create_bits(PIXMAN_x8r8g8b8, width, height, bits, strideBytes);
    if (!surface->pixman)
        return;
    pixman_fill(bits, strideBytes / 4, 32, 0, 0, width, height, toPixel(fill));
    surface->directWrote = true;
    surface_ = std::move(surface);
    width_ = width;
    height_ = height;
    stride_ = strideBytes / 4;
}

Image Image::fromPixels(int32_t width, int32_t height, const uint32_t* pixels)
{
    Image image(width, height);
    if (image.empty() || !pixels)
        return image;
    uint32_t* out = image.mutablePixels();
    for (int32_t y = 0; y < height; ++y)
        std::memcpy(out + size_t(y) * image.stride_, pixels + size_t(y) * width, size_t(width) * 4);
    return image;
}

Image Image::clone() const
{
    Image copy(width_, height_);
    if (!copy.empty())
        std::memcpy(copy.mutablePixels(), pixels(), size_t(stride_) * 4 * height_);
    return copy;
}

Colour Image::pixelAt(int32_t x, int32_t y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return {};
    return fromPixel(pixels()[size_t(y) * stride_ + x]);
}

const uint32_t* Image::pixels() const
{
    if (!surface_)
        return nullptr;
    surface_->settleForReading();
    return pixelData(*this);
}

uint32_t* Image::mutablePixels()
{
    if (!surface_)
        return nullptr;
    surface_->settleForWriting();
    return pixelData(*this);
}

bool Image::writePng(const std::string& path) const
{
    if (!surface_)
        return false;
    surface_->settleForReading();
    if (cairo_surface_write_to_png(surface_->cairo, path.c_str()) == CAIRO_STATUS_SUCCESS)
        return true;
    std::remove(path.c_str());
    return false;
}

} // namespace platform
