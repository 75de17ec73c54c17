#pragma once
// The pattern editor's subrow counts for region operations: the engine's
// speed at each row of a pattern (its timing list, else the song's speed).

#include "model/selection/selection.h"

class TesselEngine;

// 1..256 whatever the song's speed; reads the timing lists without a lock,
// like the editor's drawing.
TesselPatternSpeed editorSubrowCounts(const TesselEngine& engine);
