#pragma once
// The cursor guide's text: what the cell under the cursor plays. Line 0 the
// note and the instrument (with "(MIDI)" or "(--)" when it plays no sample),
// line 1 volume and panning as the cell will play them, line 2 the effect
// with its description.

#include "model/song/subrow.h"

#include <string>
#include <vector>

class TesselModule;
struct TesselEffectTable;

// keyMap: the cell is a key map row, whose instrument field names a sample;
// it has no MIDI or no-sample cases, and only its own volume and panning.
std::vector<std::string> cursorGuideLines(const TesselModule& song, const TesselSubrowData& cell, int channel,
                                          const TesselEffectTable* effects, bool keyMap);

// AlphaBlend's constant alpha of fade step t (0..30): MulDiv(t x t, 255, 900).
uint8_t cursorGuideAlpha(int fadeStep);
