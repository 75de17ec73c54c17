// The page's picture, composed into the editor's shared offscreen: title
// strip, header line, channel headers, row numbers, cells, the playing row,
// the drag outline, the cursor guide, the info bar and the open panels. The
// status strip is drawn over whichever page is current (drawStatus).
#include "patterneditor/pattern_editor_ui.h"

#include "engine/engine.h"
#include "gui/bitmap.h"
#include "gui/controls/button.h"
#include "gui/lists/drop_list.h"
#include "pagekit/editor_services.h"
#include "pagekit/frame2.h"
#include "model/song/module.h"
#include "patterneditor/menus/amplify_prompt.h"
#include "patterneditor/grid/draw_target.h"
#include "patterneditor/grid/grid_colours.h"
#include "platform/graphics/glyph_run.h"
#include "platform/status_text.h"
#include "shell/preferences.h"
#include "resources/palette.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr CColor kHeaderShadow{95, 72, 81, 0};
constexpr CColor kHeaderInk{196, 200, 206, 0};
constexpr CColor kCaptionInk{120, 122, 128, 0};
constexpr CColor kStatusInk{255, 200, 96, 0};
constexpr CColor kStatusShadow{40, 30, 20, 0};
constexpr int32_t kHeaderFont = 4;
constexpr int32_t kHeaderFontSize = 11;
constexpr int32_t kLineHeight = 12;
constexpr int kGuideSteps = 30;
constexpr int kGuideStep = 6;

CColor toCColor(platform::Colour c)
{
    return CColor{c.red, c.green, c.blue, 0};
}

// A text with its shadow one pixel right and down.
void shadowedText(CDrawContext* context, const char* text, int32_t x, int32_t top, const CColor& ink,
                  const CColor& shadow, int32_t right = 4000)
{
    context->setFontColor(shadow);
    context->drawString(text, CRect(x + 1, top + 1, right + 1, top + 1 + kLineHeight), false, kLeftText);
    context->setFontColor(ink);
    context->drawString(text, CRect(x, top, right, top + kLineHeight), false, kLeftText);
}

void caption(CDrawContext* context, const char* text, int32_t x, int32_t top)
{
    context->setFontColor(kCaptionInk);
    context->drawString(text, CRect(x, top, x + 60, top + kLineHeight), false, kLeftText);
}

// Items of the header line: a caption and where its value starts.
struct HeaderItem {
    const char* caption;
    int32_t x;
    int32_t valueX;
};
constexpr HeaderItem kPatternItem{"Pat", 6, 26};
constexpr HeaderItem kRowItem{"Row", 62, 84};
constexpr HeaderItem kOrderItem{"Ord", 140, 162};
constexpr HeaderItem kOctaveItem{"Oct", 258, 0};
constexpr HeaderItem kTempoItem{"BPM", 308, 332};
constexpr HeaderItem kInstrumentItem{"Ins", 392, 0};
constexpr int32_t kModeIconLeft = 648;

} // namespace

void TesselPatternEditorUI::draw(CDrawContext* context)
{
    if (!context || !pattern_ || !song) {
        setDirty(false);
        return;
    }
    publish();
    const platform::Point origin = gridOrigin();
    context->setFillColor(toCColor(resources::palette::kBackground));
    context->fillRect(CRect(size.left - 1, size.top - 1, size.right, size.bottom));
    if (stripsShown())
        drawTitleStrip(context);
    drawHeaderLine(context);
    grid_.drawChannelHeaders(context, origin.x, origin.y - TesselPatternUI::kHeaderHeight);
    grid_.drawCells(context, origin.x, origin.y);
    drawRowNumbers(context);
    drawPlayingRow(context);
    if (grid_.isDraggingBlock()) {
        CFrame2* frame = editor ? editor->frame2() : nullptr;
        platform::Window* window = frame ? frame->getWindow() : nullptr;
        const uint32_t held = window ? window->system().inputState().bits : 0;
        const uint8_t keys = TesselPatternUI::dragKeys(static_cast<int32_t>(held));
        grid_.drawDragOutline(context, origin.x, origin.y, size.width(), keys);
    }
    drawGuide(context);
    info_->drawBar(context, 0, infoBarBottom(), grid_.cellAtCursor());
    drawPanels(context);
    setDirty(false);
}

void TesselPatternEditorUI::drawTitleStrip(CDrawContext* context)
{
    const int32_t width = size.width();
    if (titleStrip_->getWidth() > 0) {
        for (int32_t x = 0; x < width; x += titleStrip_->getWidth())
            titleStrip_->draw(context, CRect(x, 0, std::min(x + titleStrip_->getWidth(), width), kTitleHeight));
    } else {
        context->setFillColor(toCColor(resources::palette::kPanel));
        context->fillRect(CRect(0, 0, width, kTitleHeight));
    }
    context->setFont(kHeaderFont, kHeaderFontSize);
    shadowedText(context, "Quorbel", 6, 0, kHeaderInk, kHeaderShadow);
    if (updateMark_)
        shadowedText(context, "Update available", 60, 0, kHeaderInk, kHeaderShadow);
    if (link_->inOwnHost())
        return;
    for (int i = 0; i < 4; ++i)
        buttons_[size_t(i)]->drawOverBitmap(context, buttons_[size_t(i)]->getState(), false, nullptr);
}

void TesselPatternEditorUI::drawHeaderLine(CDrawContext* context)
{
    const int32_t top = stripsShown() ? kHeaderTop : 1;
    context->setFont(kHeaderFont, kHeaderFontSize);
    char text[64];
    for (const HeaderItem* item : {&kPatternItem, &kRowItem, &kOrderItem, &kOctaveItem, &kTempoItem, &kInstrumentItem})
        caption(context, item->caption, item->x, top);
    shadowedText(context, pattern_->displayLabel(false).c_str(), kPatternItem.valueX, top, kHeaderInk, kHeaderShadow,
                 kRowItem.x - 4);
    std::snprintf(text, sizeof text, "%.3d/%.3d", static_cast<int>(grid_.view.cursorRow), pattern_->length());
    shadowedText(context, text, kRowItem.valueX, top, kHeaderInk, kHeaderShadow);
    std::snprintf(text, sizeof text, "%.3d/%.3d", static_cast<int>(orderPosition_),
                  static_cast<int>(song->orderList.length));
    shadowedText(context, text, kOrderItem.valueX, top, kHeaderInk, kHeaderShadow);
    const double tempo = engine ? engine->shownTempo() : song->tempo;
    std::snprintf(text, sizeof text, "%d", static_cast<int>(std::lround(tempo)));
    shadowedText(context, text, kTempoItem.valueX, top, kHeaderInk, kHeaderShadow);
    octaveList_->draw(context);
    instrumentList_->draw(context);

    static constexpr const char* kModes[] = {"VOL", "PAN", "DEP"};
    const CRect icon(kModeIconLeft, top, kModeIconLeft + 26, top + kLineHeight - 1);
    context->setFillColor(toCColor(resources::palette::kHighlight));
    context->fillRect(icon);
    context->setFontColor(kHeaderInk);
    context->drawString(kModes[std::min<int>(grid_.view.volumeMode, 2)], icon, false, kCenterText);
}

void TesselPatternEditorUI::drawRowNumbers(CDrawContext* context)
{
    const TesselDrawTarget target(context);
    const platform::Font* font = grid_.gridFont();
    const TesselPatternView& view = grid_.view;
    if (!target.usable() || !font || view.rowHeight <= 0)
        return;
    const platform::Point origin = gridOrigin();
    const int32_t width = origin.x - 1;
    const int32_t bottom = statusTop();
    const int length = pattern_->length();
    platform::GlyphRun plain;
    platform::GlyphRun cursor;
    platform::Canvas& canvas = *target.canvas;
    for (const TesselGridLine& line : grid_.lines()) {
        const int32_t y = origin.y + line.y;
        if (y >= bottom)
            break;
        const platform::Rect rect = target.shiftedRect(platform::rectOfSize(0, y, width, view.rowHeight));
        const bool shown = line.subrow == 0 && line.row >= 0 && line.row < length;
        const bool atCursor = shown && line.row == view.cursorRow;
        const uint8_t background = atCursor ? uint8_t(kColourCursor) : shown ? grid_.highlightOf(line.row) : uint8_t(kColourPlainRow);
        canvas.fillRect(rect, gridColour(background));
        if (!shown)
            continue;
        char digits[8];
        std::snprintf(digits, sizeof digits, "%.3d", line.row);
        for (int i = 0; i < 3; ++i)
            (atCursor ? cursor : plain)
                .add(*font, static_cast<unsigned char>(digits[i]), {rect.left + 2 + i * view.characterWidth, rect.top});
    }
    plain.draw(canvas, *font, gridColour(kColourInk));
    cursor.draw(canvas, *font, gridColour(kColourCursorInk));
}

void TesselPatternEditorUI::drawPlayingRow(CDrawContext* context)
{
    if (!engine || engine->transport < kPlayingSong)
        return;
    int32_t order = -1;
    int32_t playing = -1;
    int32_t row = -1;
    link_->playingPosition(order, playing, row);
    if (playing != pattern_->index || row < 0)
        return;
    const std::vector<TesselGridLine>& lines = grid_.lines();
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i].row == row && lines[i].subrow == 0) {
            const platform::Point origin = gridOrigin();
            grid_.drawPlayingLine(context, origin.x, origin.y, static_cast<int>(i));
            return;
        }
}

void TesselPatternEditorUI::drawGuide(CDrawContext* context)
{
    if (!pluginPreferences().showGuide || grid_.isMouseSelecting()) {
        guideFade_ = 0;
        return;
    }
    const TesselGridPosition at = grid_.cursorPosition();
    guideFade_ = at == guideAt_ ? std::min(guideFade_ + kGuideStep, kGuideSteps) : 0;
    guideAt_ = at;
    const platform::Point origin = gridOrigin();
    grid_.drawCursorGuide(context, origin.x, origin.y, grid_.cellAtCursor(), guideFade_);
}

void TesselPatternEditorUI::drawPanels(CDrawContext* context)
{
    if (options_->isShown())
        options_->draw(context);
    if (overview_ && overview_->isShown())
        overview_->draw(context);
    if (undo_->isShown())
        undo_->draw(context);
    if (TesselAmplifyPrompt* prompt = grid_.amplifyPrompt())
        prompt->draw(context);
}

void TesselPatternEditorUI::drawStatus(CDrawContext* context)
{
    if (!context)
        return;
    const int32_t width = size.width();
    const int32_t top = statusTop();
    const int32_t bottom = top + kStatusHeight;
    context->setFillColor(toCColor(resources::palette::kWell));
    context->fillRect(CRect(0, top, width, bottom));
    context->setFillColor(toCColor(resources::palette::kPanelLight));
    context->fillRect(CRect(0, top, width, top + 1));
    context->setFont(kHeaderFont, kHeaderFontSize);
    const std::string status = platform::statusText();
    const int32_t right = width - 40;
    context->setFontColor(kStatusShadow);
    context->drawString(status.c_str(), CRect(67, bottom - 13, right + 1, bottom - 13 + kLineHeight), false, kLeftText);
    context->setFontColor(kStatusInk);
    context->drawString(status.c_str(), CRect(66, bottom - 14, right, bottom - 14 + kLineHeight), false, kLeftText);

    const TesselUI* help = editor ? editor->bottomPanel() : nullptr;
    const bool helpShown = help && help->isShown();
    const auto toggle = [&](CBitmap* bitmap, int32_t x) {
        if (bitmap && bitmap->getWidth() > 0)
            bitmap->draw(context, CRect(x, bottom - 14, x + bitmap->getWidth(), bottom - 14 + bitmap->getHeight()));
    };
    toggle(statusToggles_[helpShown ? 1 : 0], 21);
    toggle(statusToggles_[info_->mostlyShown() ? 3 : 2], 7);
    buttons_[4]->drawOverBitmap(context, buttons_[4]->getState(), false, nullptr);
    if (!link_->inOwnHost())
        buttons_[7]->drawOverBitmap(context, buttons_[7]->getState(), false, nullptr);
}
