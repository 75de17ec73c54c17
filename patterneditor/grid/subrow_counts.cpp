#include "patterneditor/grid/subrow_counts.h"

#include "engine/engine.h"

TesselPatternSpeed editorSubrowCounts(const TesselEngine& engine)
{
    return [&engine](const TesselPattern& pattern, int row) {
        return subrowCountFromSpeed(engine.speedAtRow(pattern.index, row));
    };
}
