// The screen of an X display: the root window, which spans every monitor,
// read back and widened to 0x..RRGGBB through the masks of its visual,
// whatever its depth. A compositor may leave windows out of the root's
// pixels; that is accepted.

#include "platform/x11/x11_system.h"
#include "platform/x11/x11_errors.h"

namespace platform::x11 {

namespace {

// One channel of a pixel, widened to 8 bits with rounding, so that a 5-bit
// 31 gives 255, 0 gives 0 and a 10-bit channel loses its low bits evenly.
class Channel {
public:
    explicit Channel(unsigned long mask) : mask_(mask)
    {
        while (mask && !(mask & 1)) {
            mask >>= 1;
            ++shift_;
        }
        top_ = mask;
    }
    uint8_t operator()(unsigned long pixel) const
    {
        return top_ ? uint8_t((((pixel & mask_) >> shift_) * 255 + top_ / 2) / top_) : 0;
    }

private:
    unsigned long mask_;
    unsigned shift_ = 0;
    unsigned long top_ = 0;
};

// Empty without all three masks: a palette screen's pixels are not colours.
Image widened(XImage& shot)
{
    if (!shot.red_mask || !shot.green_mask || !shot.blue_mask)
        return Image();
    Image screen(shot.width, shot.height);
    if (screen.empty())
        return screen;
    const Channel red(shot.red_mask), green(shot.green_mask), blue(shot.blue_mask);
    uint32_t* row = screen.mutablePixels();
    for (int y = 0; y < shot.height; ++y, row += screen.stride())
        for (int x = 0; x < shot.width; ++x) {
            const unsigned long pixel = XGetPixel(&shot, x, y);
            row[x] = toPixel(rgb(red(pixel), green(pixel), blue(pixel)));
        }
    return screen;
}

} // namespace

Image System::captureScreen()
{
    ErrorTrap trap(display_);
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display_, root_, &attributes) || attributes.width <= 0 || attributes.height <= 0)
        return Image();
    XImage* shot = XGetImage(display_, root_, 0, 0, unsigned(attributes.width), unsigned(attributes.height), AllPlanes,
                             ZPixmap);
    // A failed request may still leave an image behind: it is not trusted.
    const bool failed = trap.failed();
    Image screen;
    if (shot && !failed)
        screen = widened(*shot);
    if (shot)
        XDestroyImage(shot);
    return screen;
}

} // namespace platform::x11
