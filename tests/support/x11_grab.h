#pragma once
// What the X server shows of a window, read over a test's own connection.

#include "platform/graphics/image.h"

// After the window layer's headers: Xlib's macros rename two of its messages.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdint>
#include <vector>

// Empty when the window cannot be read. alphaSeen gets the top bytes of
// every pixel ANDed together.
inline platform::Image grabWindow(Display* display, ::Window w, uint32_t* alphaSeen = nullptr)
{
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display, w, &attributes))
        return platform::Image();
    XImage* shot = XGetImage(display, w, 0, 0, unsigned(attributes.width), unsigned(attributes.height), AllPlanes,
                             ZPixmap);
    if (!shot)
        return platform::Image();
    std::vector<uint32_t> pixels;
    pixels.reserve(size_t(attributes.width) * size_t(attributes.height));
    uint32_t alpha = 0xFF;
    for (int y = 0; y < attributes.height; ++y)
        for (int x = 0; x < attributes.width; ++x) {
            const unsigned long p = XGetPixel(shot, x, y);
            alpha &= uint32_t(p >> 24);
            pixels.push_back(uint32_t(p) & 0xFFFFFFu);
        }
    XDestroyImage(shot);
    if (alphaSeen)
        *alphaSeen = alpha;
    return platform::Image::fromPixels(attributes.width, attributes.height, pixels.data());
}
