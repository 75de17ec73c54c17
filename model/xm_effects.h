#pragma once
// The XM effect column in song effects. MOD files use the same numbers for
// effects 0..F, so the MOD importer shares this table.

#include "model/subrow.h"

// Effect number e with parameter p into the cell's effect (or its volume, for
// the set-volume effect). Without a parameter byte the letter comes with
// parameter 0, set-volume gives volume 0 and E and X give nothing.
void convertXmEffect(TesselSubrowData& cell, int e, int p, bool hasParameter = true);
