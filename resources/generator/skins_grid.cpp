// Skins of the pattern grid.
#include "paint.h"
#include "resources/palette.h"
#include "resources/resource_ids.h"

namespace generator {

namespace {

using namespace resources;

// The ledge under a channel's name: a 3-pixel left cap, a 3-pixel middle
// that repeats across the channel, and a 3-pixel right cap, 5 rows high.
Image drawChannelHeaderSkin()
{
    const Colour face = platform::rgb(132, 138, 150);
    Image image(9, 5, face);
    Canvas canvas(image);
    verticalGradient(canvas, {0, 1, 9, 4}, platform::rgb(150, 156, 168), platform::rgb(112, 118, 130));
    canvas.fillRect({0, 0, 9, 1}, platform::rgb(186, 190, 200));
    canvas.fillRect({0, 4, 9, 5}, palette::kPanelDark);
    canvas.fillRect({0, 0, 1, 5}, platform::rgb(186, 190, 200));
    canvas.fillRect({8, 0, 9, 5}, palette::kPanelDark);
    return image;
}

} // namespace

std::vector<Resource> drawGridSkins()
{
    std::vector<Resource> skins;
    skins.push_back({kChannelHeaderSkin, "channel header ledge", drawChannelHeaderSkin(), {}});
    return skins;
}

} // namespace generator
