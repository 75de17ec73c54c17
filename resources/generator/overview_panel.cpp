// The pattern overview panel: a title strip (the close box lands at its
// right end) over a well in which the page draws the 384 x 256 map at
// (9, 20) and the view frame one pixel outside it.

#include "paint.h"
#include "resources/palette.h"
#include "resources/resource_ids.h"

namespace generator {

namespace {

using namespace resources;

Image drawOverviewPanel()
{
    Image image(403, 286, palette::kPanel);
    Canvas canvas(image);
    bevel(canvas, image.bounds(), palette::kPanelLight, palette::kPanelDark);
    canvas.fillRect({1, 1, 402, 15}, mix(palette::kPanel, palette::kPanelLight, 1, 3));
    canvas.fillRect({1, 15, 402, 16}, palette::kPanelDark);
    drawGlyphText(canvas, "Pattern Overview", {6, 4}, palette::kInkAmber);
    canvas.fillRect({6, 17, 396, 279}, palette::kWell);
    bevel(canvas, {6, 17, 396, 279}, palette::kPanelDark, palette::kPanelLight);
    // Ticks below the well every eight channels.
    for (int channel = 0; channel <= 64; channel += 8)
        canvas.fillRect({9 + 6 * channel - 1, 281, 9 + 6 * channel, 284}, palette::kFrameLine);
    return image;
}

} // namespace

std::vector<Resource> drawOverviewSkins()
{
    std::vector<Resource> skins;
    skins.push_back({kOverviewPanel, "pattern overview panel", drawOverviewPanel(), {}});
    return skins;
}

} // namespace generator
