// The image object over the toolkit: the capture reads a platform image, and
// drawing goes into a draw context's image. Both only fill in pixel views for
// the platform-free code (image_pixel_view.cpp).
#include "image/cx_image.h"

#include "gui/draw_context.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/image.h"

#include <algorithm>
#include <limits>

bool CxImage::CreateFromHBITMAP(const platform::Image* bitmap, uintptr_t)
{
    if (!Destroy())
        return false;
    if (!bitmap)
        return false;
    // pixels() settles what Cairo still holds; the view only reads.
    const uint32_t* pixels = bitmap->empty() ? nullptr : bitmap->pixels();
    const CxPixelView view{reinterpret_cast<uint8_t*>(const_cast<uint32_t*>(pixels)), bitmap->width(),
                           bitmap->height(), bitmap->stride() * 4};
    return CreateFromPixels(view);
}

namespace {

// A rectangle in a context's coordinates moved by its offset into the
// image's, each edge clamped into `within` (not empty), so nothing overflows.
CxPixelRect placed(int64_t left, int64_t top, int64_t right, int64_t bottom, const CPoint& offset,
                   const CxPixelRect& within)
{
    const auto clamp = [](int64_t value, int32_t low, int32_t high) {
        return int32_t(std::clamp<int64_t>(value, low, high));
    };
    return {clamp(left + offset.h, within.left, within.right), clamp(top + offset.v, within.top, within.bottom),
            clamp(right + offset.h, within.left, within.right), clamp(bottom + offset.v, within.top, within.bottom)};
}

bool fitsInt32(int64_t value)
{
    return value >= std::numeric_limits<int32_t>::min() && value <= std::numeric_limits<int32_t>::max();
}

} // namespace

int CxImage::Draw(VSTGUI::CDrawContext* context, int32_t x, int32_t y, int32_t width, int32_t height,
                  const CxPixelRect* clip, bool smooth) const
{
    platform::Image* target = context ? context->getImage() : nullptr;
    if (!dib_ || !target || target->empty() || width == 0 || height == 0 || !info_.enabled)
        return 0;
    if (width < 0)
        width = GetWidth();
    if (height < 0)
        height = GetHeight();

    const CPoint offset = context->getOffset();
    CRect contextClip;
    context->getClipRect(contextClip);
    CxPixelRect box = placed(contextClip.left, contextClip.top, contextClip.right, contextClip.bottom, offset,
                             {0, 0, target->width(), target->height()});
    if (clip && !box.isEmpty())
        box = placed(clip->left, clip->top, clip->right, clip->bottom, offset, box);
    if (box.isEmpty())
        return 1;
    const CxPixelRect painted = placed(x, y, int64_t(x) + width, int64_t(y) + height, offset, box);
    const int64_t left = int64_t(x) + offset.h - painted.left;
    const int64_t top = int64_t(y) + offset.v - painted.top;
    if (painted.isEmpty() || !fitsInt32(left) || !fitsInt32(top))
        return 1;

    // As on a screen: the painted area's pixels are read into a section, the
    // image is drawn over them, and the section goes back through the
    // context, which keeps to its clip and the paint's damage and presents it.
    platform::Image section(painted.right - painted.left, painted.bottom - painted.top);
    if (section.empty())
        return 0;
    platform::Canvas(section).copy(*target, section.bounds(), {painted.left, painted.top});
    const CxDrawTarget sectionTarget{{reinterpret_cast<uint8_t*>(section.mutablePixels()), section.width(),
                                      section.height(), section.stride() * 4},
                                     {0, 0, section.width(), section.height()}};
    Draw(sectionTarget, int32_t(left), int32_t(top), width, height, nullptr, smooth);
    context->copyImage(section,
                       CRect(painted.left - offset.h, painted.top - offset.v, painted.right - offset.h,
                             painted.bottom - offset.v),
                       CPoint(0, 0));
    return 1;
}
