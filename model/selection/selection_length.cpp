// Doubling and halving a region's length, cell by cell: every subrow line
// the editor shows counts as one cell.
#include "model/selection/selection_cells.h"

void TesselSelection::doubleLength()
{
    region::forEachChannel(*this, [&](TesselTrack& track, int channel) {
        const std::vector<TesselSubrow*> source = region::cellList(*this, track).cells;
        const size_t n = source.size();
        const TesselSpeedAtRow speed = region::speedIn(*this, *pattern);
        // Twice as many cells from the region's start, running past its end.
        std::vector<TesselSubrow*> spread;
        track.collectSubrows(spread, start.row, start.subrow, static_cast<int>(2 * n), speed);
        // From the end, so that every source cell is read before it is written.
        for (size_t k = n; k-- > 0;) {
            if (k > 0 && 2 * k < spread.size())
                spread[2 * k]->assign(*source[k]);
            if (2 * k + 1 < spread.size())
                region::emptyCell(*spread[2 * k + 1]);
        }
        const TesselCellPosition reached = track.stepCells(spread, start.row, start.subrow, speed);
        if (channel == end.channel) {
            end.row = static_cast<int16_t>(reached.row);
            end.subrow = static_cast<int16_t>(reached.subrow);
        }
    });
}

void TesselSelection::halveLength()
{
    region::forEachChannel(*this, [&](TesselTrack& track, int channel) {
        const region::CellList list = region::cellList(*this, track);
        const size_t n = list.size();
        if (n < 2)
            return;
        // The rows tidied are the region's before it shrinks: the emptied
        // tail must lose its further subrows too.
        const region::RowSpan rows = region::rowSpan(*this, track.length());
        for (size_t w = 0; w < n; ++w) {
            if (2 * w >= n)
                region::emptyCell(*list.cells[w]);
            else if (w != 2 * w)
                list.cells[w]->assign(*list.cells[2 * w]);
        }
        if (channel == end.channel) {
            const TesselCellPosition last = list.positions[(n + 1) / 2 - 1];
            end.row = static_cast<int16_t>(last.row);
            end.subrow = static_cast<int16_t>(last.subrow);
        }
        region::tidyChannel(track, rows);
    });
}
