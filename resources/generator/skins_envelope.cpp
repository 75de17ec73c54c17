// The envelope graph's lane labels: small plates in the graph's own reds.
#include "paint.h"
#include "resources/resource_ids.h"

namespace generator {

namespace {

using platform::rgb;

Image drawLanePlate(std::string_view text)
{
    const int width = static_cast<int>(text.size()) * (kGlyphWidth + 1) + 3;
    Image image(width, kGlyphHeight + 3, rgb(52, 32, 32));
    Canvas canvas(image);
    bevel(canvas, {0, 0, width, kGlyphHeight + 3}, rgb(158, 98, 98), rgb(30, 18, 18));
    drawGlyphText(canvas, text, {2, 1}, rgb(236, 206, 206));
    return image;
}

} // namespace

std::vector<Resource> drawEnvelopeSkins()
{
    using namespace resources;
    std::vector<Resource> skins;
    skins.push_back({kEnvelopeLabelSecondLane, "envelope label: second lane", drawLanePlate("DEPTH"), {}});
    skins.push_back({kEnvelopeLabelUpperLane, "envelope label: upper lane", drawLanePlate("CUTOFF"), {}});
    skins.push_back({kEnvelopeLabelLowerLane, "envelope label: lower lane", drawLanePlate("RESONANCE"), {}});
    skins.push_back({kEnvelopeLabelOneLane, "envelope label: one lane", drawLanePlate("PANNING"), {}});
    return skins;
}

} // namespace generator
