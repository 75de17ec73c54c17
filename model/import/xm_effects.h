#pragma once
// The XM effect column in song effects. MOD files use the same numbers for
// effects 0..F, so the MOD importer shares this table.

#include "model/song/subrow.h"

// Effect number e with parameter p into the cell's effect (or its volume, for
// the set-volume effect). Without a parameter byte the letter comes with
// parameter 0, set-volume gives volume 0 and E and X give nothing.
void convertXmEffect(TesselSubrowData& cell, int e, int p, bool hasParameter = true);

// Effect F of both formats: ticks per row ('A') for 1..31, else the tempo
// ('T', which the import clean-up turns into '@'); 0 is no effect.
TesselEffect speedOrTempoEffect(int p);
