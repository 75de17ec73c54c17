// Pixels from the backing image to the window: the image's words go out as
// they are where the visual has 32-bit pixels in the same order, which is
// every visual a desktop gives today; others get each pixel converted.

#include "platform/x11/x11_system.h"

#include <cstdlib>
#include <vector>

namespace platform::x11 {

namespace {

constexpr int kNativeOrder = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ ? LSBFirst : MSBFirst;

int bitsPerPixel(Display* display, int depth)
{
    int count = 0;
    XPixmapFormatValues* formats = XListPixmapFormats(display, &count);
    int bits = 0;
    for (int i = 0; i < count; ++i)
        if (formats[i].depth == depth)
            bits = formats[i].bits_per_pixel;
    if (formats)
        XFree(formats);
    return bits;
}

// An 8-bit component scaled into a visual's mask.
unsigned long scaled(uint32_t component, unsigned long mask)
{
    if (mask == 0)
        return 0;
    int shift = 0;
    while (!((mask >> shift) & 1))
        ++shift;
    const unsigned long top = mask >> shift;
    return ((component * top + 127) / 255) << shift;
}

XImage wrap(char* data, int width, int height, int depth, int bytesPerLine)
{
    XImage image{};
    image.width = width;
    image.height = height;
    image.format = ZPixmap;
    image.data = data;
    image.byte_order = kNativeOrder;
    image.bitmap_unit = 32;
    image.bitmap_bit_order = kNativeOrder;
    image.bitmap_pad = 32;
    image.depth = depth;
    image.bytes_per_line = bytesPerLine;
    image.bits_per_pixel = 32;
    image.red_mask = 0xFF0000;
    image.green_mask = 0xFF00;
    image.blue_mask = 0xFF;
    XInitImage(&image);
    return image;
}

} // namespace

Presenter::Presenter(Display* display, Visual* visual, int depth) : visual_(visual), depth_(depth)
{
    direct_ = visual->c_class == TrueColor && visual->red_mask == 0xFF0000 && visual->green_mask == 0xFF00
           && visual->blue_mask == 0xFF && (depth == 24 || depth == 32) && bitsPerPixel(display, depth) == 32;
    opaqueAlpha_ = depth == 32;
}

void Presenter::put(Display* display, Drawable target, GC gc, const Image& image, const Rect& area) const
{
    const Rect part = intersect(area, image.bounds());
    if (part.empty() || !visual_)
        return;
    const uint32_t* pixels = image.pixels();
    const int stride = image.stride();
    if (direct_ && !opaqueAlpha_) {
        XImage whole = wrap(const_cast<char*>(reinterpret_cast<const char*>(pixels)), image.width(), image.height(),
                            depth_, stride * 4);
        XPutImage(display, target, gc, &whole, part.left, part.top, part.left, part.top,
                  static_cast<unsigned>(part.width()), static_cast<unsigned>(part.height()));
        return;
    }
    if (direct_) {
        // The image's top byte is not alpha; a 32-bit visual reads it as such.
        std::vector<uint32_t> opaque(static_cast<size_t>(part.width()) * static_cast<size_t>(part.height()));
        uint32_t* out = opaque.data();
        for (int32_t y = part.top; y < part.bottom; ++y)
            for (int32_t x = part.left; x < part.right; ++x)
                *out++ = pixels[y * stride + x] | 0xFF000000u;
        XImage piece = wrap(reinterpret_cast<char*>(opaque.data()), part.width(), part.height(), depth_,
                            part.width() * 4);
        XPutImage(display, target, gc, &piece, 0, 0, part.left, part.top, static_cast<unsigned>(part.width()),
                  static_cast<unsigned>(part.height()));
        return;
    }
    XImage* piece = XCreateImage(display, visual_, static_cast<unsigned>(depth_), ZPixmap, 0, nullptr,
                                 static_cast<unsigned>(part.width()), static_cast<unsigned>(part.height()), 32, 0);
    if (!piece)
        return;
    piece->data = static_cast<char*>(std::malloc(static_cast<size_t>(piece->bytes_per_line) * part.height()));
    if (!piece->data) {
        XDestroyImage(piece);
        return;
    }
    for (int32_t y = 0; y < part.height(); ++y)
        for (int32_t x = 0; x < part.width(); ++x) {
            const uint32_t p = pixels[(part.top + y) * stride + part.left + x];
            XPutPixel(piece, x, y, scaled(p >> 16 & 0xFF, visual_->red_mask) | scaled(p >> 8 & 0xFF, visual_->green_mask)
                                       | scaled(p & 0xFF, visual_->blue_mask));
        }
    XPutImage(display, target, gc, piece, 0, 0, part.left, part.top, static_cast<unsigned>(part.width()),
              static_cast<unsigned>(part.height()));
    XDestroyImage(piece);
}

} // namespace platform::x11
