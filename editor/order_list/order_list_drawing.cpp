// The order list page's picture: composed in the page's own offscreen when
// the page is dirty, copied to the window context on every draw.

#include "editor/order_list/order_list_page.h"
#include "engine/engine.h"
#include "gui/bitmap.h"
#include "gui/bitmap_text.h"
#include "gui/controls/control_skin.h"
#include "pagekit/frame2.h"
#include "gui/offscreen_context.h"
#include "gui/page_fonts.h"
#include "model/song/module.h"
#include "patterneditor/pattern_editor_page.h"
#include "patterneditor/grid/pattern_grid.h"
#include "resources/resource_ids.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr CColor kCellBackground{0, 0, 0, 0};
constexpr int32_t kSmallWidth = 6;

TesselFont* normalFont()
{
    return pageFont(resources::kSmallFontNormal, kSmallWidth);
}

TesselFont* highlightFont()
{
    return pageFont(resources::kSmallFontHighlight, kSmallWidth);
}

TesselFont* cursorFont()
{
    return pageFont(resources::kSmallFontCursor, kSmallWidth);
}

} // namespace

void TesselOrderListUI::drawText(CDrawContext* into, const char* text, int32_t x, int32_t y, TesselFont* font)
{
    drawBitmapText(into, text, x, y, font, &kCellBackground);
}

void TesselOrderListUI::draw(CDrawContext* context)
{
    const int32_t width = size.width();
    const int32_t height = size.height();
    if (width <= 0 || height <= 0)
        return;
    if (!offscreen)
        offscreen = std::make_unique<COffscreenContext>(frame2(), width, height, kBlackCColor);
    if (isDirty() && song) {
        setDirty(false);
        cursorRecord.update(static_cast<int16_t>(digit_), static_cast<int16_t>(orderCursor_),
                            static_cast<int16_t>(nameCursor_), static_cast<int16_t>(channelCursor_));
        if (CBitmap* skin = getBackground())
            skin->draw(offscreen.get(), CRect(0, 0, width, height));
        offscreen->setFillColor(kBlackCColor);
        drawOrderColumn(offscreen.get());
        drawChannelList(offscreen.get());
    }
    if (!context)
        return;
    static_cast<COffscreenContext*>(offscreen.get())->transfert(context, size);
    TesselUI::draw(context);
}

void TesselOrderListUI::drawOrderColumn(CDrawContext* into)
{
    const bool normalMode = !pitchMode();
    const int32_t rows = rowCount();
    firstOrder_ = std::clamp(firstOrder_, 0, rows - kVisibleRows);
    const int32_t playing = engine ? engine->getPlayingOrder() : -1;
    const bool songPlays = engine && engine->transport != kPlayingPattern;
    const int32_t length = song->orderList.length;
    for (int32_t r = 0; r < kVisibleRows; ++r) {
        const int32_t i = firstOrder_ + r;
        const int32_t y = kFirstRowY + kRowHeight * r;
        char number[16];
        std::snprintf(number, sizeof number, "%.3d", i);
        const bool playingHere = normalMode && i == playing && songPlays;
        drawText(into, number, kPositionX, y, playingHere ? highlightFont() : normalFont());

        char cell[4];
        cellShownText(i, cell);
        const bool lit = !normalMode || (i < length && entryAt(i).valueCount() > 0);
        drawText(into, cell, kCellX, y, lit ? highlightFont() : normalFont());
        if (i == orderCursor_ && area_ == kOrderArea && cell[digit_] != '\0')
            drawBitmapChar(into, static_cast<unsigned char>(cell[digit_]), kCellX + kSmallWidth * digit_, y,
                           cursorFont(), &kCellBackground);
        else if (i == orderCursor_ && area_ == kOrderArea)
            drawBitmapChar(into, ' ', kCellX + kSmallWidth * digit_, y, cursorFont(), &kCellBackground);
    }
    orderBar_.setCounts(rows, kVisibleRows);
    orderBar_.drawBar(into, firstOrder_);
}

void TesselOrderListUI::drawChannelList(CDrawContext* into)
{
    firstChannel_ = std::clamp(firstChannel_, 0, kLastFirstChannel);
    const bool channelFocus = area_ != kOrderArea;
    for (int32_t r = 0; r < kVisibleRows && firstChannel_ + r < kChannels; ++r) {
        const int32_t c = firstChannel_ + r;
        const int32_t y = kFirstRowY + kRowHeight * r;
        const TesselChannel& channel = song->channels[static_cast<size_t>(c)];
        char number[16];
        std::snprintf(number, sizeof number, "%.2d", c + 1);
        const bool current = c == channelCursor_;
        drawText(into, number, kChannelNumberX, y, channelFocus && current ? highlightFont() : normalFont());
        char name[16];
        std::snprintf(name, sizeof name, "%.14s", channel.name);
        drawText(into, name, kNameX, y, highlightFont());
        drawSwatch(into, c, y);
        if (area_ == kColourArea && current) {
            into->setFrameColor(kWhiteCColor);
            into->drawRect(CRect(kSwatchX, y, kSwatchX + kSwatchWidth - 1, y + kSwatchHeight - 1));
        }
        rowSlider(r, false).draw(into, channel.volume, current && area_ == kVolumeArea);
        rowSlider(r, true).draw(into, channel.panning, current && area_ == kPanningArea);
    }
    channelBar_.drawBar(into, firstChannel_);
    if (area_ == kNameArea && channelCursor_ >= firstChannel_ && channelCursor_ < firstChannel_ + kVisibleRows) {
        const char* name = song->channels[static_cast<size_t>(channelCursor_)].name;
        const int32_t at = std::clamp(nameCursor_, 0, 13);
        const bool inName = at < static_cast<int32_t>(strnlen(name, 14));
        const int32_t y = kFirstRowY + kRowHeight * (channelCursor_ - firstChannel_);
        drawBitmapChar(into, static_cast<unsigned char>(inName ? name[at] : ' '), kNameX + kSmallWidth * at, y,
                       cursorFont(), &kCellBackground);
    }
}

// Lines 1..7 of the channel's column in the pattern grid's header strip,
// stretched 12 pixels wide; the plain colour while there is no grid.
void TesselOrderListUI::drawSwatch(CDrawContext* into, int32_t channel, int32_t y)
{
    TesselPatternEditorPage* page = patternEditorPage();
    TesselPatternUI* grid = page ? page->patternGrid() : nullptr;
    if (grid && !grid->headerStrip())
        grid->renderChannelHeader(-1);
    const CBitmap2* strip = grid ? grid->headerStrip() : nullptr;
    const int32_t column = grid ? channel * grid->view.channelWidth + 1 : -1;
    if (strip && column >= 0 && column < strip->getWidth() && strip->getHeight() > kSwatchHeight) {
        const CRect source(column, 1, column + 1, 1 + kSwatchHeight);
        into->stretchImage(strip->image(), source, CRect(kSwatchX, y, kSwatchX + kSwatchWidth, y + kSwatchHeight));
        return;
    }
    const uint32_t setting = song->channels[static_cast<size_t>(channel)].colour & 0xFFFFFF;
    const platform::Colour colour = platform::fromColorRef(
        setting == TesselPatternUI::kNoChannelColour ? TesselPatternUI::kDefaultChannelColour : setting);
    control_skin::fill(into, CRect(kSwatchX, y, kSwatchX + kSwatchWidth, y + kSwatchHeight),
                       CColor{colour.red, colour.green, colour.blue, 0});
}
