// The sample list page's skins: the page with its list well, the waveform's
// background, the fields panel with its labels, the browser frame, the file
// buttons up and pressed, the normalise popup with its buttons, the vibrato
// waveform icons and the name cursor block.

#include "paint.h"
#include "resources/palette.h"
#include "resources/sample_page_layout.h"

#include <cmath>

namespace generator {

namespace {

using namespace resources;
using namespace resources::sample_page;
using platform::kKeyGreen;
using platform::rgb;

Rect rectOf(const SkinPlace& place, int dx = 0, int dy = 0)
{
    return {place.left + dx, place.top + dy, place.right + dx, place.bottom + dy};
}

void well(Canvas& canvas, const Rect& rect, Colour face)
{
    canvas.fillRect(rect, face);
    bevel(canvas, rect, palette::kPanelDark, palette::kPanelLight);
}

void titleStrip(Canvas& canvas, const Rect& rect, const char* title)
{
    canvas.fillRect({rect.left + 1, rect.top + 1, rect.right - 1, rect.top + 15},
                    mix(palette::kPanel, palette::kPanelLight, 1, 3));
    canvas.fillRect({rect.left + 1, rect.top + 15, rect.right - 1, rect.top + 16}, palette::kPanelDark);
    drawGlyphText(canvas, title, {rect.left + 6, rect.top + 4}, palette::kInkAmber);
}

Image drawPage()
{
    Image image(705, 432, palette::kPanel);
    Canvas canvas(image);
    bevel(canvas, image.bounds(), palette::kPanelLight, palette::kPanelDark);
    titleStrip(canvas, image.bounds(), "Sample List");
    well(canvas, rectOf(kListWell), palette::kBackground);
    well(canvas, {kScrollbar.left - 1, kScrollbar.top - 1, kScrollbar.right + 1, kScrollbar.bottom + 1},
         palette::kWell);
    drawGlyphText(canvas, "Waveform", {kWaveform.left + 2, 19}, palette::kInkGrey);
    return image;
}

// Two lanes of 104 pixels centred at 50 and 154, with their zero lines and
// the quarter lines fainter.
Image drawWaveformBackground()
{
    Image image(412, 206, palette::kWell);
    Canvas canvas(image);
    const Colour zero = mix(palette::kWell, palette::kFrameLine, 2, 5);
    const Colour quarter = mix(palette::kWell, palette::kFrameLine, 1, 6);
    for (int centre : {50, 154}) {
        canvas.fillRect({0, centre, 412, centre + 1}, zero);
        canvas.fillRect({0, centre - 25, 412, centre - 24}, quarter);
        canvas.fillRect({0, centre + 25, 412, centre + 26}, quarter);
    }
    canvas.fillRect({0, 102, 412, 103}, palette::kPanelDark);
    for (int x = 0; x < 412; x += 103)
        canvas.fillRect({x, 0, x + 1, 206}, quarter);
    bevel(canvas, image.bounds(), palette::kPanelDark, palette::kPanelLight);
    return image;
}

Image drawFieldsPanel()
{
    const int dx = -kFieldsPanel.left;
    const int dy = -kFieldsPanel.top;
    Image image(kFieldsPanel.right - kFieldsPanel.left, kFieldsPanel.bottom - kFieldsPanel.top, palette::kPanel);
    Canvas canvas(image);
    bevel(canvas, image.bounds(), palette::kPanelDark, palette::kPanelLight);
    for (const LabelledLine& line : kColumnOne)
        drawGlyphText(canvas, line.label, {line.labelX + dx, line.y + 2 + dy}, palette::kInkNormal);
    for (const LabelledLine& line : kColumnTwo)
        drawGlyphText(canvas, line.label, {line.labelX + dx, line.y + 2 + dy}, palette::kInkNormal);
    // The vibrato group's heading between the two columns' lines.
    canvas.fillRect({kSliderLabelX + dx, 281 + dy - 3, kSliderRight + dx, 281 + dy - 2}, palette::kPanelDark);
    canvas.fillRect({kFileButtonsX + dx - 4, 244 + dy, kFileButtonsX + dx - 3, 420 + dy}, palette::kPanelDark);
    drawGlyphText(canvas, "Sample", {kFileButtonsX + dx + 2, 244 + dy}, palette::kInkGrey);
    return image;
}

Image drawBrowserFrame()
{
    const Rect frame = rectOf(kBrowserFrame);
    Image image(frame.width(), frame.height(), palette::kPanel);
    Canvas canvas(image);
    bevel(canvas, image.bounds(), palette::kPanelLight, palette::kPanelDark);
    titleStrip(canvas, image.bounds(), "File Browser");
    // The close box's place, drawn as the page's close box is.
    const Rect close = rectOf(kBrowserClose, -frame.left, -frame.top);
    canvas.fillRect(close, rgb(120, 36, 36));
    canvas.frameRect(close, rgb(190, 84, 84));
    canvas.setPen({rgb(240, 228, 228), 1, platform::LineStyle::solid});
    canvas.moveTo({close.left + 4, close.top + 2});
    canvas.lineTo({close.right - 3, close.bottom - 2});
    canvas.moveTo({close.right - 4, close.top + 2});
    canvas.lineTo({close.left + 3, close.bottom - 2});
    well(canvas, rectOf(kFileBox, -frame.left - 1, -frame.top - 1), palette::kWell);
    return image;
}

// A button face with a centred label, raised or pressed.
void drawButtonFace(Canvas& canvas, const Rect& rect, const char* label, bool pressed)
{
    const Colour face = pressed ? mix(palette::kPanel, palette::kHighlight, 2, 3) : palette::kPanelLight;
    canvas.fillRect(rect, face);
    if (pressed)
        bevel(canvas, rect, palette::kPanelDark, palette::kPanelLight);
    else
        bevel(canvas, rect, mix(palette::kPanelLight, palette::kInkWhite, 1, 3), palette::kPanelDark);
    const int width = static_cast<int>(std::string_view(label).size()) * (kGlyphWidth + 1) - 1;
    const int shift = pressed ? 1 : 0;
    drawGlyphText(canvas, label, {rect.left + (rect.width() - width) / 2 + shift, rect.top + 5 + shift},
                  pressed ? palette::kInkWhite : palette::kInkNormal);
}

Image drawFileButtons(bool pressed)
{
    Image image(90, 58, palette::kPanel);
    Canvas canvas(image);
    for (int i = 0; i < 6; ++i)
        drawButtonFace(canvas, rectOf(kFileButtons[i]), kFileButtonLabels[i], pressed);
    return image;
}

Image drawPopup()
{
    Image image(kPopupWidth, kPopupHeight, palette::kPanel);
    Canvas canvas(image);
    bevel(canvas, image.bounds(), palette::kInkAmber, palette::kPanelDark);
    titleStrip(canvas, image.bounds(), "Normalise Sample");
    drawGlyphText(canvas, "Raise the peak to full scale?", {10, 22}, palette::kInkNormal);
    return image;
}

// Two faces of a popup button, the upper one up, the lower one pressed.
Image drawPopupButton(const char* label)
{
    Image image(53, 36, kKeyGreen);
    Canvas canvas(image);
    drawButtonFace(canvas, {0, 0, 53, 18}, label, false);
    drawButtonFace(canvas, {0, 18, 53, 36}, label, true);
    return image;
}

// One period of a vibrato waveform in 20 x 9 pixels on key green.
Image drawVibratoIcon(int waveform)
{
    Image image(20, 9, kKeyGreen);
    Canvas canvas(image);
    constexpr int kRandom[20] = {4, 1, 6, 3, 7, 2, 5, 0, 8, 3, 6, 1, 4, 7, 2, 5, 8, 0, 6, 3};
    int last = -1;
    for (int x = 0; x < 20; ++x) {
        int y = 4;
        switch (waveform) {
        case 0: y = 4 - static_cast<int>(std::lround(4.0 * std::sin(x * 2.0 * M_PI / 20.0))); break;
        case 1: y = x * 8 / 19; break;
        case 2: y = x < 10 ? 0 : 8; break;
        default: y = kRandom[x]; break;
        }
        const int from = last < 0 ? y : std::min(last, y);
        const int to = last < 0 ? y : std::max(last, y);
        canvas.fillRect({x, from, x + 1, to + 1}, palette::kInkCyan);
        last = y;
    }
    return image;
}

Image drawNameCursor()
{
    Image image(8, 8, palette::kCursorBlock);
    Canvas canvas(image);
    canvas.fillRect({0, 7, 8, 8}, palette::kInkAmber);
    return image;
}

} // namespace

std::vector<Resource> drawSamplePageSkins()
{
    std::vector<Resource> skins;
    skins.push_back({kSamplePagePanel, "sample page", drawPage(), {}});
    skins.push_back({kSampleWaveform, "sample waveform", drawWaveformBackground(), {}});
    skins.push_back({kSampleFieldsPanel, "sample fields", drawFieldsPanel(), {}});
    skins.push_back({kSampleBrowserFrame, "sample browser frame", drawBrowserFrame(), {}});
    skins.push_back({kSampleFileButtonsUp, "sample file buttons", drawFileButtons(false), {}});
    skins.push_back({kSampleFileButtonsDown, "sample file buttons pressed", drawFileButtons(true), {}});
    skins.push_back({kNormalisePopup, "normalise popup", drawPopup(), {}});
    skins.push_back({kNormaliseOk, "normalise OK", drawPopupButton("OK"), {}});
    skins.push_back({kNormaliseCancel, "normalise Cancel", drawPopupButton("Cancel"), {}});
    skins.push_back({kVibratoSine, "vibrato sine", drawVibratoIcon(0), {}});
    skins.push_back({kVibratoRampDown, "vibrato ramp down", drawVibratoIcon(1), {}});
    skins.push_back({kVibratoSquare, "vibrato square", drawVibratoIcon(2), {}});
    skins.push_back({kVibratoRandom, "vibrato random", drawVibratoIcon(3), {}});
    skins.push_back({kSampleNameCursor, "sample name cursor", drawNameCursor(), {}});
    return skins;
}

} // namespace generator
