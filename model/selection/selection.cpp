// The region record: setting its corners and fitting it to its pattern.
#include "model/selection/selection.h"

#include "model/selection/selection_cells.h"
#include "model/song/pattern.h"

#include <utility>

void TesselSelection::setStart(TesselGridPosition position)
{
    start = position;
    normalise();
}

void TesselSelection::setEnd(TesselGridPosition position)
{
    end = position;
    normalise();
}

void TesselSelection::extendTo(TesselGridPosition position)
{
    if (active) {
        start = anchor;
        end = position;
    }
    normalise();
}

void TesselSelection::begin(TesselPattern* regionPattern, TesselGridPosition position)
{
    pattern = regionPattern;
    active = 1;
    marking = 1;
    anchor = start = end = position;
    normalise();
}

void TesselSelection::select(TesselPattern* regionPattern, TesselGridPosition from, TesselGridPosition to)
{
    pattern = regionPattern;
    active = 1;
    marking = 0;
    start = from;
    end = to;
    normalise();
}

int TesselSelection::normalise()
{
    start.column = 0;
    end.column = kColumnsPerChannel - 1;
    if (!active || !pattern)
        return start.channel;
    const int length = pattern->length();
    if (end.row < 0 || start.row >= length || start.channel > kLastChannel || end.channel < 0) {
        active = 0;
        return start.channel;
    }
    end.row = static_cast<int16_t>(std::min<int>(end.row, length - 1));
    start.row = std::max<int16_t>(start.row, 0);
    // A region drawn upwards: the rows change places before the end subrow
    // is taken, so that it ends on the last subrow of its real last row.
    if (end.row < start.row)
        std::swap(start.row, end.row);
    start.subrow = 0;
    end.subrow = static_cast<int16_t>(subrowCount(end.row) - 1);
    start.channel = std::max<int16_t>(start.channel, 0);
    end.channel = std::min<int16_t>(end.channel, kLastChannel);
    if (end.channel < start.channel)
        std::swap(start.channel, end.channel);
    return start.channel;
}

bool TesselSelection::contains(TesselGridPosition p) const
{
    const auto place = [](int16_t a, int16_t b) { return std::pair<int16_t, int16_t>(a, b); };
    return active && place(start.channel, start.column) <= place(p.channel, p.column) &&
           place(p.channel, p.column) <= place(end.channel, end.column) &&
           place(start.row, start.subrow) <= place(p.row, p.subrow) &&
           place(p.row, p.subrow) <= place(end.row, end.subrow);
}

bool TesselSelection::spansAllChannels() const
{
    return active && end.channel - start.channel + 1 == kChannels;
}

int TesselSelection::subrowCount(int row) const
{
    return pattern ? subrowsShown(region::speedIn(*this, *pattern), row) : 1;
}
