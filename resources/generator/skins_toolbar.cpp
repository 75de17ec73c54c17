// Skins of the toolbar in the host's window (the file menu, page and
// transport buttons with their pressed faces, the logo) and of the pattern
// options panel.

#include "paint.h"
#include "resources/palette.h"
#include "resources/resource_ids.h"

#include <string_view>

namespace generator {

namespace {

using namespace resources;
using platform::rgb;

constexpr Colour kFaceUp = rgb(58, 62, 72);
constexpr Colour kFaceDown = rgb(60, 96, 140);

// Two faces of width x height above each other; `sign` draws on each one.
template <class Sign>
Image drawTwoFaces(int width, int height, Sign sign)
{
    Image image(width, 2 * height, kFaceUp);
    Canvas canvas(image);
    for (int face = 0; face < 2; ++face) {
        const Rect rect{0, face * height, width, face * height + height};
        canvas.fillRect(rect, face ? kFaceDown : kFaceUp);
        bevel(canvas, rect, face ? palette::kPanelDark : palette::kPanelLight,
              face ? palette::kPanelLight : palette::kPanelDark);
        sign(canvas, rect, face ? palette::kInkWhite : palette::kInkNormal);
    }
    return image;
}

// A page button: its two letters, centred.
Image drawPageButton(std::string_view letters)
{
    return drawTwoFaces(17, 15, [letters](Canvas& canvas, const Rect& face, Colour ink) {
        drawGlyphText(canvas, letters, {face.left + 3, face.top + 4}, ink);
    });
}

// The file menu: a sheet with a folded corner.
Image drawFileMenuButton()
{
    return drawTwoFaces(17, 15, [](Canvas& canvas, const Rect& face, Colour ink) {
        const int x = face.left + 5;
        const int y = face.top + 3;
        canvas.fillRect({x, y, x + 5, y + 1}, ink);
        canvas.fillRect({x, y, x + 1, y + 9}, ink);
        canvas.fillRect({x, y + 8, x + 8, y + 9}, ink);
        canvas.fillRect({x + 7, y + 3, x + 8, y + 9}, ink);
        canvas.fillRect({x + 5, y + 1, x + 6, y + 3}, ink);
        canvas.fillRect({x + 5, y + 3, x + 8, y + 4}, ink);
    });
}

enum class Mark { play, playPattern, playCursor, stop };

// A transport button: its mark and its word.
Image drawTransportButton(int width, Mark mark, std::string_view word)
{
    return drawTwoFaces(width, 22, [mark, word](Canvas& canvas, const Rect& face, Colour ink) {
        const int x = face.left + 6;
        const int y = face.top + 6;
        const Colour lit = ink == palette::kInkWhite ? palette::kInkAmber : ink;
        if (mark == Mark::stop) {
            canvas.fillRect({x, y, x + 9, y + 9}, lit);
        } else {
            const Point triangle[] = {{x, y}, {x + 8, y + 5}, {x, y + 10}};
            canvas.fillPolygon(triangle, 3, lit);
            if (mark == Mark::playPattern)
                canvas.fillRect({x + 9, y, x + 10, y + 10}, lit);
            if (mark == Mark::playCursor)
                canvas.fillRect({x - 3, y + 4, x - 1, y + 6}, lit);
        }
        drawGlyphText(canvas, word, {x + 13, y + 1}, ink);
    });
}

// The logo: a small pattern of notes in a ring.
Image drawLogo()
{
    Image image(28, 28, palette::kToolbarFace);
    Canvas canvas(image);
    canvas.fillRect({4, 2, 24, 26}, palette::kHighlight);
    canvas.fillRect({2, 4, 26, 24}, palette::kHighlight);
    canvas.fillRect({5, 5, 23, 23}, palette::kWell);
    for (int row = 0; row < 4; ++row)
        canvas.fillRect({8, 7 + 4 * row, row % 2 ? 14 : 20, 9 + 4 * row}, row == 1 ? palette::kInkAmber
                                                                                    : palette::kInkCyan);
    return image;
}

// The pattern options panel: a title strip (its close box at the right end),
// the labels, a well behind the text box and one behind each slider.
Image drawPatternOptionsPanel()
{
    Image image(408, 103, palette::kPanel);
    Canvas canvas(image);
    bevel(canvas, image.bounds(), palette::kPanelLight, palette::kPanelDark);
    verticalGradient(canvas, {1, 1, 407, 15}, rgb(70, 74, 86), rgb(34, 36, 42));
    drawGlyphText(canvas, "Pattern Options", {6, 4}, palette::kInkAmber);
    const struct {
        const char* label;
        int top;
        int right;
    } rows[] = {{"Label", 24, 136}, {"Minor step", 38, 339}, {"Major step", 52, 395}, {"Rows", 66, 395}};
    for (const auto& row : rows) {
        drawGlyphText(canvas, row.label, {10, row.top}, palette::kInkNormal);
        canvas.fillRect({106, row.top - 1, row.right, row.top + 10}, palette::kWell);
    }
    drawGlyphText(canvas, "Enter applies, Esc cancels, Tab moves", {10, 86}, palette::kInkGrey);
    return image;
}

} // namespace

std::vector<Resource> drawToolbarSkins()
{
    std::vector<Resource> skins;
    skins.push_back({kToolbarFileMenu, "toolbar file menu", drawFileMenuButton(), {}});
    skins.push_back({kToolbarPatternEditor, "toolbar pattern editor", drawPageButton("PE"), {}});
    skins.push_back({kToolbarSampleList, "toolbar sample list", drawPageButton("SL"), {}});
    skins.push_back({kToolbarInstrumentList, "toolbar instrument list", drawPageButton("IL"), {}});
    skins.push_back({kToolbarInfoPage, "toolbar info page", drawPageButton("IP"), {}});
    skins.push_back({kToolbarOrderList, "toolbar order list", drawPageButton("OL"), {}});
    skins.push_back({kToolbarPreferences, "toolbar preferences", drawPageButton("PR"), {}});
    skins.push_back({kToolbarPlaySong, "play song", drawTransportButton(65, Mark::play, "SONG"), {}});
    skins.push_back({kToolbarPlayPattern, "play pattern", drawTransportButton(62, Mark::playPattern, "PATT"), {}});
    skins.push_back({kToolbarPlayFromCursor, "play from cursor", drawTransportButton(70, Mark::playCursor, "CURSOR"),
                     {}});
    skins.push_back({kToolbarStop, "stop playback", drawTransportButton(60, Mark::stop, "STOP"), {}});
    skins.push_back({kToolbarLogo, "toolbar logo", drawLogo(), {}});
    skins.push_back({kPatternOptionsPanel, "pattern options panel", drawPatternOptionsPanel(), {}});
    return skins;
}

} // namespace generator
