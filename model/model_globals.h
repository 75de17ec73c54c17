#pragma once
// Values shared by every module of the process. They have no lock of their
// own: the song reset, the module reader and renumbering write them.

#include "model/pattern.h"

#include <array>
#include <atomic>
#include <cstdint>

// Grows by one at every reset of any module; starts at -1. The controls
// compare it to notice a new song.
std::atomic<int32_t>& songCounter();

// The version of the last document read, or the program's own after a reset or save.
float& documentVersion();

// Entry i: the new number of the pattern that was number i before the last
// renumbering (all -1 until then). The pattern editor follows its pattern with it.
using TesselPatternMap = std::array<int32_t, kPatterns>;
TesselPatternMap& patternMap();
TesselPatternMap identityPatternMap();
