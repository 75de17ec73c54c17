#pragma once
// The two row strips of a centralised view: the song rows just before the
// pattern (strip 0) and just after it (strip 1), as they play in the order
// list, so that the rows beyond the pattern's ends show what comes around.

#include "patterneditor/grid/grid_bitmap.h"

#include <cstdint>

struct TesselSongStrips {
    TesselBitmapHolder bitmaps[2];
    int32_t halfRows = 0;      // h: half the visible rows
    int32_t position = -1;     // the order position the strips were made for
    int32_t patternLength = 0;
    bool filled[2] = {false, false};
    uint32_t generation = 0;   // grows at every refill

    int lines() const { return halfRows + 2; }
    // The strip and line that show row `row` (outside 0..length-1) of the
    // pattern; false when no strip holds it.
    bool lineFor(int row, int& strip, int& line) const
    {
        if (row < 0) {
            strip = 0;
            line = row + halfRows + 1;
        } else {
            strip = 1;
            line = row - patternLength;
        }
        return line >= 0 && line < lines() && filled[strip] && bitmaps[strip];
    }
    // Until the next fill no strip is shown. The images are kept: a release
    // is mostly followed at once by a layout that fills them again, and a
    // fill clears the whole of each before writing (a new size makes new ones).
    void release() { filled[0] = filled[1] = false; }
};
