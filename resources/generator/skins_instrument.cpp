// The instrument list page's skins: the file buttons, the swap popup, the
// action icons of the General tab, the MIDI panel and the key map's pieces.
#include "paint.h"
#include "resources/palette.h"
#include "resources/resource_ids.h"

namespace generator {

namespace {

using namespace resources;
using platform::rgb;

constexpr int kFileButtonWidth = 43;
constexpr int kFileButtonHeight = 18;

int glyphTextWidth(std::string_view text)
{
    return static_cast<int>(text.size()) * (kGlyphWidth + 1) - 1;
}

// Two faces of a file button: raised above, pressed below.
Image drawFileButton(std::string_view text)
{
    Image image(kFileButtonWidth, 2 * kFileButtonHeight, palette::kPanel);
    Canvas canvas(image);
    for (int face = 0; face < 2; ++face) {
        const Rect r{0, face * kFileButtonHeight, kFileButtonWidth, (face + 1) * kFileButtonHeight};
        const bool down = face == 1;
        verticalGradient(canvas, {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1},
                         down ? palette::kPanelDark : mix(palette::kPanel, palette::kPanelLight, 2, 3),
                         down ? palette::kPanel : palette::kPanel);
        bevel(canvas, r, down ? palette::kPanelDark : palette::kPanelLight, down ? palette::kPanelLight : palette::kPanelDark);
        const int x = (kFileButtonWidth - glyphTextWidth(text)) / 2 + (down ? 1 : 0);
        drawGlyphText(canvas, text, {x, r.top + 5 + (down ? 1 : 0)}, down ? palette::kInkAmber : palette::kInkWhite);
    }
    return image;
}

// A word on key green, for a button's face.
Image drawIcon(std::string_view text, platform::Colour ink)
{
    Image image(glyphTextWidth(text) + 2, kGlyphHeight, platform::kKeyGreen);
    Canvas canvas(image);
    drawGlyphText(canvas, text, {1, 0}, ink);
    return image;
}

Image drawSwapPopup(std::string_view where)
{
    Image image(200, 60, palette::kPanel);
    Canvas canvas(image);
    verticalGradient(canvas, {1, 1, 199, 15}, palette::kPanelLight, palette::kPanel);
    bevel(canvas, image.bounds(), palette::kPanelLight, palette::kPanelDark);
    drawGlyphText(canvas, "SWAP INSTRUMENTS", {6, 4}, palette::kInkWhite);
    drawGlyphText(canvas, where, {6, 20}, palette::kInkAmber);
    drawGlyphText(canvas, "WITH LABEL:", {6, 38}, palette::kInkNormal);
    canvas.fillRect({78, 35, 110, 47}, palette::kWell);
    bevel(canvas, {77, 34, 111, 48}, palette::kPanelDark, palette::kPanelLight);
    return image;
}

Image drawMidiPanel()
{
    static constexpr const char* kLabels[13] = {"PITCH BEND",  "RESOLUTION", "VELOCITY",   "EFFECT 0", "EFFECT 1",
                                                "EFFECT 2",    "EFFECT 3",   "EFFECT 4",   "EFFECT 5", "EFFECT 6",
                                                "EFFECT 7",    "EFFECT 8",   "EFFECT 9"};
    Image image(330, 240, palette::kPanel);
    Canvas canvas(image);
    verticalGradient(canvas, {1, 1, 329, 15}, palette::kPanelLight, palette::kPanel);
    canvas.fillRect({1, 15, 329, 16}, palette::kPanelDark);
    bevel(canvas, image.bounds(), palette::kPanelLight, palette::kPanelDark);
    drawGlyphText(canvas, "MIDI SETTINGS", {6, 4}, palette::kInkWhite);
    for (int i = 0; i < 13; ++i) {
        const int y = 20 + 17 * i;
        if (i % 2 == 1)
            canvas.fillRect({3, y - 3, 327, y + 14}, mix(palette::kPanel, palette::kPanelDark, 1, 3));
        drawGlyphText(canvas, kLabels[i], {8, y + 2}, i < 3 ? palette::kInkCyan : palette::kInkNormal);
    }
    return image;
}

// Velocities 0..64, four pixels each, with a mark every 8 and the ends named.
Image drawVelocityScale()
{
    Image image(261, 11, palette::kWell);
    Canvas canvas(image);
    for (int v = 0; v <= 64; v += 8) {
        const int x = 4 * v;
        canvas.fillRect({x, 7, x + 1, 11}, v % 32 == 0 ? palette::kInkNormal : palette::kFrameLine);
    }
    drawTinyText(canvas, "0", {2, 1}, palette::kInkNormal);
    drawTinyText(canvas, "32", {4 * 32 + 2, 1}, palette::kInkNormal);
    // Clear of the close button at the area's top right.
    drawTinyText(canvas, "64", {4 * 64 - tinyTextWidth("64") - 8, 1}, palette::kInkNormal);
    return image;
}

Image drawRegionCursor()
{
    Image image(5, 12, platform::kKeyGreen);
    Canvas canvas(image);
    canvas.fillRect({0, 0, 5, 1}, palette::kCursorBlock);
    canvas.fillRect({0, 11, 5, 12}, palette::kCursorBlock);
    canvas.fillRect({2, 1, 3, 11}, palette::kCursorBlock);
    return image;
}

Image drawRegionButton()
{
    Image image(19, 11, palette::kPanel);
    static_assert(3 * (kGlyphWidth + 1) - 1 <= 19 - 2, "the word fits the button");
    Canvas canvas(image);
    bevel(canvas, image.bounds(), palette::kPanelLight, palette::kPanelDark);
    drawGlyphText(canvas, "VEL", {1, 2}, palette::kInkAmber);
    return image;
}

} // namespace

std::vector<Resource> drawInstrumentSkins()
{
    std::vector<Resource> skins;
    skins.push_back({kInstrumentLoadButton, "instrument file button: load", drawFileButton("LOAD"), {}});
    skins.push_back({kInstrumentNewButton, "instrument file button: new", drawFileButton("NEW"), {}});
    skins.push_back({kInstrumentSaveButton, "instrument file button: save", drawFileButton("SAVE"), {}});
    skins.push_back({kInstrumentSwapButton, "instrument file button: swap", drawFileButton("SWAP"), {}});
    skins.push_back({kSwapInList, "swap popup: instrument list", drawSwapPopup("IN THE LIST ONLY"), {}});
    skins.push_back({kSwapInPatterns, "swap popup: list and patterns", drawSwapPopup("IN LIST AND PATTERNS"), {}});
    skins.push_back({kActionNoteOff, "new-note action: note off", drawIcon("OFF", palette::kInkAmber), {}});
    skins.push_back({kActionContinue, "new-note action: continue", drawIcon("CONT", palette::kInkCyan), {}});
    skins.push_back({kActionCut, "new-note action: cut", drawIcon("CUT", palette::kInkWhite), {}});
    skins.push_back({kActionFade, "new-note action: fade", drawIcon("FADE", palette::kInkNormal), {}});
    skins.push_back({kCheckNote, "duplicate check: note", drawIcon("NOTE", palette::kInkCyan), {}});
    skins.push_back({kCheckSample, "duplicate check: sample", drawIcon("SMP", palette::kInkCyan), {}});
    skins.push_back({kCheckOff, "duplicate check: off", drawIcon("OFF", palette::kInkWhite), {}});
    skins.push_back({kCheckInstrument, "duplicate check: instrument", drawIcon("INS", palette::kInkCyan), {}});
    skins.push_back({kMidiPanel, "MIDI panel", drawMidiPanel(), {}});
    skins.push_back({kKeyMapVelocityScale, "key map velocity scale", drawVelocityScale(), {}});
    skins.push_back({kKeyMapRegionCursor, "key map region cursor", drawRegionCursor(), {}});
    skins.push_back({kKeyMapRegionButton, "key map region button", drawRegionButton(), {}});
    return skins;
}

} // namespace generator
