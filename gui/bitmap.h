#pragma once
// Bitmaps with a reference count, drawn into a draw context opaque, stretched
// or with one colour left out. Every bitmap keeps 32-bit pixels; CBitmap2
// remembers the depth it was asked for, for the row sizes of that depth.

#include "gui/geometry.h"
#include "gui/reference_count.h"
#include "platform/graphics/image.h"

#include <cstdint>
#include <vector>

namespace VSTGUI {

class CDrawContext;
class CFrame;

class CBitmap : public CReferenceCounter {
public:
    // The program's bitmap of that id; 0 x 0, drawing nothing, for an id it
    // does not hold.
    explicit CBitmap(int32_t resourceId);
    // A black bitmap of that size.
    CBitmap(CFrame& frame, int32_t width, int32_t height);
    ~CBitmap() override;

    int32_t getResourceID() const { return resourceId_; }
    int32_t getWidth() const { return width_; }
    int32_t getHeight() const { return height_; }
    void setTransparentColor(const CColor& colour) { transparentColor_ = colour; }
    CColor getTransparentColor() const { return transparentColor_; }

    // The destination's size from the source offset, 1:1, at the destination
    // shifted by the context's offset.
    void draw(CDrawContext* context, const CRect& destination, const CPoint& offset = CPoint());
    // The source rectangle (the whole bitmap for none) into the destination,
    // which the context's offset does not move.
    void drawStretched(CDrawContext* context, const CRect& destination, const CRect* source = nullptr);
    // As draw, keeping what lies under pixels of the transparent colour.
    void drawTransparent(CDrawContext* context, const CRect& destination, const CPoint& offset = CPoint());

    // The pixels; empty for a bitmap that could not be made.
    platform::Image& image() { return image_; }
    const platform::Image& image() const { return image_; }

protected:
    CBitmap(int32_t width, int32_t height);

    int32_t resourceId_ = 0;
    int32_t width_ = 0;
    int32_t height_ = 0;
    CColor transparentColor_ = kGreenCColor;
    platform::Image image_;
};

// A bitmap of a chosen depth and size, which the pages draw strips into.
class CBitmap2 : public CBitmap {
public:
    // For 8 bits or fewer, 2 to the power of bits colours are copied from
    // the table (all black without one).
    CBitmap2(int32_t bitsPerPixel, int32_t width, int32_t height, const CColor* colourTable = nullptr);
    ~CBitmap2() override = default;

    int32_t getBitsPerPixel() const { return bitsPerPixel_; }
    const std::vector<CColor>& getColourTable() const { return colourTable_; }
    // Bytes per row at that depth: whole 32-bit words (24 bits x 3 is 12).
    static int32_t rowBytes(int32_t bitsPerPixel, int32_t width);

private:
    int32_t bitsPerPixel_;
    std::vector<CColor> colourTable_;
};

} // namespace VSTGUI

using VSTGUI::CBitmap;
using VSTGUI::CBitmap2;
