#pragma once
// Small lookups of note entry and the cursor (the song model's own are on
// its classes: TesselSubrow::sameData, startsNote, TesselInstrument::
// sampleForNote, TesselModule::cellVolume, cellPanning, TesselOrderList::
// nextUsed, previousUsed, TesselSelection::sameRegion).

#include "model/selection/selection.h"

// '1'..'9' give 1..9, 'A'..'F' 10..15, anything else 0.
constexpr int hexDigitValue(char c)
{
    if (c >= '1' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 0;
}

// The first (row, subrow) is at or before the second, rows first.
constexpr bool positionAtOrBefore(const TesselGridPosition& a, const TesselGridPosition& b)
{
    return a.row < b.row || (a.row == b.row && a.subrow <= b.subrow);
}
