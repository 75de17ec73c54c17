// How the sample list page draws: its skin, the list with the name cursor,
// the scroll bar, then in list mode the waveform (or the zoomed loop views
// while a loop point has the focus), the fields and the file buttons, in
// browser mode the file box in its frame; the normalise popup over all.

#include "editor/sample_list/sample_list_page.h"
#include "editor/sample_list/sample_waveform.h"
#include "gui/bitmap.h"
#include "gui/bitmap_text.h"
#include "gui/controls/control_fonts.h"
#include "gui/page_fonts.h"
#include "gui/controls/control_skin.h"
#include "pagekit/file_box.h"
#include "gui/tessel_font.h"
#include "model/song/module.h"
#include "shell/usage_log.h"
#include "resources/palette.h"
#include "resources/sample_page_layout.h"

#include <cstdio>

namespace {

using namespace resources::sample_page;

constexpr CColor kListBack = control_skin::fromPalette(resources::palette::kBackground);
constexpr CColor kCurrentRow = control_skin::fromPalette(resources::palette::kHighlight);
constexpr int32_t kCell = 8;

CRect rectOf(const resources::SkinPlace& place)
{
    return CRect(place.left, place.top, place.right, place.bottom);
}

TesselFont* cursorFont()
{
    return pageFont(resources::kFontCursor, kCell);
}

void drawSkin(CDrawContext* context, VSTGUI::CBitmap* skin, int32_t x, int32_t y)
{
    if (skin)
        skin->draw(context, CRect(x, y, x + skin->getWidth(), y + skin->getHeight()));
}

// Appends the cursor record to the usage log when one of its values moved.
void logCursorRecord(OMBRIX::iCURSOR& record, int32_t x, int32_t y, int32_t dx, int32_t dy)
{
    const OMBRIX::iCURSOR now(static_cast<int16_t>(x), static_cast<int16_t>(y), static_cast<int16_t>(dx),
                              static_cast<int16_t>(dy));
    if (now.x == record.x && now.y == record.y && now.dx == record.dx && now.dy == record.dy)
        return;
    record = now;
    if (TesselUsageLog* log = usageLog())
        log->append(record);
}

} // namespace

void TesselSampleListUI::draw(CDrawContext* context)
{
    setDirty(false);
    if (!context)
        return;
    const int32_t current = currentIndex();
    if (current != drawnSample_) {
        // Made current elsewhere (an instrument's first sample): bring it into view.
        drawnSample_ = current;
        showRow(current);
    }
    sample_ = current;
    const CPoint saved = context->getOffset();
    context->setOffset(CPoint(saved.h + size.left, saved.v + size.top));

    drawSkin(context, getBackground(), 0, 0);
    drawList(context);
    scrollbar_.setPosition(firstRow_);
    scrollbar_.drawBar(context, firstRow_);
    static const TesselSample noSong;
    const TesselSample& sample = song ? song->samples[static_cast<size_t>(sample_)] : noSong;
    if (mode_ == kListMode) {
        drawSkin(context, waveformSkin_, kWaveform.left, kWaveform.top);
        const CRect area = rectOf(kWaveform);
        if (TesselSampleFields::isLoopField(field_)) {
            const bool sustain = field_ >= TesselSampleFields::kSustainBegin;
            const TesselLoop& loop = sustain ? sample.sustain : sample.loop;
            const int64_t step = fields_->zoomStep(field_);
            const int32_t right = area.width() - sample_waveform::kZoomColumns;
            sample_waveform::drawZoom(context, area, 0, sample, loop.begin, step);
            sample_waveform::drawZoom(context, area, right, sample, loop.end, step);
        } else {
            sample_waveform::drawOverview(context, area, sample);
        }
        drawSkin(context, fieldsSkin_, kFieldsPanel.left, kFieldsPanel.top);
        fields_->draw(context, sample, field_);
        fileButtons_.draw(context);
    } else {
        drawSkin(context, frameSkin_, kBrowserFrame.left, kBrowserFrame.top);
        fileBox_->drawBrowser(context, field_ == 1);
    }
    if (normalise_.isShown())
        normalise_.draw(context, true);
    context->setOffset(saved);
    logCursor();
}

void TesselSampleListUI::drawList(CDrawContext* context)
{
    const bool listFocused = field_ == TesselSampleFields::kList;
    TesselFont* normal = controlFont(TesselControlFont::Normal, false);
    TesselFont* highlight = controlFont(TesselControlFont::Highlight, false);
    for (int32_t row = 0; row < kVisibleRows; ++row) {
        const int32_t index = firstRow_ + row;
        if (index >= kSamples)
            break;
        const int32_t y = kListTop + row * kCell;
        const bool isCurrent = index == sample_;
        control_skin::fill(context, CRect(kListX, y, kListCursorX + kCell, y + kCell),
                           isCurrent && listFocused ? kCurrentRow : kListBack);
        char number[16];
        std::snprintf(number, sizeof number, "%.2d", static_cast<int>(index + 1));
        TesselFont* font = isCurrent ? highlight : normal;
        drawBitmapText(context, number, kListX, y, font);
        const std::string name = song ? song->samples[static_cast<size_t>(index)].nameText() : std::string();
        drawBitmapText(context, name.c_str(), kListNameX, y, font, nullptr, kSampleNameLength);
        if (!isCurrent || !listFocused)
            continue;
        if (nameCursor_ < kNameNotEdited) {
            const unsigned char under = static_cast<unsigned char>(name[static_cast<size_t>(nameCursor_)]);
            drawBitmapChar(context, under, kListNameX + nameCursor_ * kCell, y, cursorFont());
        } else {
            drawSkin(context, nameCursorSkin_, kListCursorX, y);
        }
    }
}

void TesselSampleListUI::logCursor()
{
    logCursorRecord(cursorRecord, sample_, field_, nameCursor_, firstRow_);
}
