#include "model/selection/selection_cells.h"

#include <algorithm>

namespace region {

RowSpan rowSpan(const TesselSelection& region, int length)
{
    return {std::max<int>(region.start.row, 0), std::min<int>(region.end.row, length - 1)};
}

TesselSpeedAtRow speedIn(const TesselSelection& region, const TesselPattern& pattern)
{
    if (!region.speeds)
        return {};
    return [&region, &pattern](int row) { return region.speeds(pattern, row); };
}

SubrowSpan subrowSpan(const TesselSelection& region, int row)
{
    const int first = row == region.start.row ? std::max<int>(region.start.subrow, 0) : 0;
    const int last = row == region.end.row ? std::min<int>(region.end.subrow, kMaxSubrows - 1)
                                           : region.subrowCount(row) - 1;
    return {first, last};
}

int cellCount(const TesselSelection& region, int length)
{
    int count = 0;
    const RowSpan span = rowSpan(region, length);
    for (int r = span.first; r <= span.last; ++r) {
        const SubrowSpan subrows = subrowSpan(region, r);
        count += std::max(subrows.last - subrows.first + 1, 0);
    }
    return count;
}

std::vector<TesselRow*> rowList(const TesselSelection& region, TesselTrack& track)
{
    std::vector<TesselRow*> rows;
    const RowSpan span = rowSpan(region, track.length());
    for (int r = span.first; r <= span.last; ++r)
        rows.push_back(&track.getRow(r));
    return rows;
}

CellList cellList(const TesselSelection& region, TesselTrack& track)
{
    CellList list;
    const RowSpan span = rowSpan(region, track.length());
    for (int r = span.first; r <= span.last; ++r) {
        TesselRow& row = track.getRow(r);
        const SubrowSpan subrows = subrowSpan(region, r);
        for (int j = subrows.first; j <= subrows.last; ++j) {
            list.cells.push_back(&row.subrowAt(j));
            list.positions.push_back({r, j});
        }
    }
    return list;
}

void tidyChannel(TesselTrack& track, RowSpan rows)
{
    for (int r = rows.first; r <= rows.last; ++r)
        track.getRow(r).pruneSubrows();
    track.freeEmptyRows();
}

TesselCellPosition lastCellFrom(const TesselSpeedAtRow& speed, int length, TesselCellPosition from, int count)
{
    TesselCellPosition last = from;
    for (int r = std::max(from.row, 0); count > 0 && r < length; ++r)
        for (int j = (r == from.row ? from.subrow : 0); j < subrowsShown(speed, r) && count > 0; ++j, --count)
            last = {r, j};
    return last;
}

} // namespace region
