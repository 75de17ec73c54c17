#pragma once
// Drawing into an Image by GDI's rules, for the toolkit's draw contexts:
// rectangles leave out their right and bottom edges, 1-pixel lines leave out
// their end pixel, polygons fill even-odd without antialiasing. Every
// operation honours the clip and reads nothing outside its source image.
// Fills and blits go through pixman, polygons and wide lines through Cairo,
// 1-pixel lines and colour-key blits through our own loops.

#include "platform/graphics/colour.h"
#include "platform/graphics/geometry.h"
#include "platform/graphics/image.h"

#include <cstddef>
#include <cstdint>

namespace platform {

enum class LineStyle : uint8_t { solid, dotted };

struct Pen {
    Colour colour = rgb(255, 255, 255);
    int32_t width = 1;   // below 1 counts as 1; wider pens draw solid with round ends
    LineStyle style = LineStyle::solid;
};

class Canvas {
public:
    // The clip starts as the whole image.
    explicit Canvas(Image& target);

    Image& image() const { return *target_; }

    // Kept inside the image; an empty clip draws nothing.
    void setClip(const Rect& clip);
    void resetClip() { clip_ = target_->bounds(); }
    const Rect& clip() const { return clip_; }

    // FillRect: left and top included, right and bottom left out.
    void fillRect(const Rect& rect, Colour colour);
    // FrameRect: a 1-pixel line just inside the rectangle.
    void frameRect(const Rect& rect, Colour colour);
    // SetPixel.
    void setPixel(Point at, Colour colour);

    // MoveToEx / LineTo. A 1-pixel line leaves out its end pixel; a dotted
    // pen draws 3 pixels, skips 3, and keeps counting across joined lines
    // until the next moveTo.
    void setPen(const Pen& pen) { pen_ = pen; }
    const Pen& pen() const { return pen_; }
    void moveTo(Point to);
    void lineTo(Point to);
    Point penPosition() const { return penAt_; }

    // Polygon without a pen: the interior, even-odd, no antialiasing; pixel
    // centres inside the outline are filled.
    void fillPolygon(const Point* points, size_t count, Colour colour);

    // BitBlt SRCCOPY: destination's size taken from the source at sourceAt.
    // The same image may be source and destination, overlapping or not.
    void copy(const Image& source, const Rect& destination, Point sourceAt);
    // TransparentBlt at 1:1: source pixels whose red, green and blue equal the
    // key keep the destination; all others are copied.
    void copyKeyed(const Image& source, const Rect& destination, Point sourceAt, Colour key);
    // StretchBlt SRCCOPY with COLORONCOLOR: nearest source pixel.
    void stretch(const Image& source, const Rect& sourceRect, const Rect& destination);
    // AlphaBlend with a constant alpha over the whole source (no per-pixel
    // alpha: the fourth byte is not alpha); stretches like stretch().
    void blend(const Image& source, const Rect& sourceRect, const Rect& destination, uint8_t alpha);

private:
    void plotLine(Point from, Point to);
    void strokeWide(Point from, Point to);
    // Scaled pixman composite shared by stretch and blend.
    void compose(const Image& source, const Rect& sourceRect, const Rect& destination, int alpha);

    Image* target_;
    Rect clip_;
    Pen pen_;
    Point penAt_;
    uint32_t dotPhase_ = 0;
};

} // namespace platform
