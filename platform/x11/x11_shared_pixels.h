#pragma once
// Pixels the X server reads from memory we share with it (MIT-SHM), so that
// what a window shows goes to a local server without passing through the
// connection. A window holds one buffer of its own size; what changed is
// copied into it at the same place and put from there. Remote servers, and
// servers without the extension, refuse it: the caller then sends the
// pixels in the request (XPutImage).

#include "platform/graphics/image.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

#include <memory>

namespace platform::x11 {

class SharedPixels {
public:
    // Null when the server cannot share memory with us.
    static std::unique_ptr<SharedPixels> create(Display* display, Visual* visual, int depth, int32_t width,
                                                int32_t height);
    ~SharedPixels();
    SharedPixels(const SharedPixels&) = delete;
    SharedPixels& operator=(const SharedPixels&) = delete;

    int32_t width() const { return image_->width; }
    int32_t height() const { return image_->height; }
    // Copies the area of the image (of this buffer's size) in, with the top
    // byte set when opaque (a 32-bit visual reads it as alpha), and asks the
    // server to put it on the target. The buffer must not be written again
    // before the server has read it (see XSync).
    void put(Drawable target, GC gc, const Image& image, const Rect& area, bool opaque);

private:
    explicit SharedPixels(Display* display) : display_(display) {}

    Display* display_;
    XImage* image_ = nullptr;
    XShmSegmentInfo segment_{};
    bool attached_ = false;
};

} // namespace platform::x11
