#include "gui/offscreen_context.h"

#include "gui/bitmap.h"

namespace VSTGUI {

COffscreenContext::COffscreenContext(CDrawContext* context, CBitmap* bitmap, bool drawInBitmap)
    : CDrawContext(context ? context->getFrame() : nullptr, nullptr, nullptr), bitmap_(bitmap)
{
    width_ = bitmap ? bitmap->getWidth() : 20;
    height_ = bitmap ? bitmap->getHeight() : 20;
    if (bitmap)
        bitmap->remember();
    if (bitmap && drawInBitmap) {
        setTarget(&bitmap->image());
    } else {
        own_ = platform::Image(width_, height_);
        setTarget(&own_);
        if (bitmap)
            copyImage(bitmap->image(), CRect(0, 0, width_, height_), CPoint());
    }
    setClipRect(CRect(0, 0, width_, height_));
}

COffscreenContext::COffscreenContext(CFrame* frame, int32_t width, int32_t height, const CColor& background)
    : CDrawContext(frame, nullptr, nullptr), own_(width, height), width_(width), height_(height)
{
    setTarget(&own_);
    setClipRect(CRect(0, 0, width, height));
    setFillColor(background);
    setFrameColor(background);
    const CRect all(0, 0, width, height);
    fillRect(all);
    drawRect(all);
}

COffscreenContext::~COffscreenContext()
{
    if (bitmap_)
        bitmap_->forget();
}

void COffscreenContext::copyTo(CDrawContext* source, const CRect& sourceRect, const CPoint& destination)
{
    const platform::Image* pixels = source ? source->getImage() : nullptr;
    if (!pixels)
        return;
    const CPoint& shift = source->getOffset();
    const CRect target(destination.h, destination.v, destination.h + sourceRect.width(),
                       destination.v + sourceRect.height());
    const platform::Point from{sourceRect.left + shift.h, sourceRect.top + shift.v};
    // This context's own offset does not apply.
    if (platform::Canvas* c = canvas())
        c->copy(*pixels, target.toPlatform(), from);
}

void COffscreenContext::transfert(CDrawContext* destination, const CRect& destinationRect, const CPoint& sourcePoint)
{
    if (destination && getImage())
        destination->copyImage(*getImage(), destinationRect, sourcePoint);
}

void COffscreenContext::transfertStretched(CDrawContext* destination, const CRect& destinationRect,
                                           const CRect& sourceRect)
{
    if (destination && getImage())
        destination->stretchImage(*getImage(), sourceRect, destinationRect);
}

} // namespace VSTGUI
