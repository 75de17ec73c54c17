#pragma once
// Drawing helpers of the resource generator, on the platform canvas.

#include "glyphs.h"
#include "platform/graphics/canvas.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace generator {

using platform::Canvas;
using platform::Colour;
using platform::Image;
using platform::Point;
using platform::Rect;

// One drawn resource: a bitmap, or bytes of data.
struct Resource {
    int32_t id = 0;
    std::string label;
    Image image;
    std::vector<uint8_t> data;
};

Colour mix(Colour a, Colour b, int amountOfB, int outOf);

// One-pixel edges: light on the top and left, dark on the bottom and right.
void bevel(Canvas& canvas, const Rect& rect, Colour light, Colour dark);
void verticalGradient(Canvas& canvas, const Rect& rect, Colour top, Colour bottom);
void plotRows(Canvas& canvas, const GlyphRows& rows, int width, Point at, Colour ink);

// The 5 x 8 letter shapes in a row, 6 pixels apart.
int drawGlyphText(Canvas& canvas, std::string_view text, Point at, Colour ink);
int glyphTextWidth(std::string_view text);
// A sunken panel: dark edges above and left, light below and right.
void well(Canvas& canvas, const Rect& rect, Colour face);

// A 3 x 5 face for unit marks, digits and labels; returns the width drawn.
int drawTinyText(Canvas& canvas, std::string_view text, Point at, Colour ink);
int tinyTextWidth(std::string_view text);

std::vector<Resource> drawFontStrips();
std::vector<Resource> drawSmallSkins();
std::vector<Resource> drawPanels();
std::vector<Resource> drawGridSkins();
std::vector<Resource> drawEditorSkins();
std::vector<Resource> drawEnvelopeSkins();
std::vector<Resource> drawHelpPanel();
std::vector<Resource> drawPatternPageSkins();
std::vector<Resource> drawPageSkins();
std::vector<Resource> drawSamplePageSkins();
std::vector<Resource> drawInstrumentSkins();
std::vector<Resource> drawPreferencesSkins();
std::vector<Resource> drawOverviewSkins();
std::vector<Resource> drawToolbarSkins();

} // namespace generator
