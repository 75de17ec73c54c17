#pragma once
// Text output by GDI's rules onto a Canvas: TextOut from a top-left corner,
// and DrawText of one line in a rectangle (DT_SINGLELINE | DT_VCENTER |
// DT_NOPREFIX with an alignment). Texts are Windows-1252 up to the first NUL.
// Opaque text fills only the text's own cell with the background colour.

#include "platform/graphics/canvas.h"
#include "platform/graphics/font.h"

#include <string_view>

namespace platform {

struct TextPaint {
    Colour colour = rgb(255, 255, 255);
    bool opaque = false;
    Colour background = rgb(0, 0, 0);
};

enum class TextAlign : uint8_t { left, centre, right };

// Returns the width of the text's cell. fixedAdvance > 0 places each
// character that many pixels after the previous one (ExtTextOut's spacing).
int32_t drawText(Canvas& canvas, const Font& font, std::string_view text, Point topLeft, const TextPaint& paint,
                 int32_t fixedAdvance = 0);

// Centred vertically on ascent + descent, aligned horizontally, clipped to rect.
void drawTextInRect(Canvas& canvas, const Font& font, std::string_view text, const Rect& rect, TextAlign align,
                    const TextPaint& paint);

} // namespace platform
