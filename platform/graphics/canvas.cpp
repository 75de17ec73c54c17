#include "platform/graphics/canvas.h"

#include "platform/graphics/image_surface.h"

#include <cstring>
#include <vector>

namespace platform {

namespace {

// The part of destination that lies inside clip and whose source pixels lie
// inside the source image; sourceShift maps it back to source coordinates.
Rect readableSpan(const Rect& destination, const Rect& clip, const Image& source, Point sourceAt, Point& sourceShift)
{
    sourceShift = {sourceAt.x - destination.left, sourceAt.y - destination.top};
    const Rect sourceInDestination = source.bounds().movedBy(-sourceShift.x, -sourceShift.y);
    return intersect(intersect(destination, clip), sourceInDestination);
}

bool overlaps(const Rect& a, const Rect& b) { return !intersect(a, b).empty(); }

} // namespace

Canvas::Canvas(Image& target) : target_(&target), clip_(target.bounds()) {}

void Canvas::setClip(const Rect& clip) { clip_ = intersect(clip, target_->bounds()); }

void Canvas::fillRect(const Rect& rect, Colour colour)
{
    const Rect r = intersect(rect, clip_);
    if (r.empty())
        return;
    uint32_t* bits = target_->mutablePixels();
    const int32_t stride = target_->stride();
    const uint32_t pixel = toPixel(colour);
    if (pixman_fill(bits, stride, 32, r.left, r.top, r.width(), r.height(), pixel))
        return;
    for (int32_t y = r.top; y < r.bottom; ++y)
        std::fill_n(bits + size_t(y) * stride + r.left, r.width(), pixel);
}

void Canvas::frameRect(const Rect& rect, Colour colour)
{
    if (rect.empty())
        return;
    fillRect({rect.left, rect.top, rect.right, rect.top + 1}, colour);
    fillRect({rect.left, rect.bottom - 1, rect.right, rect.bottom}, colour);
    fillRect({rect.left, rect.top, rect.left + 1, rect.bottom}, colour);
    fillRect({rect.right - 1, rect.top, rect.right, rect.bottom}, colour);
}

void Canvas::setPixel(Point at, Colour colour)
{
    if (clip_.contains(at))
        target_->mutablePixels()[size_t(at.y) * target_->stride() + at.x] = toPixel(colour);
}

void Canvas::copy(const Image& source, const Rect& destination, Point sourceAt)
{
    Point shift;
    const Rect r = readableSpan(destination, clip_, source, sourceAt, shift);
    if (r.empty())
        return;
    const int32_t sx = r.left + shift.x;
    const int32_t sy = r.top + shift.y;
    if (&source == target_) {
        // Rows in the order that never overwrites a row still to be read;
        // memmove settles overlap within a row.
        uint32_t* bits = target_->mutablePixels();
        const int32_t stride = target_->stride();
        const bool upward = r.top > sy;
        for (int32_t i = 0; i < r.height(); ++i) {
            const int32_t row = upward ? r.height() - 1 - i : i;
            std::memmove(bits + size_t(r.top + row) * stride + r.left, bits + size_t(sy + row) * stride + sx,
                         size_t(r.width()) * 4);
        }
        return;
    }
    auto* from = const_cast<uint32_t*>(source.pixels());
    uint32_t* to = target_->mutablePixels();
    if (pixman_blt(from, to, source.stride(), target_->stride(), 32, 32, sx, sy, r.left, r.top, r.width(), r.height()))
        return;
    pixman_image_composite32(PIXMAN_OP_SRC, source.surface()->pixman, nullptr, target_->surface()->pixman, sx, sy, 0, 0,
                             r.left, r.top, r.width(), r.height());
}

void Canvas::copyKeyed(const Image& source, const Rect& destination, Point sourceAt, Colour key)
{
    Point shift;
    const Rect r = readableSpan(destination, clip_, source, sourceAt, shift);
    if (r.empty())
        return;
    const Rect sourceRect = r.movedBy(shift.x, shift.y);
    if (&source == target_ && overlaps(r, sourceRect)) {
        Image part(r.width(), r.height());
        Canvas(part).copy(source, part.bounds(), {sourceRect.left, sourceRect.top});
        copyKeyed(part, r, {0, 0}, key);
        return;
    }
    const uint32_t keyPixel = toPixel(key);
    const uint32_t* from = source.pixels();
    uint32_t* to = target_->mutablePixels();
    for (int32_t y = 0; y < r.height(); ++y) {
        const uint32_t* in = from + size_t(sourceRect.top + y) * source.stride() + sourceRect.left;
        uint32_t* out = to + size_t(r.top + y) * target_->stride() + r.left;
        // Branch-free so that the compiler vectorises it: glyph pixels come
        // in no order a branch predictor could learn.
        for (int32_t x = 0; x < r.width(); ++x) {
            const uint32_t copied = 0u - uint32_t(!sameRgb(in[x], keyPixel));
            out[x] = (in[x] & copied) | (out[x] & ~copied);
        }
    }
}

} // namespace platform
