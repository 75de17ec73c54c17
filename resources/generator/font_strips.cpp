// The twelve bitmap fonts: 16 x 16 cells, character c at column c mod 16,
// row c div 16. Glyphs stand on key green; the cursor fonts fill every cell.

#include "paint.h"
#include "resources/palette.h"
#include "resources/resource_ids.h"

namespace generator {

namespace {

using namespace resources;

constexpr int kCellHeight = 8;

struct StripStyle {
    int32_t id;
    int cellWidth;
    Colour ink;
    bool cursor;
    const char* label;
};

constexpr StripStyle kStrips[] = {
    {kFontWhite, 8, palette::kInkWhite, false, "font 8: white"},
    {kFontAmber, 8, palette::kInkAmber, false, "font 8: amber"},
    {kFontGrey, 8, palette::kInkGrey, false, "font 8: grey"},
    {kFontCursor, 8, palette::kCursorInk, true, "font 8: cursor"},
    {kFontCyan, 8, palette::kInkCyan, false, "font 8: cyan"},
    {kFontMuted, 8, palette::kInkMuted, false, "font 8: muted"},
    {kFontNormal, 8, palette::kInkNormal, false, "font 8: normal"},
    {kSmallFontHighlight, 6, palette::kInkWhite, false, "font 6: highlight"},
    {kSmallFontCursor, 6, palette::kCursorInk, true, "font 6: cursor"},
    {kSmallFontGrey, 6, palette::kInkGrey, false, "font 6: grey"},
    {kSmallFontNormal, 6, palette::kInkNormal, false, "font 6: normal"},
    {kSmallFontCyan, 6, palette::kInkCyan, false, "font 6: cyan"},
};

// The tree marks meet their neighbours: the line runs on the cell's centre
// column from edge to edge, the arm to the cell's right edge on row 3.
int treeColumn(int cellWidth) { return cellWidth / 2 - 1; }

void drawTreeMark(Canvas& canvas, unsigned char code, Point cell, int w, Colour ink)
{
    const int x = cell.x + treeColumn(w);
    const int armRow = cell.y + 3;
    const int bottom = code == kGlyphTreeLast ? armRow + 1 : cell.y + kCellHeight;
    canvas.fillRect({x, cell.y, x + 1, bottom}, ink);
    if (code != kGlyphTreeVertical)
        canvas.fillRect({x, armRow, cell.x + w, armRow + 1}, ink);
}

// A square box centred on the tree column and the arm row, with a minus
// (open) or a plus (closed).
void drawTreeBox(Canvas& canvas, unsigned char code, Point cell, int w, Colour ink)
{
    const int centreX = cell.x + treeColumn(w);
    const int centreY = cell.y + 3;
    const int half = w == 8 ? 3 : 2;
    const Rect box{centreX - half, centreY - half, centreX + half + 1, centreY + half + 1};
    canvas.fillRect({box.left, box.top, box.right, box.top + 1}, ink);
    canvas.fillRect({box.left, box.bottom - 1, box.right, box.bottom}, ink);
    canvas.fillRect({box.left, box.top, box.left + 1, box.bottom}, ink);
    canvas.fillRect({box.right - 1, box.top, box.right, box.bottom}, ink);
    // The strokes leave a pixel of space inside the 7-pixel box, none in the 5-pixel one.
    const int reach = half - (w == 8 ? 2 : 1);
    canvas.fillRect({centreX - reach, centreY, centreX + reach + 1, centreY + 1}, ink);
    if (code == kGlyphBoxClosed)
        canvas.fillRect({centreX, centreY - reach, centreX + 1, centreY + reach + 1}, ink);
}

// "bit" and "kHz" span two cells each, centred, on the letters' baseline.
void drawUnits(Canvas& canvas, Point firstCell, int w, std::string_view text, Colour ink)
{
    const int width = tinyTextWidth(text);
    drawTinyText(canvas, text, {firstCell.x + (2 * w - width) / 2, firstCell.y + 2}, ink);
}

Image drawStrip(const StripStyle& style)
{
    const int w = style.cellWidth;
    Image strip(16 * w, 16 * kCellHeight, style.cursor ? palette::kCursorBlock : platform::kKeyGreen);
    Canvas canvas(strip);
    for (int c = 0; c < 256; ++c) {
        const Point cell{(c % 16) * w, (c / 16) * kCellHeight};
        const auto code = static_cast<unsigned char>(c);
        switch (code) {
        case kGlyphBitLeft:
            drawUnits(canvas, cell, w, "bit", style.ink);
            continue;
        case kGlyphKiloHertzLeft:
            drawUnits(canvas, cell, w, "kHz", style.ink);
            continue;
        case kGlyphBitRight:
        case kGlyphKiloHertzRight:
            continue;   // drawn with the left half
        case kGlyphTreeVertical:
        case kGlyphTreeLast:
        case kGlyphTreeBranch:
            drawTreeMark(canvas, code, cell, w, style.ink);
            continue;
        case kGlyphBoxOpen:
        case kGlyphBoxClosed:
            drawTreeBox(canvas, code, cell, w, style.ink);
            continue;
        default:
            break;
        }
        if (auto rows = glyphFor(code))
            // The 8-pixel cells centre the shape: a pixel of space on the left.
            plotRows(canvas, *rows, kGlyphWidth, {cell.x + (w == 8 ? 1 : 0), cell.y}, style.ink);
    }
    return strip;
}

} // namespace

std::vector<Resource> drawFontStrips()
{
    std::vector<Resource> strips;
    for (const auto& style : kStrips)
        strips.push_back({style.id, style.label, drawStrip(style), {}});
    return strips;
}

} // namespace generator
