// The list box's face: rows composed in its own offscreen, the whole list
// when dirty, else only the rows of the new and the previous selection when
// the selection or the focus moved.

#include "gui/bitmap.h"
#include "gui/bitmap_text.h"
#include "gui/controls/control_fonts.h"
#include "gui/controls/control_skin.h"
#include "gui/lists/list_box.h"
#include "gui/offscreen_context.h"

#include <algorithm>

namespace {

constexpr int32_t kIconX = 2;
constexpr int32_t kNameX = 11;
constexpr int32_t kDetailX = 197;
constexpr int32_t kIconSize = 8;
constexpr int32_t kNameLimit = 32;
constexpr CPoint kMessageAt{10, 9};
// "@" details hide this many leading characters.
constexpr size_t kHiddenDetail = 5;

} // namespace

void TesselListBox::drawRow(int32_t index, int32_t y, bool focused)
{
    const TesselListItem& item = entries[static_cast<size_t>(index)];
    const bool selected = index == selection;
    const int32_t width = rect.width();
    CColor background = control_skin::kListBackground;
    if (selected)
        background = focused ? control_skin::kHighlight : shade;
    // The row's band is the text's own 8 lines: a band reaching into the next
    // row would wipe this row's lowest line ('_', descenders) when that row
    // is drawn.
    control_skin::fill(offscreen.get(), CRect(1, y + 1, width - kScrollbarWidth, y + 1 + kRowHeight), background);

    TesselControlFont kind = item.colour == kGreyEntry ? TesselControlFont::Grey : TesselControlFont::Normal;
    if (selected && focused)
        kind = TesselControlFont::Highlight;
    TesselFont* font = controlFont(kind, smallFont);

    icons->drawTransparent(offscreen.get(), CRect(kIconX, y + 1, kIconX + kIconSize, y + 1 + kIconSize),
                           CPoint(item.icon * kIconSize, 0));
    const std::string& detail = item.detail;
    const size_t skip = detail.starts_with('@') ? std::min(detail.size(), kHiddenDetail) : 0;
    drawBitmapText(offscreen.get(), detail.c_str() + skip, kDetailX, y + 1, font);
    drawBitmapText(offscreen.get(), item.name.c_str(), kNameX, y + 1, font, nullptr, kNameLimit);
}

void TesselListBox::drawList(VSTGUI::CDrawContext* target, bool focused)
{
    const int32_t width = rect.width();
    const int32_t height = rect.height();
    if (width <= 0 || height <= 0)
        return;
    if (!offscreen || offscreen->getWidth() != width || offscreen->getHeight() != height) {
        offscreen = std::make_unique<COffscreenContext>(nullptr, width, height, control_skin::kListBackground);
        dirty = true;
    }
    if (dirty) {
        control_skin::fill(offscreen.get(), CRect(0, 0, width, height), control_skin::kListBackground);
        scrollbar.drawBar(offscreen.get(), top);
    }

    if (!message.empty()) {
        drawBitmapText(offscreen.get(), message.c_str(), kMessageAt.h, kMessageAt.v,
                       controlFont(TesselControlFont::Normal, smallFont));
    } else {
        const bool moved = selection != drawnSelection || focused != drawnFocus;
        // Text stops short of the bar.
        offscreen->setClipRect(CRect(0, 0, width - kScrollbarWidth, height));
        for (int32_t row = 0, index = top; (row + 1) * kRowHeight <= height && index < entryCount(); ++row, ++index) {
            if (dirty || ((index == selection || index == drawnSelection) && moved))
                drawRow(index, row * kRowHeight, focused);
        }
        offscreen->setClipRect(CRect(0, 0, width, height));
    }

    dirty = false;
    drawnSelection = selection;
    drawnFocus = focused;
    value = selection;
    logValue(focused);
    offscreen->transfert(target, rect);
}
