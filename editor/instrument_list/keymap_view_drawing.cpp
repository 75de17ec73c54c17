// The key map view's face: key names beside the grid, the grid with its
// cursor and scrollbar, the region area's button and, while the area shows,
// each visible key's velocity regions with the region cursor and selection.
#include "editor/instrument_list/keymap_view.h"

#include "gui/bitmap.h"
#include "gui/bitmap_text.h"
#include "gui/controls/control_fonts.h"
#include "gui/controls/control_skin.h"
#include "patterneditor/grid/cell_text.h"

#include <algorithm>
#include <cstdio>

namespace {

using control_skin::fill;

constexpr CColor kWell = control_skin::kListBackground;
constexpr CColor kRowLine{34, 36, 42, 0};
constexpr CColor kOctaveLine{64, 68, 78, 0};
constexpr CColor kCursorFrame{230, 230, 220, 0};
constexpr CColor kRegionEdge{20, 22, 26, 0};
constexpr int32_t kKeyNameWidth = 20;
constexpr int32_t kSmallCell = 6;

// Regions of neighbouring samples are told apart by their shade.
CColor regionColour(int32_t sample)
{
    static constexpr CColor kShades[4] = {
        {70, 110, 150, 0}, {120, 90, 140, 0}, {70, 130, 100, 0}, {150, 110, 70, 0}};
    return kShades[static_cast<size_t>(sample) % 4];
}

void frameRect(CDrawContext* context, const CRect& r, const CColor& colour)
{
    context->setFrameColor(colour);
    context->drawRect(CRect(r.left, r.top, r.right - 1, r.bottom - 1));
}

} // namespace

void TesselKeyMapUI::layout(const CRect& grid)
{
    const int32_t width = std::max(view.channelWidth - metrics().own.positions[1], 1);
    grid_ = CRect(grid.right - width, grid.top, grid.right, grid.bottom);
    layoutTrack(grid_.left, grid_.top, grid_.right, grid_.bottom);
    scrollbar_.setRect(CRect(grid_.right + 4, grid_.top - 14, grid_.right + 14, grid_.bottom + 1));
    scrollbar_.setCounts(kKeys, view.visibleRows);
}

int32_t TesselKeyMapUI::wholeRows() const
{
    return std::clamp(grid_.height() / std::max(view.rowHeight, 1), 1, std::max(view.visibleRows, 1));
}

void TesselKeyMapUI::draw(CDrawContext* context, bool focused)
{
    if (!context)
        return;
    const int32_t bottom = grid_.top + wholeRows() * view.rowHeight;
    fill(context, CRect(grid_.left - kKeyNameWidth - 2, grid_.top, grid_.right, bottom), kWell);
    drawKeyNames(context);
    markAllDirty();
    drawTrack(context);
    if (isDraggingBlock()) {
        // Where the dragged block would land, kept inside the grid.
        CRect clip;
        context->getClipRect(clip);
        context->setClipRect(CRect(grid_.left - 2, grid_.top, grid_.right + 2, bottom));
        drawDragOutline(context, grid_.left - metrics().own.positions[1], grid_.top, grid_.right,
                        dragKeys(lastButtons_));
        context->setClipRect(clip);
    } else if (focused && !regionMode_) {
        drawGridCursor(context);
    }
    scrollbar_.setCounts(kKeys, view.visibleRows);
    scrollbar_.drawBar(context, std::max(view.firstRow, 0));
    regionButton_->draw(context, kRegionButton);
    if (regionArea_)
        drawRegionArea(context, focused);
}

void TesselKeyMapUI::drawKeyNames(CDrawContext* context)
{
    TesselFont* font = controlFont(TesselControlFont::Normal, true);
    TesselFont* current = controlFont(TesselControlFont::Highlight, true);
    for (int32_t j = 0; j < wholeRows(); ++j) {
        const int32_t key = view.firstRow + j;
        if (key < 0 || key >= kKeys)
            continue;
        char name[8];
        std::snprintf(name, sizeof name, "%s%.1d", noteName(key % 12), key / 12);
        drawBitmapText(context, name, grid_.left - kKeyNameWidth, grid_.top + j * view.rowHeight + 2,
                       key == view.cursorRow ? current : font);
    }
}

void TesselKeyMapUI::drawGridCursor(CDrawContext* context)
{
    const int32_t line = view.cursorRow - view.firstRow;
    if (line < 0 || line >= wholeRows())
        return;
    const TesselColumnTable& table = metrics().own;
    const auto place = static_cast<size_t>(kCursorColumnPosition[std::clamp<int>(view.cursorColumn, 0, 8)]);
    const int32_t x = grid_.left + table.positions[place] - table.positions[1];
    const int32_t y = grid_.top + line * view.rowHeight;
    frameRect(context, CRect(x - 1, y, x + table.widths[place] + 1, y + view.rowHeight), kCursorFrame);
}

void TesselKeyMapUI::drawRegionArea(CDrawContext* context, bool focused)
{
    const int32_t top = grid_.top;
    const int32_t bottom = top + wholeRows() * view.rowHeight;
    fill(context, CRect(kRegionLeft, top - 14, kWideRight, bottom), kWell);
    velocityScale_->draw(context, CRect(kVelocityLeft, top - 13, kVelocityLeft + velocityScale_->getWidth(),
                                         top - 13 + velocityScale_->getHeight()));
    context->setFrameColor(kCursorFrame);
    context->moveTo(CPoint(kCloseButton.left + 1, kCloseButton.top + 2));
    context->lineTo(CPoint(kCloseButton.right - 1, kCloseButton.bottom - 1));
    context->moveTo(CPoint(kCloseButton.right - 2, kCloseButton.top + 2));
    context->lineTo(CPoint(kCloseButton.left, kCloseButton.bottom - 1));

    TesselFont* font = controlFont(TesselControlFont::Normal, true);
    for (int32_t j = 0; j < wholeRows(); ++j) {
        const int32_t key = view.firstRow + j;
        if (key < 0 || key >= kKeys)
            continue;
        const int32_t y = top + j * view.rowHeight;
        fill(context, CRect(kRegionLeft, y + view.rowHeight - 1, kWideRight, y + view.rowHeight),
             key % 12 == 11 ? kOctaveLine : kRowLine);
        for (const TesselKeyRegion& r : regions_[static_cast<size_t>(key)].regions) {
            if (r.isZero())
                break;
            const int32_t left = kVelocityLeft + kVelocityStep * r.from;
            const int32_t right = kVelocityLeft + kVelocityStep * (r.to + 1) - 1;
            fill(context, CRect(left, y + 1, right, y + view.rowHeight - 2), regionColour(r.value));
            // Overlapping regions stay apart by their edges.
            frameRect(context, CRect(left, y + 1, right, y + view.rowHeight - 2), kRegionEdge);
            char text[8];
            std::snprintf(text, sizeof text, "%.2d", static_cast<int>(r.value));
            if (right - left >= 2 * kSmallCell + 2)
                drawBitmapText(context, text, left + 1, y + 2, font);
        }
    }
    TesselRegionRect rect;
    if (!getRegionSelection(rect))
        return;
    const int32_t selTop = top + (rect.firstKey - view.firstRow) * view.rowHeight;
    const int32_t selBottom = top + (rect.lastKey + 1 - view.firstRow) * view.rowHeight;
    if (selBottom > top && selTop < bottom)
        frameRect(context,
                  CRect(kVelocityLeft + kVelocityStep * rect.firstVelocity, std::max(selTop, top),
                        kVelocityLeft + kVelocityStep * (rect.lastVelocity + 1), std::min(selBottom, bottom)),
                  focused ? kCursorFrame : kOctaveLine);
    const int32_t line = regionKey_ - view.firstRow;
    if (line >= 0 && line < wholeRows()) {
        const int32_t x = kVelocityLeft + kVelocityStep * regionVelocity_ - 1;
        const int32_t y = top + line * view.rowHeight;
        regionCursor_->drawTransparent(context, CRect(x, y, x + regionCursor_->getWidth(),
                                                      y + regionCursor_->getHeight()));
    }
}
