#pragma once
// What the lists, drop lists, buttons, sliders and scroll bars share of the
// skin: the palette colours they draw with, the framed strip behind one-line
// controls, the virtual keys they read, and GDI-style fills (right and
// bottom edges left out).

#include "gui/controls/tessel_control.h"
#include "gui/geometry.h"
#include "resources/palette.h"

#include <cstdint>

namespace VSTGUI {
class CBitmap;
class CDrawContext;
} // namespace VSTGUI

namespace control_skin {

constexpr CColor fromPalette(platform::Colour colour)
{
    return CColor{colour.red, colour.green, colour.blue, 0};
}

// The colour every control takes at construction, before its page sets one.
constexpr uint32_t kDefaultColour = tesselRgba(60, 96, 140);
// The focused selection, the keyboard highlight and the focus rectangle.
constexpr CColor kHighlight = fromPalette(resources::palette::kHighlight);
// Behind list rows.
constexpr CColor kListBackground = fromPalette(resources::palette::kWell);
// A button's face and frame before its page sets them.
constexpr CColor kButtonFace = fromPalette(resources::palette::kPanelLight);
constexpr CColor kButtonFrame = fromPalette(resources::palette::kPanelDark);

// One-line controls are this many pixels high.
constexpr int32_t kStripHeight = 11;

// Pixels left <= x < right, top <= y < bottom in the colour.
void fill(VSTGUI::CDrawContext* context, const CRect& area, const CColor& colour);

// A bitmap of that size, kept when it has it already, else made anew.
void keepSized(VSTGUI::CBitmap*& bitmap, int32_t width, int32_t height);

// The strip behind a one-line control, as wide as the bitmap: the shared
// frame slices (a 2-pixel cap at each end, the middle slice repeated).
void drawFrameStrip(VSTGUI::CBitmap& strip);
// The first pixel column of the source repeated across the strip.
void drawRepeatedColumn(VSTGUI::CBitmap& strip, const VSTGUI::CBitmap& source);

} // namespace control_skin
