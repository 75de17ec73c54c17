#pragma once
// A draw context on an image of its own or on a bitmap's, which pages compose
// into and then copy to a window.

#include "gui/draw_context.h"

#include <cstdint>

namespace VSTGUI {

class CBitmap;

class COffscreenContext : public CDrawContext {
public:
    // With drawInBitmap it draws into the bitmap itself, else into a copy of
    // it (black, 20 x 20, without a bitmap). Holds one reference on the bitmap.
    COffscreenContext(CDrawContext* context, CBitmap* bitmap, bool drawInBitmap = false);
    // An image of that size wholly in the background colour, which becomes the
    // fill and frame colour.
    COffscreenContext(CFrame* frame, int32_t width, int32_t height, const CColor& background = kBlackCColor);
    ~COffscreenContext() override;

    int32_t getWidth() const { return width_; }
    int32_t getHeight() const { return height_; }
    CBitmap* getBitmap() const { return bitmap_; }

    // From the source context (its rectangle shifted by the source's offset)
    // into this one at the point.
    void copyTo(CDrawContext* source, const CRect& sourceRect, const CPoint& destination);
    // From this one at the source point into the destination rectangle,
    // shifted by the destination's offset.
    void transfert(CDrawContext* destination, const CRect& destinationRect, const CPoint& sourcePoint = CPoint());
    // Stretched; neither rectangle is shifted.
    void transfertStretched(CDrawContext* destination, const CRect& destinationRect, const CRect& sourceRect);

private:
    CBitmap* bitmap_ = nullptr;
    platform::Image own_;
    int32_t width_ = 0;
    int32_t height_ = 0;
};

} // namespace VSTGUI

using VSTGUI::COffscreenContext;
