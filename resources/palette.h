#pragma once
// The shared colours of the skins, for the controls that draw beside them.

#include "platform/graphics/colour.h"

namespace resources::palette {

using platform::rgb;

constexpr platform::Colour kBackground = rgb(24, 25, 28);
constexpr platform::Colour kPanel = rgb(38, 40, 45);
constexpr platform::Colour kPanelLight = rgb(78, 82, 92);
constexpr platform::Colour kPanelDark = rgb(12, 12, 14);
constexpr platform::Colour kWell = rgb(15, 16, 18);
constexpr platform::Colour kFieldFace = rgb(8, 18, 12);
constexpr platform::Colour kFrameLine = rgb(96, 100, 112);
constexpr platform::Colour kHighlight = rgb(60, 96, 140);

// Glyph colours of the bitmap fonts.
constexpr platform::Colour kInkWhite = rgb(255, 255, 255);
constexpr platform::Colour kInkNormal = rgb(196, 200, 206);
constexpr platform::Colour kInkAmber = rgb(255, 200, 96);
constexpr platform::Colour kInkGrey = rgb(120, 122, 128);
constexpr platform::Colour kInkCyan = rgb(110, 208, 224);
constexpr platform::Colour kInkMuted = rgb(150, 72, 72);
constexpr platform::Colour kCursorBlock = rgb(230, 230, 220);
constexpr platform::Colour kCursorInk = rgb(16, 16, 20);

// The toolbar's face where the version number stands; the small digits sit on it.
constexpr platform::Colour kToolbarFace = rgb(34, 35, 40);
constexpr platform::Colour kDigitInk = rgb(150, 190, 160);

} // namespace resources::palette
