// The grid's cells: each visible slot is painted only when what it should
// show differs from what it shows, and a scroll keeps the lines that stay.
#include "patterneditor/grid/pattern_grid.h"

#include "patterneditor/grid/draw_target.h"
#include "patterneditor/grid/grid_colours.h"
#include "platform/graphics/glyph_run.h"
#include "resources/palette.h"

#include <algorithm>
#include <array>

namespace {

using GlyphRuns = TesselGlyphRuns;
static_assert(std::tuple_size_v<GlyphRuns> == kGridColourCount);

// Queues the slot's characters at their column positions; the one under
// the cursor goes in the cursor's ink.
void queueText(GlyphRuns& runs, const platform::Font& font, const TesselGridSlot& slot, const TesselColumnTable& table,
               platform::Point at)
{
    for (int p = 1; p < kCellTextLength; ++p) {
        const auto c = static_cast<unsigned char>(slot.text[size_t(p)]);
        if (c == ' ' || c == 0)
            continue;
        const uint8_t ink = p == slot.cursor ? uint8_t(kColourCursorInk) : slot.ink;
        runs[ink].add(font, c, {at.x + table.positions[size_t(p)], at.y});
    }
}

} // namespace

// The glyph runs of one draw, one per colour, kept for their storage. (Not
// thread_local: a thread-local object with a destructor keeps the plug-in
// library from being unloaded while the thread lives.)
TesselGlyphRuns& TesselPatternUI::glyphRuns()
{
    if (!runs_)
        runs_ = std::make_unique<GlyphRuns>();
    for (auto& run : *runs_)
        run.clear();
    return *runs_;
}

const TesselSubrow& TesselPatternUI::lineCell(const TesselGridLine& line, int channel) const
{
    return cellOrBlank(channel, line.row, line.subrow);
}

TesselGridSlot TesselPatternUI::slotFor(int line, int slotChannel)
{
    TesselGridSlot slot;
    const int channel = view.firstChannel + slotChannel;
    if (channel >= channels_) {
        slot.kind = kSlotNoChannel;
        return slot;
    }
    const TesselGridLine& at = lines_[size_t(line)];
    if (at.row < 0 || at.row >= patternLength()) {
        // Rows outside the pattern read no table and no cell: a song row
        // from the strips, else nothing.
        int strip = 0;
        int stripLine = 0;
        if (at.subrow == 0 && songStrips_.lineFor(at.row, strip, stripLine)) {
            slot.kind = kSlotSongRow;
            slot.strip = static_cast<uint8_t>(strip);
            slot.stripLine = static_cast<int16_t>(stripLine);
            slot.stripGeneration = songStrips_.generation;
        } else {
            slot.kind = kSlotBlank;
        }
        return slot;
    }
    slot.kind = kSlotCell;
    if (at.subrow == 0) {
        slot.text = cellText(channel, at.row);
    } else {
        slot.further = 1;
        slot.text[0] = ' ';
        formatCell(slot.text.data(), lineCell(at, channel));
    }
    const bool selected = selectionMark(channel, at.row) != 0;
    slot.background = selected ? uint8_t(kColourSelection) : highlightOf(at.row);
    slot.ink = selected ? kColourMarkedInk : kColourInk;
    if (markingState == 0 && channel == view.cursorChannel && at.row == view.cursorRow &&
        at.subrow == view.cursorSubrow)
        slot.cursor = static_cast<int8_t>(kCursorColumnPosition[std::clamp<int>(view.cursorColumn, 0, 8)]);
    return slot;
}

void TesselPatternUI::drawSlots(platform::Canvas& canvas, int visibleChannels)
{
    GlyphRuns& runs = glyphRuns();
    painted_ = 0;
    for (int line = 0; line < picture_.lines(); ++line) {
        for (int j = 0; j < visibleChannels; ++j) {
            const TesselGridSlot want = slotFor(line, j);
            TesselGridSlot& drawn = picture_.slot(line, j);
            if (want == drawn)
                continue;
            const platform::Rect rect = picture_.slotRect(line, j);
            switch (want.kind) {
            case kSlotNoChannel:
                canvas.fillRect(rect, resources::palette::kBackground);
                break;
            case kSlotBlank:
                canvas.fillRect(rect, gridColour(kColourPlainRow));
                break;
            case kSlotSongRow: {
                const platform::Image& strip = songStrips_.bitmaps[want.strip]->image();
                canvas.fillRect(rect, gridColour(kColourPlainRow));
                canvas.copy(strip, rect,
                            {(view.firstChannel + j) * view.channelWidth, want.stripLine * view.rowHeight});
                break;
            }
            default: {
                const TesselColumnTable& table = want.further ? metrics_.further : metrics_.own;
                canvas.fillRect(rect, gridColour(want.background));
                if (want.cursor >= 0)
                    canvas.fillRect(platform::rectOfSize(rect.left + table.positions[size_t(want.cursor)], rect.top,
                                                         table.widths[size_t(want.cursor)], rect.height()),
                                    gridColour(kColourCursor));
                queueText(runs, *font_, want, table, {rect.left, rect.top});
                break;
            }
            }
            drawn = want;
            ++painted_;
        }
    }
    for (size_t ink = 0; ink < runs.size(); ++ink)
        runs[ink].draw(canvas, *font_, gridColour(static_cast<uint8_t>(ink)));
}

void TesselPatternUI::drawCells(CDrawContext* context, int x, int y)
{
    if (!font_ || view.channelWidth <= 0 || view.rowHeight <= 0 || !context)
        return;
    updateSelectionMarks();
    rebuildLines();
    const int visibleChannels = std::max(view.visibleChannels, 1);
    picture_.prepare(int(lines_.size()), visibleChannels, view.channelWidth, view.rowHeight);
    if (view.zoomed || picture_.zoomed) {
        if (view.firstRow != picture_.firstRow || view.firstChannel != picture_.firstChannel ||
            picture_.zoomed != (view.zoomed != 0))
            picture_.forget();
    } else {
        picture_.scroll(view.firstRow - picture_.firstRow, view.firstChannel - picture_.firstChannel);
    }
    picture_.firstRow = view.firstRow;
    picture_.firstChannel = view.firstChannel;
    picture_.zoomed = view.zoomed != 0;

    if (!picture_.ready() || picture_.image().empty())
        return;
    platform::Canvas own(picture_.image());
    drawSlots(own, visibleChannels);
    CBitmap2* picture = picture_.bitmap();
    picture->draw(context, CRect(x, y, x + picture->getWidth(), y + picture->getHeight()));
}

void TesselPatternUI::drawPlayingLine(CDrawContext* context, int x, int y, int line)
{
    const TesselDrawTarget target(context);
    if (!font_ || !target.usable() || line < 0 || line >= int(lines_.size()))
        return;
    platform::Canvas& canvas = *target.canvas;
    const TesselGridLine& at = lines_[size_t(line)];
    if (at.row < 0 || at.row >= patternLength())
        return;
    GlyphRuns& runs = glyphRuns();
    const int count = std::min(view.visibleChannels, channels_ - view.firstChannel);
    for (int j = 0; j < count; ++j) {
        TesselGridSlot slot = slotFor(line, j);
        slot.cursor = -1;
        slot.ink = kColourInk;
        const platform::Point cell = target.shifted({x + j * view.channelWidth, y + at.y});
        canvas.fillRect(platform::rectOfSize(cell.x, cell.y, view.channelWidth, view.rowHeight),
                        gridColour(kColourPlayRow));
        queueText(runs, *font_, slot, slot.further ? metrics_.further : metrics_.own, cell);
    }
    runs[kColourInk].draw(canvas, *font_, gridColour(kColourInk));
    const platform::Point left = target.shifted({x, y + at.y + view.rowHeight - 1});
    canvas.fillRect(platform::rectOfSize(left.x, left.y, count * view.channelWidth, 1), gridColour(kColourPlayLine));
}
