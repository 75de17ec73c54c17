// The mouse over the grid: a press moves the cursor and starts a selection
// (or, inside the selection, a drag of its block), moving with the button
// held extends it or carries the block, and the release ends the marking
// or drops the block: moved or copied, inserted, mixed or overwriting.
#include "patterneditor/grid/pattern_grid.h"

#include "model/selection/clipboard.h"
#include "model/song/module.h"
#include "patterneditor/grid/grid_checkpoint.h"
#include "patterneditor/menus/amplify_prompt.h"
#include "shell/usage_log.h"

#include <algorithm>
#include <string>

namespace {

constexpr int32_t kLeftButton = 1;
constexpr int32_t kShiftBit = 8;
constexpr int32_t kControlBit = 16;
constexpr int32_t kAltBit = 32;

constexpr int32_t kMouseSelects = 39;
constexpr int32_t kMouseDrags = 40;
constexpr int32_t kMouseCopy = 17;
constexpr int32_t kMouseMove = 18;
constexpr int32_t kMouseInsert = 19;
constexpr int32_t kMouseOverwrite = 20;
constexpr int32_t kMouseMix = 22;

void logMouse(int32_t value)
{
    logUsageAction(kCmdMouse, value);
}

// The cursor column of a pixel inside a cell.
int columnAt(const TesselColumnTable& table, int x)
{
    int place = 1;
    for (int p = 1; p < kCellTextLength; ++p)
        if (table.positions[size_t(p)] <= x)
            place = p;
    int column = 0;
    for (int c = 0; c < kColumnsPerChannel; ++c)
        if (kCursorColumnPosition[c] <= place)
            column = c;
    return column;
}

bool sameCell(const TesselGridPosition& a, const TesselGridPosition& b)
{
    return a.channel == b.channel && a.row == b.row && a.subrow == b.subrow;
}

} // namespace

uint8_t TesselPatternUI::dragKeys(int32_t buttons)
{
    return static_cast<uint8_t>(((buttons & kShiftBit) ? kDragShift : 0) | ((buttons & kAltBit) ? kDragAlt : 0));
}

bool TesselPatternUI::cellUnder(int x, int y, TesselGridPosition& cell) const
{
    const platform::Point origin = gridOrigin();
    const int gx = x - origin.x;
    const int gy = y - origin.y;
    if (lines_.empty() || view.rowHeight <= 0 || view.channelWidth <= 0 || gy < 0 || patternLength() <= 0)
        return false;
    const TesselGridLine& line = lines_[std::min<size_t>(size_t(gy / view.rowHeight), lines_.size() - 1)];
    cell.row = static_cast<int16_t>(std::clamp(line.row, 0, patternLength() - 1));
    cell.subrow = static_cast<int16_t>(line.row == cell.row ? line.subrow : 0);
    if (gx < 0) {
        cell.channel = -1;
        cell.column = 0;
        return true;
    }
    const int slot = gx / view.channelWidth;
    cell.channel = static_cast<int16_t>(std::min(view.firstChannel + slot, channels_ - 1));
    cell.column = static_cast<int16_t>(columnAt(cell.subrow > 0 ? metrics_.further : metrics_.own,
                                                gx - slot * view.channelWidth));
    return true;
}

// Within two rows of the bottom or one of the top, or a channel's width of
// the sides, the view moves on by one and the pointer back by as much.
void TesselPatternUI::scrollWhileDragging(int x, int y)
{
    const platform::Point origin = gridOrigin();
    const int line = view.rowHeight > 0 ? (y - origin.y) / view.rowHeight : 0;
    const int rows = visibleRowsForCursor();
    if (line >= rows - 2 && view.firstRow + rows - 1 < patternLength()) {
        ++view.firstRow;
        host_->movePointerBy(0, -view.rowHeight);
    } else if (y >= origin.y && line < 1 && view.firstRow > 0) {
        --view.firstRow;
        host_->movePointerBy(0, view.rowHeight);
    }
    const int gx = x - origin.x;
    if (channels_ > 1 && view.channelWidth > 0) {
        const int slot = gx / view.channelWidth;
        if (slot >= view.visibleChannels - 1 && view.firstChannel + view.visibleChannels - 1 < channels_) {
            ++view.firstChannel;
            host_->movePointerBy(-view.channelWidth, 0);
        } else if (gx >= 0 && gx < view.channelWidth / 2 && view.firstChannel > 0) {
            --view.firstChannel;
            host_->movePointerBy(view.channelWidth, 0);
        }
    }
    rebuildLines();
}

int32_t TesselPatternUI::dragSelection(int x, int y, int32_t buttons, bool freshPress)
{
    const bool left = buttons & kLeftButton;
    if (amplifyPromptOpen()) {
        prompt_->onMouse(x, y, buttons);
        return left ? kLeftButton : 0;
    }
    if (!pattern_)
        return 0;
    if (left && pressed_ && !freshPress && (markingState == 1 || selection.dragging))
        scrollWhileDragging(x, y);
    TesselGridPosition cell;
    const bool found = cellUnder(x, y, cell);
    // While the button is held the cursor follows without scrolling the view.
    const auto cursorTo = [this](const TesselGridPosition& at) {
        view.cursorChannel = std::max<int16_t>(at.channel, 0);
        view.cursorColumn = at.column;
        view.cursorRow = at.row;
        view.cursorSubrow = at.subrow;
    };

    if (left && (freshPress || !pressed_)) {
        if (!found)
            return kLeftButton;
        pressed_ = true;
        pressCell_ = cell;
        markingRows_ = cell.channel < 0;
        if (markingRows_) {
            // The row-number column marks whole rows over every channel.
            selection.begin(pattern_, {0, 0, cell.row, 0});
            selection.extendTo({static_cast<int16_t>(channels_ - 1), 8, cell.row, 0});
            markingState = 1;
            logMouse(kMouseSelects);
            host_->gridChanged();
            return kLeftButton;
        }
        cursorTo(cell);
        if (!(cell == dragAnchor)) {
            dragAnchor = cell;
            if (selection.active && !selection.contains(cell))
                selection.active = 0;
        }
        if (selection.active && selection.contains(dragAnchor)) {
            selection.dragging = 1;
            logMouse(kMouseDrags);
            host_->dragChanged(true);
        } else {
            selection.begin(pattern_, dragAnchor);
            markingState = 1;
            logMouse(kMouseSelects);
        }
        host_->gridChanged();
        return kLeftButton;
    }

    if (left) {
        if (!found)
            return kLeftButton;
        if (selection.dragging) {
            cursorTo({std::max<int16_t>(cell.channel, 0), 0, cell.row, cell.subrow});
            host_->dragChanged(true);
        } else if (markingState == 1) {
            if (markingRows_) {
                selection.extendTo({static_cast<int16_t>(channels_ - 1), 8, cell.row, cell.subrow});
            } else {
                cell.channel = std::max<int16_t>(cell.channel, 0);
                selection.extendTo(cell);
                cursorTo(cell);
            }
        }
        host_->gridChanged();
        return kLeftButton;
    }

    if (!pressed_)
        return 0;
    pressed_ = false;
    const bool samePlace = found && sameCell(cell, pressCell_);
    if (selection.dragging) {
        selection.dragging = 0;
        host_->dragChanged(false);
        if (samePlace)
            selection.active = 0;
        else
            dropBlock(dragKeys(buttons), (buttons & kControlBit) != 0);
    } else if (markingState == 1) {
        if (samePlace && !markingRows_)
            selection.active = 0;
        selection.marking = 0;
        markingState = 0;
    }
    markingRows_ = false;
    ensureCursorVisible();
    host_->gridChanged();
    return 0;
}

// The selection's block at the cursor, through a clipboard of its own, so
// that a move onto itself reads its rows before they are cleared.
void TesselPatternUI::dropBlock(uint8_t keys, bool copy)
{
    const bool shift = keys & kDragShift;
    const bool alt = keys & kDragAlt;
    std::string message = copy ? "Mouse copy" : "Mouse move";
    message += alt ? (shift ? " (mix fields)." : " (mix).") : shift ? "  (insert)." : "  (overwrite).";
    const TesselGridPosition at{view.cursorChannel, 0, view.cursorRow, 0};
    const bool dropped = checkpointed(message.c_str(), [&] {
        auto block = std::make_unique<TesselClipboard>();
        block->copyFrom(selection);
        if (!copy)
            selection.clear(kFieldCell, false);
        const int mode = alt ? (shift ? kPasteFillGaps : kPasteMix) : kPasteOverwrite;
        const TesselGridPosition end = block->pasteInto(*pattern_, at, shift && !alt, mode);
        selection.select(pattern_, at, {end.channel, 8, end.row, 0});
        rebuildTiming();
    });
    if (!dropped)
        return;
    logMouse(copy ? kMouseCopy : kMouseMove);
    logMouse(alt ? kMouseMix : shift ? kMouseInsert : kMouseOverwrite);
}
