#pragma once
// The effect descriptions of the info panel: 113 rows by key, and what the
// info bar says of one cell's effect.

#include "patterneditor/effect_table.h"

#include <string>

// Fills the table with every row; rows already there are replaced.
void fillEffectDescriptions(TesselEffectTable& table);

struct TesselEffectSummary {
    std::string title;   // "D0F  Volume Slide Down (D0x)"
    std::string detail;  // "speed 15", "x 4, y 2", a hint, or ""
};

// An effect letter ('.' none) and parameter as the info bar shows them; a
// letter the table does not know is an invalid effect.
TesselEffectSummary describeEffect(const TesselEffectTable& table, char letter, int parameter);
