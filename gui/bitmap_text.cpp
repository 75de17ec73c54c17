#include "gui/bitmap_text.h"

#include "gui/draw_context.h"
#include "gui/tessel_font.h"
#include "gui/version_number.h"
#include "resources/resource_ids.h"

#include <cstdio>

namespace {

constexpr int32_t kGlyphHeight = 8;
constexpr int32_t kGlyphsPerRow = 16;

// The small digits' strip: a label, ten 4-pixel digits 5 pixels apart and a point.
constexpr int32_t kDigitsHeight = 6;
constexpr int32_t kLabelWidth = 31;
constexpr int32_t kDigitWidth = 4;
constexpr int32_t kDigitPitch = 5;
constexpr int32_t kPointSource = 80;
constexpr int32_t kPointWidth = 2;
constexpr int32_t kPointAdvance = 3;

const VSTGUI::CBitmap& smallDigits()
{
    static const VSTGUI::CBitmap digits(resources::kSmallDigits);
    return digits;
}

void drawDigitsCell(VSTGUI::CDrawContext* context, int32_t x, int32_t y, int32_t width, int32_t source)
{
    context->copyImage(smallDigits().image(), CRect(x, y, x + width, y + kDigitsHeight), CPoint(source, 0));
}

} // namespace

void drawBitmapChar(VSTGUI::CDrawContext* context, unsigned char character, int32_t x, int32_t y, TesselFont* font,
                    const CColor* background)
{
    if (!context || !font)
        return;
    const int32_t width = font->getCharacterWidth();
    if (background) {
        context->setFillColor(*background);
        context->fillRect(CRect(x - 1, y - 1, x + width, y + kGlyphHeight));
    }
    const CPoint source(character % kGlyphsPerRow * width, character / kGlyphsPerRow * kGlyphHeight);
    font->drawTransparent(context, CRect(x, y, x + width, y + kGlyphHeight), source);
}

int32_t drawBitmapText(VSTGUI::CDrawContext* context, const char* text, int32_t x, int32_t y, TesselFont* font,
                       const CColor* background, int32_t limit)
{
    if (!context || !text || !font)
        return 0;
    const int32_t width = font->getCharacterWidth();
    int32_t drawn = 0;
    for (; text[drawn] && (limit <= 0 || drawn < limit); ++drawn)
        drawBitmapChar(context, static_cast<unsigned char>(text[drawn]), x + drawn * width, y, font, background);
    return drawn;
}

void drawSmallNumber(VSTGUI::CDrawContext* context, float number, int32_t x, int32_t y)
{
    if (!context)
        return;
    const std::string text = formatVersionNumber(number);
    for (auto c = text.rbegin(); c != text.rend(); ++c) {
        if (*c >= '0' && *c <= '9') {
            x -= kDigitWidth;
            drawDigitsCell(context, x, y, kDigitWidth, kLabelWidth + kDigitPitch * (*c - '0'));
        } else if (*c == '.') {
            x -= kPointAdvance;
            drawDigitsCell(context, x, y, kPointWidth, kPointSource);
        }
    }
    x -= kLabelWidth;
    drawDigitsCell(context, x, y, kLabelWidth, 0);
}

void formatTwoDigits(std::string& text, int32_t value)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d", value);
    text = buffer;
}
