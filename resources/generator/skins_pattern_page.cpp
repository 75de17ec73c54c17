// Skins of the pattern editor page: the title strip, the window buttons
// (upper face up, lower face pressed), the status strip's help and info
// toggles, the info bar and the amplify prompt.

#include "paint.h"
#include "resources/palette.h"
#include "resources/resource_ids.h"

#include <initializer_list>

namespace generator {

namespace {

using namespace resources;
using platform::rgb;

constexpr Colour kFaceUp = rgb(58, 62, 72);
constexpr Colour kFaceDown = rgb(60, 96, 140);

// The title strip repeats across the page: a soft gradient over a dark edge.
Image drawTitleStrip()
{
    Image image(16, 12, palette::kPanel);
    Canvas canvas(image);
    verticalGradient(canvas, {0, 0, 16, 11}, rgb(70, 74, 86), rgb(34, 36, 42));
    canvas.fillRect({0, 11, 16, 12}, palette::kPanelDark);
    return image;
}

// A two-faced square button of side n with its sign drawn by `sign` on
// each face.
template <class Sign>
Image drawTwoFaced(int n, Sign sign)
{
    Image image(n, 2 * n, kFaceUp);
    Canvas canvas(image);
    for (int face = 0; face < 2; ++face) {
        const Rect rect{0, face * n, n, face * n + n};
        canvas.fillRect(rect, face ? kFaceDown : kFaceUp);
        bevel(canvas, rect, face ? palette::kPanelDark : palette::kPanelLight,
              face ? palette::kPanelLight : palette::kPanelDark);
        sign(canvas, Point{0, face * n}, face ? palette::kInkWhite : palette::kInkNormal);
    }
    return image;
}

void dot(Canvas& canvas, Point at, std::initializer_list<Point> points, Colour ink)
{
    for (Point p : points)
        canvas.setPixel({at.x + p.x, at.y + p.y}, ink);
}

Image drawAlwaysOnTop()
{
    return drawTwoFaced(7, [](Canvas& c, Point at, Colour ink) {
        c.fillRect({at.x + 2, at.y + 2, at.x + 5, at.y + 3}, ink);
        dot(c, at, {{3, 3}, {3, 4}}, ink);
    });
}

Image drawMaximise()
{
    return drawTwoFaced(7, [](Canvas& c, Point at, Colour ink) {
        c.fillRect({at.x + 2, at.y + 2, at.x + 5, at.y + 3}, ink);
        dot(c, at, {{2, 3}, {4, 3}, {2, 4}, {3, 4}, {4, 4}}, ink);
    });
}

Image drawHide()
{
    return drawTwoFaced(7, [](Canvas& c, Point at, Colour ink) { c.fillRect({at.x + 2, at.y + 4, at.x + 5, at.y + 5}, ink); });
}

Image drawKeyMode()
{
    return drawTwoFaced(7, [](Canvas& c, Point at, Colour ink) {
        dot(c, at, {{2, 2}, {2, 3}, {2, 4}, {3, 3}, {4, 2}, {4, 4}}, ink);
    });
}

Image drawFeedback()
{
    return drawTwoFaced(12, [](Canvas& c, Point at, Colour ink) {
        c.fillRect({at.x + 3, at.y + 3, at.x + 9, at.y + 4}, ink);
        c.fillRect({at.x + 3, at.y + 7, at.x + 9, at.y + 8}, ink);
        c.fillRect({at.x + 2, at.y + 4, at.x + 3, at.y + 7}, ink);
        c.fillRect({at.x + 9, at.y + 4, at.x + 10, at.y + 7}, ink);
        dot(c, at, {{4, 8}, {4, 9}}, ink);
    });
}

Image drawLink()
{
    return drawTwoFaced(12, [](Canvas& c, Point at, Colour ink) {
        for (int k = 0; k < 2; ++k) {
            const int x = at.x + 2 + 3 * k;
            const int y = at.y + 4 + (k ? 1 : -1);
            c.fillRect({x, y, x + 5, y + 1}, ink);
            c.fillRect({x, y + 3, x + 5, y + 4}, ink);
            c.fillRect({x, y, x + 1, y + 4}, ink);
            c.fillRect({x + 4, y, x + 5, y + 4}, ink);
        }
    });
}

// A round toggle of the status strip with one letter, lit or not.
Image drawToggle(char letter, bool lit)
{
    Image image(12, 12, palette::kWell);
    Canvas canvas(image);
    const Colour face = lit ? rgb(120, 88, 30) : palette::kPanel;
    canvas.fillRect({1, 2, 11, 10}, face);
    canvas.fillRect({2, 1, 10, 11}, face);
    drawGlyphText(canvas, std::string_view(&letter, 1), {4, 2}, lit ? palette::kInkAmber : palette::kInkGrey);
    return image;
}

// The info bar: two lines of text over a panel, its top edge lit.
Image drawInfoPanel()
{
    Image image(480, 30, palette::kPanel);
    Canvas canvas(image);
    bevel(canvas, image.bounds(), palette::kPanelLight, palette::kPanelDark);
    canvas.fillRect({1, 1, 479, 2}, palette::kInkAmber);
    return image;
}

// The amplify prompt: a title, a hint and the slider's well at (10, 22)-(250, 32).
Image drawAmplifyPrompt()
{
    Image image(260, 48, palette::kPanel);
    Canvas canvas(image);
    bevel(canvas, image.bounds(), palette::kPanelLight, palette::kPanelDark);
    drawGlyphText(canvas, "Amplify volume (%)", {6, 5}, palette::kInkAmber);
    canvas.fillRect({9, 21, 251, 33}, palette::kWell);
    drawTinyText(canvas, "ENTER APPLIES   ESC CANCELS", {10, 38}, palette::kInkGrey);
    return image;
}

} // namespace

std::vector<Resource> drawPatternPageSkins()
{
    std::vector<Resource> skins;
    skins.push_back({kTitleStrip, "pattern editor title strip", drawTitleStrip(), {}});
    skins.push_back({kButtonAlwaysOnTop, "always on top button", drawAlwaysOnTop(), {}});
    skins.push_back({kButtonMaximise, "maximise button", drawMaximise(), {}});
    skins.push_back({kButtonHide, "hide button", drawHide(), {}});
    skins.push_back({kButtonKeyMode, "manual key mode button", drawKeyMode(), {}});
    skins.push_back({kButtonFeedback, "feedback button", drawFeedback(), {}});
    skins.push_back({kButtonLink, "windows linked button", drawLink(), {}});
    skins.push_back({kHelpToggleOff, "help toggle", drawToggle('?', false), {}});
    skins.push_back({kHelpToggleOn, "help toggle lit", drawToggle('?', true), {}});
    skins.push_back({kInfoToggleOff, "info toggle", drawToggle('i', false), {}});
    skins.push_back({kInfoToggleOn, "info toggle lit", drawToggle('i', true), {}});
    skins.push_back({kInfoPanel, "info bar", drawInfoPanel(), {}});
    skins.push_back({kAmplifyPrompt, "amplify prompt", drawAmplifyPrompt(), {}});
    return skins;
}

} // namespace generator
