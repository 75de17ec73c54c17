#include "platform/graphics/text.h"

#include "platform/graphics/image_surface.h"

#include <vector>

namespace platform {

namespace {

std::string_view untilNul(std::string_view text)
{
    const size_t end = text.find('\0');
    return end == std::string_view::npos ? text : text.substr(0, end);
}

int32_t cellWidth(const Font& font, std::string_view text, int32_t fixedAdvance)
{
    return fixedAdvance > 0 ? fixedAdvance * int32_t(text.size()) : font.measure(text);
}

int32_t drawClipped(Canvas& canvas, const Font& font, std::string_view text, Point topLeft, const TextPaint& paint,
                    int32_t fixedAdvance, const Rect& clip)
{
    text = untilNul(text);
    const int32_t width = cellWidth(font, text, fixedAdvance);
    const FontMetrics& m = font.metrics();
    const Rect cell{topLeft.x, topLeft.y, topLeft.x + width, topLeft.y + m.height};
    const Rect saved = canvas.clip();
    canvas.setClip(intersect(saved, clip));
    if (paint.opaque)
        canvas.fillRect(cell, paint.background);

    const Rect visible = canvas.clip();
    if (font.scaledFont() && !visible.empty() && !text.empty()) {
        std::vector<cairo_glyph_t> glyphs;
        glyphs.reserve(text.size());
        const double baseline = topLeft.y + m.ascent;
        int32_t x = topLeft.x;
        for (char ch : text) {
            const auto c = static_cast<unsigned char>(ch);
            if (font.drawn(c))
                glyphs.push_back({font.glyph(c), double(x), baseline});
            x += fixedAdvance > 0 ? fixedAdvance : font.advance(c);
        }
        cairo_t* cr = canvas.image().surface()->forCairo();
        cairo_save(cr);
        cairoClip(cr, visible);
        cairo_set_scaled_font(cr, font.scaledFont());
        cairoSetColour(cr, paint.colour);
        cairo_show_glyphs(cr, glyphs.data(), int(glyphs.size()));
        cairo_restore(cr);
    }
    const int32_t baseline = topLeft.y + m.ascent;
    if (font.request().underline)
        canvas.fillRect({cell.left, baseline + font.underlineOffset(), cell.right,
                         baseline + font.underlineOffset() + font.lineThickness()}, paint.colour);
    if (font.request().strikeOut)
        canvas.fillRect({cell.left, baseline + font.strikeOutOffset(), cell.right,
                         baseline + font.strikeOutOffset() + font.lineThickness()}, paint.colour);
    canvas.setClip(saved);
    return width;
}

} // namespace

int32_t drawText(Canvas& canvas, const Font& font, std::string_view text, Point topLeft, const TextPaint& paint,
                 int32_t fixedAdvance)
{
    return drawClipped(canvas, font, text, topLeft, paint, fixedAdvance, canvas.clip());
}

void drawTextInRect(Canvas& canvas, const Font& font, std::string_view text, const Rect& rect, TextAlign align,
                    const TextPaint& paint)
{
    text = untilNul(text);
    const int32_t width = font.measure(text);
    int32_t x = rect.left;
    if (align == TextAlign::centre)
        x = rect.left + (rect.width() - width) / 2;
    else if (align == TextAlign::right)
        x = rect.right - width;
    const int32_t y = rect.top + (rect.height() - font.metrics().height) / 2;
    drawClipped(canvas, font, text, {x, y}, paint, 0, rect);
}

} // namespace platform
