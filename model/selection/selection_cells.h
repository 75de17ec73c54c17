#pragma once
// The temporary lists over which every region operation runs, one channel at
// a time: pointers into the song that stay valid while the channel is worked
// on (rows live in their slots, further subrows in a std::list).

#include "model/selection/selection.h"
#include "model/song/pattern.h"

#include <algorithm>
#include <vector>

namespace region {

// The region's rows inside the pattern: first..last, clamped to the track.
struct RowSpan {
    int first = 0;
    int last = -1;
    int count() const { return last - first + 1; }
};
RowSpan rowSpan(const TesselSelection& region, int length);

// Subrow counts of the rows of a pattern as the region sees them (1..256),
// for the track helpers.
TesselSpeedAtRow speedIn(const TesselSelection& region, const TesselPattern& pattern);

// The region's subrows of row r: first..last.
struct SubrowSpan {
    int first = 0;
    int last = -1;
};
SubrowSpan subrowSpan(const TesselSelection& region, int row);
// The number of cells of one channel of the region in a track of that length.
int cellCount(const TesselSelection& region, int length);

// Each row of the region, created when missing.
std::vector<TesselRow*> rowList(const TesselSelection& region, TesselTrack& track);

// Each cell of the region in row then subrow order: from the start subrow
// on the start row, to the end subrow on the end row, all shown subrows
// between; missing rows and subrows are created empty.
struct CellList {
    std::vector<TesselSubrow*> cells;
    std::vector<TesselCellPosition> positions;   // where each cell lies
    size_t size() const { return cells.size(); }
};
CellList cellList(const TesselSelection& region, TesselTrack& track);

// Runs `work` (track, channel) on each channel of an active region with a
// pattern, from the start channel to the end channel.
template <class Work>
void forEachChannel(const TesselSelection& region, Work work)
{
    if (!region.active || !region.pattern)
        return;
    const int last = std::min<int>(region.end.channel, kLastChannel);
    for (int c = std::max<int>(region.start.channel, 0); c <= last; ++c)
        work(region.pattern->tracks.getTrack(c), c);
}

// Rows first..last lose their empty further subrows, then the track its empty rows.
void tidyChannel(TesselTrack& track, RowSpan rows);

// The position of the count-th cell counted from `from` (count >= 1), with
// the subrows that each row shows; bounded by the track's last cell.
TesselCellPosition lastCellFrom(const TesselSpeedAtRow& speed, int length, TesselCellPosition from, int count);

// Orphans-only operations skip cells that belong to a note.
inline bool skipsCell(const TesselSubrowData& cell, bool orphansOnly)
{
    return orphansOnly && (cell.pitch != -1 || cell.instrument != 0);
}

// Empties the cell's own data only: never a row's further subrows, which
// the list may hold as cells of their own.
inline void emptyCell(TesselSubrow& cell)
{
    cell.TesselSubrow::clear();
}

} // namespace region
