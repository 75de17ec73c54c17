#include "platform/graphics/canvas.h"

#include "platform/graphics/image_surface.h"

#include <cstdlib>

namespace platform {

namespace {

constexpr uint32_t kDotOn = 3;
constexpr uint32_t kDotPeriod = 6;

} // namespace

void Canvas::moveTo(Point to)
{
    penAt_ = to;
    dotPhase_ = 0;
}

void Canvas::lineTo(Point to)
{
    if (pen_.width > 1)
        strokeWide(penAt_, to);
    else
        plotLine(penAt_, to);
    penAt_ = to;
}

// Bresenham from `from` towards `to`, leaving out `to` itself, as GDI's
// cosmetic pens do; halfway steps round away from the start.
void Canvas::plotLine(Point from, Point to)
{
    const int64_t dx = std::abs(to.x - from.x);
    const int64_t dy = std::abs(to.y - from.y);
    const int32_t sx = to.x >= from.x ? 1 : -1;
    const int32_t sy = to.y >= from.y ? 1 : -1;
    const int64_t steps = dx > dy ? dx : dy;
    if (steps == 0 || clip_.empty())
        return;
    uint32_t* bits = target_->mutablePixels();
    const int32_t stride = target_->stride();
    const uint32_t pixel = toPixel(pen_.colour);
    const bool dotted = pen_.style == LineStyle::dotted;
    for (int64_t i = 0; i < steps; ++i) {
        const uint32_t phase = dotPhase_++ % kDotPeriod;
        if (dotted && phase >= kDotOn)
            continue;
        const int64_t along = dx > dy ? (2 * i * dy + dx) / (2 * dx) : (2 * i * dx + dy) / (2 * dy);
        const Point p = dx > dy ? Point{int32_t(from.x + sx * i), int32_t(from.y + sy * along)}
                                : Point{int32_t(from.x + sx * along), int32_t(from.y + sy * i)};
        if (clip_.contains(p))
            bits[size_t(p.y) * stride + p.x] = pixel;
    }
}

void Canvas::strokeWide(Point from, Point to)
{
    if (clip_.empty())
        return;
    cairo_t* cr = target_->surface()->forCairo();
    cairo_save(cr);
    cairoClip(cr, clip_);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_line_width(cr, pen_.width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairoSetColour(cr, pen_.colour);
    cairo_move_to(cr, from.x + 0.5, from.y + 0.5);
    cairo_line_to(cr, to.x + 0.5, to.y + 0.5);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void Canvas::fillPolygon(const Point* points, size_t count, Colour colour)
{
    if (!points || count < 3 || clip_.empty())
        return;
    cairo_t* cr = target_->surface()->forCairo();
    cairo_save(cr);
    cairoClip(cr, clip_);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairoSetColour(cr, colour);
    cairo_move_to(cr, points[0].x, points[0].y);
    for (size_t i = 1; i < count; ++i)
        cairo_line_to(cr, points[i].x, points[i].y);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_restore(cr);
}

} // namespace platform
