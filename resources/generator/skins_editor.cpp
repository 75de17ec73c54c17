// The editor window's panels: the side pages' size, the help panel and the
// splash page's background, logo and host mark.

#include "paint.h"
#include "resources/palette.h"
#include "resources/resource_ids.h"

namespace generator {

namespace {

using namespace resources;
using platform::rgb;

Image drawSidePagePanel()
{
    Image image(705, 432, palette::kPanel);
    Canvas canvas(image);
    bevel(canvas, image.bounds(), palette::kPanelLight, palette::kPanelDark);
    canvas.fillRect({1, 1, 704, 15}, mix(palette::kPanel, palette::kPanelLight, 1, 3));
    canvas.fillRect({1, 15, 704, 16}, palette::kPanelDark);
    return image;
}

Image drawSplashBackground()
{
    Image image(480, 300, rgb(56, 64, 72));
    Canvas canvas(image);
    verticalGradient(canvas, {1, 1, 479, 299}, rgb(70, 80, 92), rgb(40, 46, 54));
    bevel(canvas, image.bounds(), rgb(120, 130, 146), rgb(20, 22, 26));
    // A strip of pattern rows behind the logo.
    for (int row = 0; row < 8; ++row) {
        const int y = 60 + 20 * row;
        canvas.fillRect({24, y, 456, y + 1}, mix(rgb(56, 64, 72), palette::kHighlight, row % 4 == 0 ? 3 : 1, 4));
    }
    return image;
}

// The product name in the 5 x 8 letters, each pixel a 7 x 7 block, on key green.
Image drawSplashLogo()
{
    constexpr int kScale = 7;
    Image image(280, 64, platform::kKeyGreen);
    Canvas canvas(image);
    const char* name = "QUORBEL";
    int x = 2;
    for (const char* c = name; *c; ++c) {
        if (auto rows = glyphFor(static_cast<unsigned char>(*c))) {
            for (int y = 0; y < kGlyphHeight; ++y)
                for (int dx = 0; dx < kGlyphWidth; ++dx)
                    if ((*rows)[y] & (1u << (kGlyphWidth - 1 - dx))) {
                        const Rect cell{x + dx * kScale, 4 + y * kScale, x + (dx + 1) * kScale - 1,
                                        4 + (y + 1) * kScale - 1};
                        canvas.fillRect(cell, mix(palette::kInkAmber, palette::kInkWhite, y, 10));
                    }
        }
        x += (kGlyphWidth + 1) * kScale - 3;
    }
    return image;
}

Image drawSplashHostMark()
{
    Image image(120, 20, rgb(56, 64, 72));
    Canvas canvas(image);
    drawGlyphText(canvas, "HOST", {4, 6}, palette::kInkCyan);
    return image;
}

} // namespace

std::vector<Resource> drawEditorSkins()
{
    std::vector<Resource> skins;
    skins.push_back({kSidePagePanel, "side page panel", drawSidePagePanel(), {}});
    skins.push_back({kSplashBackground, "splash background", drawSplashBackground(), {}});
    skins.push_back({kSplashLogo, "splash logo", drawSplashLogo(), {}});
    skins.push_back({kSplashHostMark, "splash host mark", drawSplashHostMark(), {}});
    return skins;
}

} // namespace generator
