#pragma once
// The pattern editor's clipboard: the region as it was copied, a pattern of
// its own holding the copied rows at the same channels and rows as in the
// source, and the source's row highlights. Empty while its region is inactive.

#include "model/selection/selection.h"
#include "model/song/pattern.h"

class TesselClipboard {
public:
    // Its pattern holds every row a copy can hold.
    TesselClipboard() { pattern.setLength(kMaxRows); }
    TesselClipboard(const TesselClipboard&) = delete;
    TesselClipboard& operator=(const TesselClipboard&) = delete;

    bool isEmpty() const { return !selection.active; }

    // Overwrites only the copied rows of the clipboard's pattern; an
    // inactive region leaves the clipboard as it was.
    void copyFrom(const TesselSelection& region);
    // Writes the copied rows at the cursor; returns the end of the block.
    TesselGridPosition pasteInto(TesselPattern& target, TesselGridPosition cursor, bool insert, int mode) const;
    // The saved majorStep and minorStep become the target's.
    void applyHighlights(TesselPattern& target) const;

    TesselSelection selection;   // its pattern is the clipboard's own
    TesselPattern pattern;
    int32_t majorStep = 16;
    int32_t minorStep = 4;
};
