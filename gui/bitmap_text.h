#pragma once
// Text in the program's bitmap fonts: strips of 16 x 16 glyph cells, 8 pixels
// high and 8 or 6 wide, glyphs on the key colour; and the toolbar's small
// digits.

#include "gui/geometry.h"

#include <cstdint>
#include <string>

class TesselFont;
namespace VSTGUI {
class CDrawContext;
}

// Characters from (x, y) on, each cell first filled with the background
// when one is given; stops at the limit when it is above 0. The count drawn.
int32_t drawBitmapText(VSTGUI::CDrawContext* context, const char* text, int32_t x, int32_t y, TesselFont* font,
                       const CColor* background = nullptr, int32_t limit = 0);
void drawBitmapChar(VSTGUI::CDrawContext* context, unsigned char character, int32_t x, int32_t y, TesselFont* font,
                    const CColor* background = nullptr);
// The number as a version number, right-aligned at x, after its 31-pixel label.
void drawSmallNumber(VSTGUI::CDrawContext* context, float number, int32_t x, int32_t y);
void formatTwoDigits(std::string& text, int32_t value);
