// The grid's cursor: clamping, carrying columns into channels, stepping
// after an entry, scrolling to keep it in view, and the cells and timing
// entries it reads.
#include "patterneditor/grid/pattern_grid.h"

#include "engine/engine.h"
#include "model/song/blanks.h"
#include "model/song/module.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kLastColumn = kColumnsPerChannel - 1;
// Wheel distances beyond this many rows move no further: a pattern has 256.
constexpr float kMaxWheelRows = 1024.0f;

int floorDiv(int a, int b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

} // namespace

const TesselSubrow& TesselPatternUI::cellOrBlank(int channel, int row, int subrow) const
{
    if (!pattern_ || channel < 0 || channel >= kChannels || row < 0 || row >= patternLength())
        return blankSubrow();
    const TesselTrack* track = pattern_->tracks.trackAt(channel);
    const TesselRow* found = track ? track->rowAt(row) : nullptr;
    const TesselSubrow* cell = found ? found->findSubrow(subrow) : nullptr;
    return cell ? *cell : blankSubrow();
}

const TesselSubrow& TesselPatternUI::cellAtCursor() const
{
    return cellOrBlank(view.cursorChannel, view.cursorRow, view.cursorSubrow);
}

const TesselPlaylistEntry* TesselPatternUI::findTimingEntry(int row) const
{
    if (!engine_ || !pattern_ || pattern_->index < 0 || pattern_->index >= kPatterns)
        return nullptr;
    const TesselPlaylist* list = engine_->patternTiming[size_t(pattern_->index)].get();
    if (!list)
        return nullptr;
    for (int32_t i = 0; i < list->count; ++i)
        if (list->entries()[i].row == row)
            return &list->entries()[i];
    return nullptr;
}

int TesselPatternUI::speedAtRow(int row) const
{
    const TesselPlaylistEntry* entry = findTimingEntry(row);
    return subrowCountFromSpeed((entry ? entry->speed : song_.resolution) + 0.1);
}

int TesselPatternUI::cursorSubrows(int row) const
{
    const TesselPlaylistEntry* entry = findTimingEntry(row);
    return entry ? subrowCountFromSpeed(entry->speed + 0.1) : 1;
}

int TesselPatternUI::visibleRowsForCursor() const
{
    const int covered = host_->coveringPanelHeight();
    if (covered <= 0 || view.rowHeight <= 0)
        return view.visibleRows;
    return view.visibleRows - covered / view.rowHeight - 1;
}

void TesselPatternUI::clampFirstChannel()
{
    const int visible = std::max(view.visibleChannels, 1);
    view.firstChannel = std::clamp(view.firstChannel, 0, std::max(0, channels_ - visible + 1));
}

int TesselPatternUI::ensureCursorVisible()
{
    TesselPatternView& v = view;
    const int length = std::max(patternLength(), 1);
    int channel = v.cursorChannel;
    int column = v.cursorColumn;
    int row = v.cursorRow;
    int subrow = v.cursorSubrow;

    if (row < 0) {
        row = 0;
        subrow = 0;
    } else if (row >= length) {
        row = length - 1;
        subrow = 0;
    }
    if (subrow < 0) {
        if (row > 0) {
            --row;
            subrow = cursorSubrows(row) - 1;
        } else {
            subrow = 0;
        }
    } else if (subrow >= cursorSubrows(row)) {
        if (row < length - 1) {
            ++row;
            subrow = 0;
        } else {
            subrow = cursorSubrows(row) - 1;
        }
    }

    if (column < 0 || column > kLastColumn) {
        const int carry = floorDiv(column, kColumnsPerChannel);
        channel += carry;
        column -= carry * kColumnsPerChannel;
    }
    const int visible = std::max(v.visibleChannels, 1);
    if (channel < 0) {
        channel = 0;
        column = 0;
        v.firstChannel = 0;
    } else if (channel >= channels_) {
        channel = channels_ - 1;
        column = kLastColumn;
        v.firstChannel = channels_ - visible;
    }
    if (channels_ > 1) {
        if (channel < v.firstChannel)
            v.firstChannel = channel;
        else if (channel >= v.firstChannel + visible - 1)
            v.firstChannel = channel - visible + 2;
    }
    // With more visible channels than there are, the steps above go negative.
    clampFirstChannel();

    v.cursorChannel = static_cast<int16_t>(channel);
    v.cursorColumn = static_cast<int16_t>(column);
    v.cursorRow = static_cast<int16_t>(row);
    v.cursorSubrow = static_cast<int16_t>(subrow);

    if (!v.centralised) {
        const int h = visibleRowsForCursor();
        if (row < v.firstRow)
            v.firstRow = row;
        if (v.firstRow + h - 2 < row + subrow)
            v.firstRow = row + subrow - h + 2;
        v.firstRow = std::max(v.firstRow, 0);
    } else if (!isMouseSelecting()) {
        // Rows above the pattern show empty (or the song rows before it).
        v.firstRow = row - v.visibleRows / 2;
    }
    rebuildLines();
    return v.firstRow;
}

void TesselPatternUI::moveCursorTo(int columnIndex, int row)
{
    if (columnIndex != -1) {
        const int channel = floorDiv(columnIndex, kColumnsPerChannel);
        view.cursorChannel = static_cast<int16_t>(std::clamp(channel, -1, kChannels));
        view.cursorColumn = static_cast<int16_t>(columnIndex - channel * kColumnsPerChannel);
    }
    if (row != -1)
        view.cursorRow = static_cast<int16_t>(std::clamp(row, -1, kRowsCap));
    ensureCursorVisible();
}

void TesselPatternUI::moveCursorBy(int columns, int rows)
{
    // Carried here so that the 16-bit fields never overflow.
    const int column = view.cursorColumn + std::clamp(columns, -kColumnsPerChannel * 65, kColumnsPerChannel * 65);
    const int channel = view.cursorChannel + floorDiv(column, kColumnsPerChannel);
    view.cursorChannel = static_cast<int16_t>(std::clamp(channel, -1, kChannels));
    view.cursorColumn = static_cast<int16_t>(column - floorDiv(column, kColumnsPerChannel) * kColumnsPerChannel);
    view.cursorRow = static_cast<int16_t>(std::clamp(view.cursorRow + std::clamp(rows, -1024, 1024), -1, kRowsCap));
    ensureCursorVisible();
}

void TesselPatternUI::stepCursor()
{
    if (engine_ && engine_->transport > 3 && host_->followsPlayback())
        return;
    const int n = view.cursorIncrement;
    if (n > 0) {
        if (view.cursorRow < patternLength() - n)
            view.cursorRow = static_cast<int16_t>(view.cursorRow + n);
    } else if (n == 0) {
        view.cursorChannel = static_cast<int16_t>(view.cursorChannel + 1);
    }
    ensureCursorVisible();
}

void TesselPatternUI::scrollRows(int /*x*/, int /*y*/, float distance)
{
    if (std::isnan(distance))
        return;
    const int steps = static_cast<int>(std::clamp(distance, -kMaxWheelRows, kMaxWheelRows));
    const int first = view.firstRow - steps;
    if (first == view.firstRow)
        return;
    view.firstRow = first;
    int row = view.cursorRow;
    if (view.centralised)
        row -= steps;
    // Inside the rows that ensureCursorVisible leaves alone, so that the
    // view keeps the distance it was moved by.
    const int bottom = first + std::max(visibleRowsForCursor() - 2, 0);
    row = std::clamp(row, first, bottom);
    view.cursorRow = static_cast<int16_t>(std::clamp(row, -1, kRowsCap));
    ensureCursorVisible();
}
