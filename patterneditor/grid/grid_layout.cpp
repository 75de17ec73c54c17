// The grid's layout in the editor window: visible channels and rows, the
// drawn lines, and the x and y of cells.
#include "patterneditor/grid/pattern_grid.h"

#include <algorithm>

namespace {

// Row numbers sit left of the grid; these many pixels below the grid's top
// are not rows (the header, and the status strip unless maximised).
constexpr int kRowMargin = 42;
constexpr int kStatusMargin = 11;

} // namespace

void TesselPatternUI::layoutGrid(int left, int top, int right, int bottom)
{
    area_ = {left, top, right, bottom};
    const int width = right - left;
    const int height = bottom - top;
    const int cellWidth = std::max(view.channelWidth, 1);
    const int rowHeight = std::max(view.rowHeight, 1);
    view.visibleChannels = std::max((width - 3 * view.characterWidth - 1) / cellWidth + 1, 1);
    const int margin = kRowMargin + (host_->editorMaximised() ? 0 : kStatusMargin);
    view.visibleRows = std::max((height - margin) / rowHeight + 1, 1);
    clampFirstChannel();
    const int lastFirstRow = patternLength() - view.visibleRows - 1;
    if (lastFirstRow < view.firstRow)
        view.firstRow = lastFirstRow < 0 && !view.centralised ? 0 : lastFirstRow;
    ensureCursorVisible();
    headers_[0].reset();
    headers_[1].reset();
    renderChannelHeader(-1);
    if (songStrips_.position != -1)
        fillSongStrips(songStrips_.position);
    markAllDirty();
}

void TesselPatternUI::layoutAgain()
{
    if (area_.empty()) {
        rebuildLines();
        return;
    }
    layoutGrid(area_.left, area_.top, area_.right, area_.bottom);
}

platform::Point TesselPatternUI::gridOrigin() const
{
    return {view.characterWidth * 3 + 5, host_->editorMaximised() ? 27 : 38};
}

platform::Rect TesselPatternUI::gridArea() const
{
    const platform::Point origin = gridOrigin();
    const platform::Point client = host_->clientSize();
    return platform::rectOfSize(origin.x, origin.y, client.x, client.y - 21);
}

int TesselPatternUI::columnX(int channel, int column, bool furtherSubrow) const
{
    const TesselColumnTable& table = furtherSubrow ? metrics_.further : metrics_.own;
    const int place = kCursorColumnPosition[std::clamp(column, 0, kColumnsPerChannel - 1)];
    return (channel - view.firstChannel) * view.channelWidth + table.positions[size_t(place)];
}

int TesselPatternUI::rowY(int row, int subrow, bool next) const
{
    if (lines_.empty())
        return 0;
    const auto after = [row, subrow](const TesselGridLine& line) {
        return line.row > row || (line.row == row && line.subrow > subrow);
    };
    // The first line past the position; the one before it holds the position.
    const auto past = std::find_if(lines_.begin(), lines_.end(), after);
    if (past == lines_.begin())
        return lines_.front().y;
    if (!next)
        return std::prev(past)->y;
    return past == lines_.end() ? lines_.back().y : past->y;
}

void TesselPatternUI::rebuildLines()
{
    lines_.clear();
    const int rowHeight = std::max(view.rowHeight, 0);
    const int count = view.visibleRows + 1;
    const int length = patternLength();
    int row = view.firstRow;
    int subrow = 0;
    for (int i = 0; i < count; ++i) {
        lines_.push_back({row, subrow, i * rowHeight});
        const int shown = view.zoomed && row >= 0 && row < length ? speedAtRow(row) : 1;
        if (++subrow >= shown) {
            ++row;
            subrow = 0;
        }
    }
}
