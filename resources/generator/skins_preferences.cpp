// The preferences page and its two sub-pages, settings and keyboard
// shortcuts: the panels with their wells (the pages draw the controls into
// them), the section heading, the capture panel and the two-faced labels of
// their buttons (upper face up, lower face pressed).

#include "paint.h"
#include "resources/palette.h"
#include "resources/resource_ids.h"

namespace generator {

namespace {

using namespace resources;
using platform::rgb;

constexpr int kFaceHeight = 18;

// Glyph text with narrow blanks, for labels that would not fit otherwise.
int drawTightText(Canvas* canvas, std::string_view text, Point at, Colour ink)
{
    constexpr int kBlank = 2;
    int x = at.x;
    for (char c : text) {
        if (c == ' ') {
            x += kBlank;
            continue;
        }
        if (canvas)
            drawGlyphText(*canvas, std::string_view(&c, 1), {x, at.y}, ink);
        x += kGlyphWidth + 1;
    }
    return x - at.x - 1;
}

// A panel with a title strip (a close box lands at its right end).
Image titledPanel(int width, int height, std::string_view title)
{
    Image image(width, height, palette::kPanel);
    Canvas canvas(image);
    bevel(canvas, image.bounds(), palette::kPanelLight, palette::kPanelDark);
    canvas.fillRect({1, 1, width - 1, 15}, mix(palette::kPanel, palette::kPanelLight, 1, 3));
    canvas.fillRect({1, 15, width - 1, 16}, palette::kPanelDark);
    drawGlyphText(canvas, title, {6, 4}, palette::kInkAmber);
    return image;
}

// A button's label on its two faces, each kFaceHeight high.
Image buttonFaces(int width, std::string_view label)
{
    Image image(width, 2 * kFaceHeight, palette::kPanel);
    Canvas canvas(image);
    const int x = (width - drawTightText(nullptr, label, {}, {})) / 2;
    for (int face = 0; face < 2; ++face) {
        const int top = face * kFaceHeight;
        const Rect all{0, top, width, top + kFaceHeight};
        const bool pressed = face == 1;
        verticalGradient(canvas, all, pressed ? rgb(40, 42, 48) : rgb(92, 96, 108),
                         pressed ? rgb(64, 68, 78) : rgb(50, 53, 60));
        bevel(canvas, all, pressed ? palette::kPanelDark : rgb(132, 138, 152),
              pressed ? palette::kPanelLight : palette::kPanelDark);
        drawTightText(&canvas, label, {x + (pressed ? 1 : 0), top + 5 + (pressed ? 1 : 0)}, palette::kInkWhite);
    }
    return image;
}

// Page 8: the buttons' wells along the top, the resolution slider's label
// and the well its slider fills at (92, 79)-(268, 90).
Image drawPreferencesPanel()
{
    Image image = titledPanel(586, 317, "Preferences");
    Canvas canvas(image);
    for (int left : {9, 96, 183})
        bevel(canvas, {left - 1, 20, left + 85, 40}, palette::kPanelDark, palette::kPanelLight);
    canvas.fillRect({6, 56, 580, 57}, palette::kPanelDark);
    canvas.fillRect({6, 57, 580, 58}, palette::kPanelLight);
    drawGlyphText(canvas, "Song", {9, 63}, palette::kInkAmber);
    drawGlyphText(canvas, "Resolution", {86 - glyphTextWidth("Resolution"), 81}, palette::kInkNormal);
    well(canvas, {91, 78, 269, 91}, palette::kWell);
    drawGlyphText(canvas, "ticks per row; saved as the default of new songs", {276, 81}, palette::kInkGrey);
    return image;
}

// The keyboard page: the tree's well, the command's label and path, the
// shortcut list, and below the list the place of the capture panel, which
// holds a hint while no key is being captured.
Image drawKeyboardPanel()
{
    Image image = titledPanel(586, 280, "Keyboard Shortcuts");
    Canvas canvas(image);
    well(canvas, {10, 22, 260, 251}, palette::kWell);
    well(canvas, {268, 33, 578, 70}, palette::kWell);
    well(canvas, {268, 74, 578, 231}, palette::kWell);
    drawGlyphText(canvas, "Up/Down, Left/Right: choose a command", {277, 238}, palette::kInkGrey);
    drawGlyphText(canvas, "Enter: new key   Del: remove key", {277, 250}, palette::kInkGrey);
    drawGlyphText(canvas, "Tab: next field", {277, 262}, palette::kInkGrey);
    for (int left : {12, 83, 191})
        bevel(canvas, {left - 1, 253, left + (left == 12 ? 69 : 70), 273}, palette::kPanelDark,
              palette::kPanelLight);
    return image;
}

// The settings page: one column of controls from x 93 to 575 (the page
// draws their labels and the headings of its four sections).
Image drawSettingsPanel()
{
    Image image = titledPanel(586, 170, "Settings");
    Canvas canvas(image);
    for (int top : {47, 69, 102, 146}) {
        const int bottom = top == 69 ? 91 : top == 102 ? 135 : top + 11;
        well(canvas, {92, top - 1, 577, bottom + 1}, palette::kWell);
    }
    drawGlyphText(canvas, "Esc closes", {500, 4}, palette::kInkGrey);
    return image;
}

// Behind a section's heading: a strip fading out to the right, a line under it.
Image drawSettingsHeading()
{
    Image image(561, 11, palette::kPanel);
    Canvas canvas(image);
    for (int x = 0; x < 561; ++x)
        canvas.fillRect({x, 0, x + 1, 10}, mix(mix(palette::kPanel, palette::kHighlight, 1, 2), palette::kPanel, x, 560));
    canvas.fillRect({0, 10, 561, 11}, palette::kPanelDark);
    return image;
}

Image drawCapturePanel()
{
    const Colour amber = palette::kInkAmber;
    Image image(306, 38, rgb(30, 28, 22));
    Canvas canvas(image);
    bevel(canvas, image.bounds(), amber, mix(amber, rgb(0, 0, 0), 2, 3));
    bevel(canvas, {1, 1, 305, 37}, mix(amber, rgb(0, 0, 0), 1, 2), rgb(20, 18, 14));
    return image;
}

// Loaded with the keyboard page, which gives it no place: a key cap.
Image drawKeyCap()
{
    Image image(16, 16, palette::kPanel);
    Canvas canvas(image);
    bevel(canvas, {1, 1, 15, 15}, palette::kPanelLight, palette::kPanelDark);
    drawGlyphText(canvas, "K", {5, 4}, palette::kInkWhite);
    return image;
}

} // namespace

std::vector<Resource> drawPreferencesSkins()
{
    std::vector<Resource> skins;
    skins.push_back({kPreferencesPanel, "preferences panel", drawPreferencesPanel(), {}});
    skins.push_back({kSettingsButton, "settings button", buttonFaces(84, "Settings"), {}});
    skins.push_back({kKeyboardButton, "keyboard button", buttonFaces(84, "Keyboard"), {}});
    skins.push_back({kSaveDefaultButton, "save as default button", buttonFaces(84, "Save as Default"), {}});
    skins.push_back({kSettingsPanel, "settings panel", drawSettingsPanel(), {}});
    skins.push_back({kSettingsHeading, "settings heading", drawSettingsHeading(), {}});
    skins.push_back({kKeyboardPanel, "keyboard panel", drawKeyboardPanel(), {}});
    skins.push_back({kLoadSchemeButton, "load scheme button", buttonFaces(68, "Load"), {}});
    skins.push_back({kSaveSchemeButton, "save scheme button", buttonFaces(69, "Save"), {}});
    skins.push_back({kDefaultSchemeButton, "default scheme button", buttonFaces(69, "Defaults"), {}});
    skins.push_back({kCapturePanel, "capture panel", drawCapturePanel(), {}});
    skins.push_back({kKeyboardKeyCap, "keyboard key cap", drawKeyCap(), {}});
    return skins;
}

} // namespace generator
