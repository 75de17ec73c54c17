#include "platform/graphics/glyph_run.h"

#include "platform/graphics/image_surface.h"

#include <cstddef>

namespace platform {

void GlyphRun::add(const Font& font, unsigned char c, Point topLeft)
{
    if (font.drawn(c))
        glyphs_.push_back({font.glyph(c), double(topLeft.x), double(topLeft.y + font.metrics().ascent)});
}

void GlyphRun::draw(Canvas& canvas, const Font& font, Colour colour) const
{
    static_assert(sizeof(Glyph) == sizeof(cairo_glyph_t) && offsetof(Glyph, x) == offsetof(cairo_glyph_t, x) &&
                  offsetof(Glyph, y) == offsetof(cairo_glyph_t, y));
    const Rect clip = canvas.clip();
    if (glyphs_.empty() || !font.scaledFont() || clip.empty())
        return;
    cairo_t* cr = canvas.image().surface()->forCairo();
    cairo_save(cr);
    cairoClip(cr, clip);
    cairo_set_scaled_font(cr, font.scaledFont());
    cairoSetColour(cr, colour);
    cairo_show_glyphs(cr, reinterpret_cast<const cairo_glyph_t*>(glyphs_.data()), int(glyphs_.size()));
    cairo_restore(cr);
}

} // namespace platform
