#include "model/selection/clipboard.h"

void TesselClipboard::copyFrom(const TesselSelection& region)
{
    if (!region.active || !region.pattern)
        return;
    selection = region;
    selection.pattern = &pattern;
    // The copy keeps the source's number, so subrow counts looked up by
    // pattern stay those of the rows it came from.
    pattern.index = region.pattern->index;
    region.copyRowsTo(pattern, region.start, false, kPasteOverwrite);
    majorStep = region.pattern->majorStep;
    minorStep = region.pattern->minorStep;
}

TesselGridPosition TesselClipboard::pasteInto(TesselPattern& target, TesselGridPosition cursor, bool insert,
                                              int mode) const
{
    if (isEmpty())
        return cursor;
    return selection.copyRowsTo(target, cursor, insert, mode);
}

void TesselClipboard::applyHighlights(TesselPattern& target) const
{
    target.majorStep = majorStep;
    target.minorStep = minorStep;
}
