#include "platform/x11/x11_shared_pixels.h"

#include "platform/x11/x11_errors.h"

#include <cstring>
#include <sys/ipc.h>
#include <sys/shm.h>

namespace platform::x11 {

std::unique_ptr<SharedPixels> SharedPixels::create(Display* display, Visual* visual, int depth, int32_t width,
                                                   int32_t height)
{
    if (width <= 0 || height <= 0 || !XShmQueryExtension(display))
        return nullptr;
    std::unique_ptr<SharedPixels> shared(new SharedPixels(display));
    // The image keeps a pointer to the segment's record: it lives in the object.
    XShmSegmentInfo& segment = shared->segment_;
    shared->image_ = XShmCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, nullptr, &segment,
                                     static_cast<unsigned>(width), static_cast<unsigned>(height));
    XImage* image = shared->image_;
    constexpr int kNativeOrder = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ ? LSBFirst : MSBFirst;
    if (!image || image->bits_per_pixel != 32 || image->byte_order != kNativeOrder)
        return nullptr;
    segment.shmid = shmget(IPC_PRIVATE, static_cast<size_t>(image->bytes_per_line) * static_cast<size_t>(height),
                           IPC_CREAT | 0600);
    if (segment.shmid < 0)
        return nullptr;
    void* memory = shmat(segment.shmid, nullptr, 0);
    if (memory == reinterpret_cast<void*>(-1)) {
        shmctl(segment.shmid, IPC_RMID, nullptr);
        return nullptr;
    }
    segment.shmaddr = static_cast<char*>(memory);
    segment.readOnly = True;
    image->data = segment.shmaddr;
    // A server on another machine (or in another IPC namespace) cannot
    // attach: it answers with an error, which the trap catches.
    ErrorTrap trap(display);
    const bool attached = XShmAttach(display, &segment) && !trap.failed();
    // Marked for removal now: it goes when both sides have detached, even
    // if we end without detaching.
    shmctl(segment.shmid, IPC_RMID, nullptr);
    if (!attached)
        return nullptr;
    shared->attached_ = true;
    return shared;
}

SharedPixels::~SharedPixels()
{
    if (attached_) {
        XShmDetach(display_, &segment_);
        XSync(display_, False);
    }
    if (segment_.shmaddr)
        shmdt(segment_.shmaddr);
    if (image_) {
        image_->data = nullptr;
        XDestroyImage(image_);
    }
}

void SharedPixels::put(Drawable target, GC gc, const Image& image, const Rect& area, bool opaque)
{
    const Rect part = intersect(area, intersect(image.bounds(), Rect{0, 0, width(), height()}));
    if (part.empty())
        return;
    const uint32_t* pixels = image.pixels();
    const int stride = image.stride();
    const size_t bytes = static_cast<size_t>(part.width()) * sizeof(uint32_t);
    for (int32_t y = part.top; y < part.bottom; ++y) {
        const uint32_t* from = pixels + static_cast<ptrdiff_t>(y) * stride + part.left;
        auto* to = reinterpret_cast<uint32_t*>(image_->data + static_cast<ptrdiff_t>(y) * image_->bytes_per_line) +
                   part.left;
        if (opaque) {
            for (int32_t x = 0; x < part.width(); ++x)
                to[x] = from[x] | 0xFF000000u;
        } else {
            std::memcpy(to, from, bytes);
        }
    }
    XShmPutImage(display_, target, gc, image_, part.left, part.top, part.left, part.top,
                 static_cast<unsigned>(part.width()), static_cast<unsigned>(part.height()), False);
}

} // namespace platform::x11
