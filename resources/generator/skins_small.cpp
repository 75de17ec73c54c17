// The small skins: close box, list icons, frame slices, cursor block and the
// toolbar's digits.

#include "paint.h"
#include "resources/palette.h"
#include "resources/resource_ids.h"

namespace generator {

namespace {

using namespace resources;
using platform::kKeyGreen;
using platform::rgb;

// An 11 x 11 face with cut corners and a cross, at the top of `top`.
void drawCloseFace(Canvas& canvas, int top, Colour face, Colour edge, Colour cross)
{
    canvas.fillRect({0, top, 11, top + 11}, edge);
    canvas.fillRect({1, top + 1, 10, top + 10}, face);
    for (Point corner : {Point{0, top}, Point{10, top}, Point{0, top + 10}, Point{10, top + 10}})
        canvas.setPixel(corner, kKeyGreen);
    canvas.setPen({cross, 1, platform::LineStyle::solid});
    canvas.moveTo({3, top + 3});
    canvas.lineTo({8, top + 8});
    canvas.moveTo({7, top + 3});
    canvas.lineTo({2, top + 8});
}

Image drawCloseBox()
{
    Image image(12, 22, kKeyGreen);
    Canvas canvas(image);
    drawCloseFace(canvas, 0, rgb(120, 36, 36), rgb(190, 84, 84), rgb(240, 228, 228));
    drawCloseFace(canvas, 11, rgb(184, 52, 52), rgb(244, 128, 128), rgb(255, 255, 255));
    return image;
}

// A page with its corner turned down, for the file-like icons.
void drawPage(Canvas& canvas, int x, Colour paper)
{
    canvas.fillRect({x + 1, 0, x + 6, 8}, paper);
    canvas.fillRect({x + 6, 2, x + 7, 8}, paper);
    canvas.fillRect({x + 5, 0, x + 6, 2}, mix(paper, rgb(0, 0, 0), 2, 5));
    canvas.setPixel({x + 6, 1}, mix(paper, rgb(0, 0, 0), 2, 5));
}

void drawIcons(Canvas& canvas)
{
    const Colour ink = rgb(40, 40, 48);
    // 0: a plain file.
    drawPage(canvas, 0, rgb(210, 212, 218));
    canvas.fillRect({2, 3, 5, 4}, ink);
    canvas.fillRect({2, 5, 6, 6}, ink);
    // 1: a folder.
    const Colour folder = rgb(232, 192, 84);
    canvas.fillRect({8, 1, 12, 2}, folder);
    canvas.fillRect({8, 2, 16, 7}, folder);
    canvas.fillRect({8, 7, 16, 8}, mix(folder, rgb(0, 0, 0), 2, 5));
    // 2: a zipped module: a page with a zip down its middle.
    drawPage(canvas, 16, rgb(92, 184, 172));
    for (int y = 0; y < 8; y += 2)
        canvas.setPixel({19, y}, ink);
    for (int y = 1; y < 8; y += 2)
        canvas.setPixel({20, y}, ink);
    // 3: a sample: one period of a wave.
    constexpr int wave[8] = {4, 2, 1, 2, 4, 6, 7, 6};
    for (int x = 0; x < 8; ++x)
        canvas.fillRect({24 + x, wave[x], 25 + x, wave[x] + 1}, rgb(120, 224, 128));
    // 4: an archive: a box with a lid and a handle.
    const Colour box = rgb(176, 124, 72);
    canvas.fillRect({32, 1, 40, 8}, box);
    canvas.fillRect({32, 3, 40, 4}, mix(box, rgb(0, 0, 0), 2, 5));
    canvas.fillRect({35, 5, 37, 6}, rgb(240, 220, 180));
    // 5: a module of another format: a page with a note.
    drawPage(canvas, 40, rgb(176, 148, 228));
    canvas.fillRect({44, 1, 45, 6}, ink);
    canvas.fillRect({42, 5, 45, 7}, ink);
    canvas.setPixel({45, 2}, ink);
    // 6: an instrument: three keys with two black ones between.
    canvas.fillRect({48, 1, 56, 8}, rgb(236, 236, 236));
    canvas.fillRect({50, 1, 51, 8}, rgb(120, 120, 128));
    canvas.fillRect({53, 1, 54, 8}, rgb(120, 120, 128));
    canvas.fillRect({49, 1, 51, 5}, ink);
    canvas.fillRect({52, 1, 54, 5}, ink);
}

Image drawListIcons()
{
    Image image(7 * 8, 8, kKeyGreen);
    Canvas canvas(image);
    drawIcons(canvas);
    return image;
}

// Framed boxes are a 2-pixel left cap, a 1-pixel middle repeated, and a
// 2-pixel right cap, 11 rows high.
Image drawFrameSlices()
{
    Image image(5, 11, palette::kPanel);
    Canvas canvas(image);
    canvas.fillRect({1, 0, 4, 1}, palette::kFrameLine);
    canvas.fillRect({1, 10, 4, 11}, palette::kFrameLine);
    canvas.fillRect({0, 1, 1, 10}, palette::kFrameLine);
    canvas.fillRect({4, 1, 5, 10}, palette::kFrameLine);
    canvas.fillRect({1, 1, 4, 10}, palette::kWell);
    canvas.fillRect({1, 1, 4, 2}, palette::kPanelDark);
    return image;
}

// The path box's folder button: a folder on the button's face.
Image drawFolderButton()
{
    Image image(14, 9, palette::kPanel);
    Canvas canvas(image);
    const Colour folder = rgb(214, 178, 96);
    const Colour edge = rgb(150, 112, 44);
    canvas.fillRect({3, 1, 7, 2}, edge);
    canvas.fillRect({2, 2, 12, 8}, edge);
    canvas.fillRect({3, 3, 11, 7}, folder);
    return image;
}

// Label at x 0 (31 pixels), digit d at 31 + 5d (4 pixels), point at 80.
Image drawSmallDigits()
{
    Image image(82, 6, palette::kToolbarFace);
    Canvas canvas(image);
    drawTinyText(canvas, "VERSION", {2, 0}, palette::kInkGrey);
    for (int d = 0; d < 10; ++d)
        drawTinyText(canvas, std::string(1, char('0' + d)), {31 + 5 * d, 0}, palette::kDigitInk);
    drawTinyText(canvas, ".", {80, 0}, palette::kDigitInk);
    return image;
}

} // namespace

// A warning sign: an amber triangle with a dark edge and an exclamation
// mark, on the key green.
Image drawReportIcon()
{
    Image image(32, 32, kKeyGreen);
    Canvas canvas(image);
    const Point edge[] = {{16, 1}, {31, 29}, {1, 29}};
    canvas.fillPolygon(edge, 3, rgb(96, 64, 0));
    const Point face[] = {{16, 4}, {28, 27}, {4, 27}};
    canvas.fillPolygon(face, 3, rgb(248, 200, 48));
    const Colour ink = rgb(24, 24, 24);
    canvas.fillRect({15, 10, 18, 20}, ink);
    canvas.fillRect({15, 22, 18, 25}, ink);
    return image;
}

std::vector<Resource> drawSmallSkins()
{
    std::vector<Resource> skins;
    skins.push_back({kCloseBox, "close box", drawCloseBox(), {}});
    skins.push_back({kListIcons, "list icons", drawListIcons(), {}});
    skins.push_back({kFrameSlices, "frame slices", drawFrameSlices(), {}});
    skins.push_back({kFolderButton, "folder button", drawFolderButton(), {}});
    skins.push_back({kCursorBlock, "cursor block", Image(8, 8, palette::kCursorBlock), {}});
    skins.push_back({kSmallDigits, "small digits", drawSmallDigits(), {}});
    skins.push_back({kReportIcon, "error report icon", drawReportIcon(), {}});
    return skins;
}

} // namespace generator
