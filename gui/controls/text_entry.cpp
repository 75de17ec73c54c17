#include "gui/controls/text_entry.h"

#include "gui/bitmap_text.h"
#include "gui/controls/control_fonts.h"
#include "resources/palette.h"

namespace {

constexpr int32_t kCell = 6;

CColor colourOf(platform::Colour c)
{
    return CColor{c.red, c.green, c.blue, 0};
}

} // namespace

void TesselTextEntry::draw(VSTGUI::CDrawContext* context, int32_t x, int32_t y)
{
    if (!context)
        return;
    const CColor background = colourOf(resources::palette::kBackground);
    drawBitmapText(context, text.c_str(), x, y, controlFont(TesselControlFont::Normal, true), &background);
    const size_t at = caret < 0 ? 0 : static_cast<size_t>(caret);
    const unsigned char under = at < text.size() ? static_cast<unsigned char>(text[at]) : ' ';
    const CColor block = colourOf(resources::palette::kHighlight);
    drawBitmapChar(context, under, x + static_cast<int32_t>(at) * kCell, y,
                   controlFont(TesselControlFont::Highlight, true), &block);
}
