#pragma once
// Stand-in for the raster layer's canvas: the calls the toolkit makes, drawing
// nothing until that layer arrives.

#include "platform/colour.h"
#include "platform/geometry.h"
#include "platform/image.h"

#include <cstddef>
#include <cstdint>

namespace platform {

enum class LineStyle : uint8_t { solid, dotted };

struct Pen {
    Colour colour = rgb(255, 255, 255);
    int32_t width = 1;
    LineStyle style = LineStyle::solid;
};

class Canvas {
public:
    explicit Canvas(Image& target) : target_(&target), clip_(target.bounds()) {}
    Image& image() const { return *target_; }
    void setClip(const Rect& clip) { clip_ = intersect(clip, target_->bounds()); }
    void resetClip() { clip_ = target_->bounds(); }
    const Rect& clip() const { return clip_; }
    void fillRect(const Rect&, Colour) {}
    void setPixel(Point, Colour) {}
    void setPen(const Pen& pen) { pen_ = pen; }
    const Pen& pen() const { return pen_; }
    void moveTo(Point to) { penAt_ = to; }
    void lineTo(Point to) { penAt_ = to; }
    Point penPosition() const { return penAt_; }
    void fillPolygon(const Point*, size_t, Colour) {}
    void copy(const Image&, const Rect&, Point) {}
    void copyKeyed(const Image&, const Rect&, Point, Colour) {}
    void stretch(const Image&, const Rect&, const Rect&) {}
    void blend(const Image&, const Rect&, const Rect&, uint8_t) {}

private:
    Image* target_;
    Rect clip_;
    Pen pen_;
    Point penAt_;
};

} // namespace platform
