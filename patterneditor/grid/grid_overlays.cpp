// What the grid draws over its cells (the drag outline), the volume column
// switch, the double-click test and the release of its images.
#include "patterneditor/grid/pattern_grid.h"

#include "patterneditor/grid/draw_target.h"
#include "platform/graphics/hatch.h"
#include "platform/status_text.h"

#include <algorithm>

namespace {

// A 4-pixel pen centred on the outline, as solid bands.
constexpr int kPenHalf = TesselPatternUI::kDragPenWidth / 2;

platform::Rect horizontalBand(int left, int right, int y)
{
    return {left - kPenHalf, y - kPenHalf, right + kPenHalf, y + kPenHalf};
}

platform::Rect verticalBand(int x, int top, int bottom)
{
    return {x - kPenHalf, top - kPenHalf, x + kPenHalf, bottom + kPenHalf};
}

} // namespace

void TesselPatternUI::drawDragOutline(CDrawContext* context, int x, int y, int rightEdge, uint8_t keys)
{
    const TesselDrawTarget target(context);
    if (!target.usable() || !selection.active || !selection.dragging || !pattern_)
        return;
    const int endChannel = view.cursorChannel + selection.end.channel - selection.start.channel;
    const TesselCellPosition end = selection.positionAfter(view.cursorRow, 0);
    const platform::Point at = target.shifted({x, y});
    const int left = at.x + (view.cursorChannel - view.firstChannel) * view.channelWidth + metrics_.own.positions[1];
    const int right = channels_ == 1 ? target.offset.x + rightEdge
                                     : at.x + (endChannel - view.firstChannel + 1) * view.channelWidth;
    const int top = at.y + rowY(view.cursorRow, 0, false);
    const int bottom = at.y + rowY(end.row, end.subrow, true);

    platform::Canvas& canvas = *target.canvas;
    const platform::Colour pen = platform::fromColorRef(kDragPen);
    if (keys & kDragAlt)
        platform::fillHatched(canvas, {left + kPenHalf, top + kPenHalf, right - kPenHalf, bottom - kPenHalf}, pen,
                              keys & kDragShift ? platform::Hatch::diagonalCross : platform::Hatch::backwardDiagonal);
    canvas.fillRect(horizontalBand(left, right, top), pen);
    if ((keys & kDragShift) && !(keys & kDragAlt))
        return;   // insert: only where the rows go in
    canvas.fillRect(horizontalBand(left, right, bottom), pen);
    canvas.fillRect(verticalBand(left, top, bottom), pen);
    canvas.fillRect(verticalBand(right, top, bottom), pen);
}

void TesselPatternUI::toggleVolumeColumn()
{
    // Depth mode (2) goes back to volume like panning does.
    view.volumeMode = view.volumeMode == kShowVolume ? kShowPanning : kShowVolume;
    platform::setStatusText(view.volumeMode == kShowVolume ? "Volume control set." : "Panning control set.");
    if (songStrips_.position != -1)
        fillSongStrips(songStrips_.position);
    markAllDirty();
}

bool TesselPatternUI::isDoubleClick()
{
    const uint32_t now = host_->ticks();
    const uint32_t interval = host_->doubleClickInterval();
    if (lastClick_ > 0 && now - lastClick_ < interval) {
        // A third click right after starts anew.
        lastClick_ = now - interval - 1;
        return true;
    }
    lastClick_ = now;
    return false;
}

void TesselPatternUI::releaseDrawingObjects()
{
    headers_[0].reset();
    headers_[1].reset();
    picture_.release();
    songStrips_.release();
}
