// The larger skins: the toolbar strip, the window icon, the Caps Lock plate
// and the undo panel.

#include "paint.h"
#include "resources/palette.h"
#include "resources/resource_ids.h"

namespace generator {

namespace {

using namespace resources;
using platform::rgb;

// Buttons and texts of the toolbar land on these places (its page draws
// them): page buttons 3..122 x 3..18, the row and order fields from x 122
// and 147, the hint line 3..190 x 19..32, transport buttons 201..458 x 0..22,
// the version number ending at x 258 on rows 24..29, a logo at 462, 4.
Image drawToolbar()
{
    Image image(493, 36, palette::kToolbarFace);
    Canvas canvas(image);
    canvas.fillRect({0, 0, 493, 1}, palette::kPanelLight);
    canvas.fillRect({0, 35, 493, 36}, palette::kPanelDark);
    well(canvas, {2, 2, 124, 20}, palette::kWell);
    well(canvas, {124, 4, 148, 19}, palette::kFieldFace);
    well(canvas, {149, 4, 200, 19}, palette::kFieldFace);
    well(canvas, {2, 20, 192, 34}, palette::kWell);
    well(canvas, {200, 0, 460, 23}, palette::kWell);
    canvas.fillRect({460, 3, 461, 33}, palette::kPanelDark);
    canvas.fillRect({461, 3, 462, 33}, palette::kPanelLight);
    return image;
}

// A tracker pattern in miniature: three channels of notes, the cursor row lit.
Image drawWindowIcon()
{
    Image image(32, 32, rgb(22, 24, 28));
    Canvas canvas(image);
    bevel(canvas, image.bounds(), rgb(110, 118, 134), rgb(60, 64, 74));
    canvas.fillRect({2, 12, 30, 16}, palette::kHighlight);
    constexpr bool notes[6][3] = {{true, false, true}, {false, true, false}, {true, true, false},
                                  {false, false, true}, {true, false, false}, {false, true, true}};
    constexpr int columns[3][2] = {{4, 12}, {14, 21}, {23, 28}};
    for (int row = 0; row < 6; ++row) {
        const int y = 5 + 4 * row;
        for (int c = 0; c < 3; ++c) {
            const Colour ink = notes[row][c] ? (row == 2 ? palette::kInkWhite : palette::kInkCyan) : rgb(64, 70, 80);
            const int right = notes[row][c] ? columns[c][1] : columns[c][0] + 2;
            canvas.fillRect({columns[c][0], y, right, y + 2}, ink);
        }
    }
    return image;
}

Image drawCapsLockPlate()
{
    const Colour amber = palette::kInkAmber;
    Image image(80, 16, rgb(64, 46, 16));
    Canvas canvas(image);
    bevel(canvas, image.bounds(), amber, mix(amber, rgb(0, 0, 0), 1, 2));
    for (Point corner : {Point{0, 0}, Point{79, 0}, Point{0, 15}, Point{79, 15}})
        canvas.setPixel(corner, palette::kBackground);
    const std::string_view text = "CAPS LOCK";
    const int width = int(text.size()) * (kGlyphWidth + 1) - 1;
    drawGlyphText(canvas, text, {(80 - width) / 2, 4}, amber);
    return image;
}

// The undo panel: a title strip (the close box lands at its right end) and a
// well behind the ten label lines, which its page prints at (7, 30 + 8 i);
// 53 cells fit, the longest label.
Image drawUndoPanel()
{
    Image image(440, 116, palette::kPanel);
    Canvas canvas(image);
    bevel(canvas, image.bounds(), palette::kPanelLight, palette::kPanelDark);
    canvas.fillRect({1, 1, 439, 15}, mix(palette::kPanel, palette::kPanelLight, 1, 3));
    canvas.fillRect({1, 15, 439, 16}, palette::kPanelDark);
    drawGlyphText(canvas, "Undo History", {6, 4}, palette::kInkAmber);
    drawGlyphText(canvas, "Up/Down: choose   Enter: restore   Esc: close", {6, 17}, palette::kInkGrey);
    well(canvas, {3, 27, 437, 113}, palette::kWell);
    return image;
}

} // namespace

std::vector<Resource> drawPanels()
{
    std::vector<Resource> panels;
    panels.push_back({kToolbarStrip, "toolbar strip", drawToolbar(), {}});
    panels.push_back({kWindowIcon, "window icon", drawWindowIcon(), {}});
    panels.push_back({kCapsLockPlate, "Caps Lock plate", drawCapsLockPlate(), {}});
    panels.push_back({kUndoPanel, "undo panel", drawUndoPanel(), {}});
    return panels;
}

} // namespace generator
