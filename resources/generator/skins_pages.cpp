// The order list and info pages' backgrounds (the side pages' size) and the
// info page's level meter. The pages draw their texts, sliders and scroll
// bars over the black wells at the places noted here.

#include "paint.h"
#include "resources/palette.h"
#include "resources/resource_ids.h"

namespace generator {

namespace {

using namespace resources;
using platform::rgb;

constexpr int kPageWidth = 705;
constexpr int kPageHeight = 432;
constexpr Colour kBlack = rgb(0, 0, 0);
constexpr Colour kHeaderInk = palette::kInkGrey;

// The side pages' frame: bevel, title strip with the page's name.
Image sidePage(std::string_view title)
{
    Image image(kPageWidth, kPageHeight, palette::kPanel);
    Canvas canvas(image);
    bevel(canvas, image.bounds(), palette::kPanelLight, palette::kPanelDark);
    canvas.fillRect({1, 1, kPageWidth - 1, 15}, mix(palette::kPanel, palette::kPanelLight, 1, 3));
    canvas.fillRect({1, 15, kPageWidth - 1, 16}, palette::kPanelDark);
    drawGlyphText(canvas, title, {6, 4}, palette::kInkWhite);
    return image;
}

// A black well with a sunken edge one pixel outside the rectangle.
void blackWell(Canvas& canvas, const Rect& inside)
{
    const Rect edge{inside.left - 1, inside.top - 1, inside.right + 1, inside.bottom + 1};
    canvas.fillRect(edge, kBlack);
    bevel(canvas, edge, palette::kPanelDark, palette::kPanelLight);
}

// Order rows at y 47 + 8 r (46 rows), positions at x 7, cells at x 26; the
// bar at 108..118. Channel rows likewise: number at 128, name at 142, the
// colour swatch at 227, volume slider 244..452, panning slider 460..668; the
// bar at 676..686.
Image drawOrderListSkin()
{
    Image image = sidePage("ORDER LIST");
    Canvas canvas(image);
    drawGlyphText(canvas, "ORDER", {7, 22}, palette::kInkAmber);
    drawGlyphText(canvas, "CHANNELS", {128, 22}, palette::kInkAmber);
    drawGlyphText(canvas, "ORD", {8, 36}, kHeaderInk);
    drawGlyphText(canvas, "PATTERN", {27, 36}, kHeaderInk);
    drawGlyphText(canvas, "CH", {129, 36}, kHeaderInk);
    drawGlyphText(canvas, "NAME", {143, 36}, kHeaderInk);
    drawGlyphText(canvas, "COL", {222, 36}, kHeaderInk);
    drawGlyphText(canvas, "VOLUME", {245, 36}, kHeaderInk);
    drawGlyphText(canvas, "PANNING", {461, 36}, kHeaderInk);
    blackWell(canvas, {5, 46, 106, 416});
    blackWell(canvas, {126, 46, 674, 416});
    // The swatch column and the slider columns in a slightly lighter black.
    canvas.fillRect({25, 46, 26, 416}, rgb(40, 44, 50));
    canvas.fillRect({241, 46, 242, 416}, rgb(28, 30, 34));
    canvas.fillRect({456, 46, 457, 416}, rgb(28, 30, 34));
    drawGlyphText(canvas, "TAB: NEXT AREA   +: SKIP   =: END   CTRL+G: EDIT PATTERN", {128, 421}, kHeaderInk);
    return image;
}

// Channel rows at y 32 + 8 r (48 rows): numbers at x 9, the level meter at
// 28..128, instrument at 134, sample at 155, name at 178, note at 381,
// volume slider 408..503, panning slider 503..598.
Image drawInfoPageSkin()
{
    Image image = sidePage("INFO PAGE");
    Canvas canvas(image);
    drawGlyphText(canvas, "CH", {10, 22}, kHeaderInk);
    drawGlyphText(canvas, "LEVEL", {29, 22}, kHeaderInk);
    drawGlyphText(canvas, "INS", {135, 22}, kHeaderInk);
    drawGlyphText(canvas, "SMP", {156, 22}, kHeaderInk);
    drawGlyphText(canvas, "INSTRUMENT", {179, 22}, kHeaderInk);
    drawGlyphText(canvas, "NOTE", {382, 22}, kHeaderInk);
    drawGlyphText(canvas, "VOLUME", {409, 22}, kHeaderInk);
    drawGlyphText(canvas, "PANNING", {504, 22}, kHeaderInk);
    blackWell(canvas, {5, 31, 700, 417});
    for (int x : {26, 131, 175, 379, 406, 601})
        canvas.fillRect({x, 31, x + 1, 417}, rgb(24, 26, 30));
    drawGlyphText(canvas, "SPACE: MUTE   [ ]: SKIP   G: PATTERN", {9, 421}, kHeaderInk);
    return image;
}

// Green to yellow to red from left to right, a black line above and below
// so that neighbouring rows stay apart.
Image drawLevelMeter()
{
    constexpr int kWidth = 100;
    Image image(kWidth, 8, kBlack);
    Canvas canvas(image);
    const Colour green = rgb(40, 200, 90);
    const Colour yellow = rgb(230, 210, 60);
    const Colour red = rgb(230, 60, 50);
    for (int x = 0; x < kWidth; ++x) {
        const Colour c = x < 60 ? mix(green, yellow, x, 60) : mix(yellow, red, x - 60, kWidth - 60);
        canvas.fillRect({x, 1, x + 1, 7}, c);
        canvas.fillRect({x, 1, x + 1, 2}, mix(c, palette::kInkWhite, 1, 3));
    }
    return image;
}

} // namespace

std::vector<Resource> drawPageSkins()
{
    std::vector<Resource> skins;
    skins.push_back({kOrderListSkin, "order list page", drawOrderListSkin(), {}});
    skins.push_back({kInfoPageSkin, "info page", drawInfoPageSkin(), {}});
    skins.push_back({kLevelMeter, "level meter", drawLevelMeter(), {}});
    return skins;
}

} // namespace generator
