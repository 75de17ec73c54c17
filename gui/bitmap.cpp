#include "gui/bitmap.h"

#include "gui/draw_context.h"
#include "gui/frame/frame.h"
#include "resources/resources.h"

namespace VSTGUI {

CBitmap::CBitmap(int32_t resourceId) : resourceId_(resourceId), image_(resources::loadBitmap(resourceId))
{
    width_ = image_.width();
    height_ = image_.height();
}

CBitmap::CBitmap(CFrame& /*frame*/, int32_t width, int32_t height) : CBitmap(width, height) {}

CBitmap::CBitmap(int32_t width, int32_t height) : image_(width, height)
{
    // The asked size, as GDI keeps it, even when the pixels could not be had.
    width_ = width;
    height_ = height;
}

CBitmap::~CBitmap() = default;

void CBitmap::draw(CDrawContext* context, const CRect& destination, const CPoint& offset)
{
    if (context && !image_.empty())
        context->copyImage(image_, destination, offset);
}

void CBitmap::drawStretched(CDrawContext* context, const CRect& destination, const CRect* source)
{
    if (context && !image_.empty())
        context->stretchImage(image_, source ? *source : CRect(0, 0, width_, height_), destination);
}

void CBitmap::drawTransparent(CDrawContext* context, const CRect& destination, const CPoint& offset)
{
    if (context && !image_.empty())
        context->copyImageKeyed(image_, destination, offset, transparentColor_);
}

CBitmap2::CBitmap2(int32_t bitsPerPixel, int32_t width, int32_t height, const CColor* colourTable)
    : CBitmap(width, height), bitsPerPixel_(bitsPerPixel)
{
    if (bitsPerPixel > 0 && bitsPerPixel <= 8) {
        colourTable_.resize(size_t{1} << bitsPerPixel);
        for (size_t i = 0; colourTable && i < colourTable_.size(); ++i)
            colourTable_[i] = colourTable[i];
    }
}

int32_t CBitmap2::rowBytes(int32_t bitsPerPixel, int32_t width)
{
    const int64_t bits = int64_t{bitsPerPixel} * width;
    return static_cast<int32_t>((bits + 31) / 32 * 4);
}

} // namespace VSTGUI
