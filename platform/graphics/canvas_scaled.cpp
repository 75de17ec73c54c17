#include "platform/graphics/canvas.h"

#include "platform/graphics/image_surface.h"

namespace platform {

namespace {

// Nearest sampling maps destination index i of `length` to source index
// floor((i + 0.5) * sourceLength / length) from the source rectangle's start.
int64_t sampleOf(int64_t i, int64_t length, int64_t sourceLength)
{
    return (2 * i + 1) * sourceLength / (2 * length);
}

// Narrows [first, last) of destination indices to those that read inside
// [readableFrom, readableTo) of source indices (both relative to the source
// rectangle). Only the unreadable margins are walked.
void keepReadable(int32_t length, int32_t sourceLength, int32_t readableFrom, int32_t readableTo, int32_t& first,
                  int32_t& last)
{
    while (first < last && sampleOf(first, length, sourceLength) < readableFrom)
        ++first;
    while (last > first && sampleOf(last - 1, length, sourceLength) >= readableTo)
        --last;
}

} // namespace

void Canvas::stretch(const Image& source, const Rect& sourceRect, const Rect& destination)
{
    compose(source, sourceRect, destination, 255);
}

void Canvas::blend(const Image& source, const Rect& sourceRect, const Rect& destination, uint8_t alpha)
{
    if (alpha != 0)
        compose(source, sourceRect, destination, alpha);
}

void Canvas::compose(const Image& source, const Rect& sourceRect, const Rect& destination, int alpha)
{
    const Rect readable = intersect(sourceRect, source.bounds());
    if (readable.empty() || destination.empty() || clip_.empty())
        return;
    if (&source == target_) {
        Image part(readable.width(), readable.height());
        Canvas(part).copy(source, part.bounds(), {readable.left, readable.top});
        compose(part, sourceRect.movedBy(-readable.left, -readable.top), destination, alpha);
        return;
    }

    const int32_t dw = destination.width();
    const int32_t dh = destination.height();
    const int32_t sw = sourceRect.width();
    const int32_t sh = sourceRect.height();
    int32_t firstX = std::max(0, clip_.left - destination.left);
    int32_t lastX = std::min(dw, clip_.right - destination.left);
    int32_t firstY = std::max(0, clip_.top - destination.top);
    int32_t lastY = std::min(dh, clip_.bottom - destination.top);
    keepReadable(dw, sw, readable.left - sourceRect.left, readable.right - sourceRect.left, firstX, lastX);
    keepReadable(dh, sh, readable.top - sourceRect.top, readable.bottom - sourceRect.top, firstY, lastY);
    if (firstX >= lastX || firstY >= lastY)
        return;

    // A pixman view of the readable part only, padded at its edges, so no
    // rounding of the sampling can ever read beyond it.
    source.surface()->settleForReading();
    auto* bits = pixelData(source) + size_t(readable.top) * source.stride() + readable.left;
    pixman_image_t* view = pixman_image_create_bits(PIXMAN_x8r8g8b8, readable.width(), readable.height(), bits,
                                                    source.stride() * 4);
    if (!view)
        return;
    pixman_image_set_repeat(view, PIXMAN_REPEAT_PAD);
    const int32_t shiftX = sourceRect.left - readable.left;
    const int32_t shiftY = sourceRect.top - readable.top;
    int32_t sampleX = firstX + shiftX;
    int32_t sampleY = firstY + shiftY;
    if (sw != dw || sh != dh) {
        pixman_f_transform scale{};
        scale.m[0][0] = double(sw) / dw;
        scale.m[0][2] = shiftX;
        scale.m[1][1] = double(sh) / dh;
        scale.m[1][2] = shiftY;
        scale.m[2][2] = 1.0;
        pixman_transform fixed;
        pixman_transform_from_pixman_f_transform(&fixed, &scale);
        pixman_image_set_transform(view, &fixed);
        pixman_image_set_filter(view, PIXMAN_FILTER_NEAREST, nullptr, 0);
        sampleX = firstX;
        sampleY = firstY;
    }

    target_->surface()->settleForWriting();
    pixman_image_t* mask = nullptr;
    if (alpha < 255) {
        const pixman_color_t level{0, 0, 0, uint16_t(alpha * 257)};
        mask = pixman_image_create_solid_fill(&level);
    }
    pixman_image_composite32(mask ? PIXMAN_OP_OVER : PIXMAN_OP_SRC, view, mask, target_->surface()->pixman, sampleX,
                             sampleY, 0, 0, destination.left + firstX, destination.top + firstY, lastX - firstX,
                             lastY - firstY);
    if (mask)
        pixman_image_unref(mask);
    pixman_image_unref(view);
}

} // namespace platform
