// The help panel that slides up over the editor's pages: the panel itself in
// an active and an inactive look, its four two-faced buttons and the mark of
// its show-at-start toggle. The buttons' places are kHelpPanelButtons.

#include "paint.h"
#include "resources/palette.h"
#include "resources/resource_ids.h"

namespace generator {

namespace {

using namespace resources;
using platform::rgb;

constexpr int kPanelWidth = 723;
constexpr int kPanelHeight = 64;

struct Look {
    Colour top, bottom, light, dark, ink, dim, accent;
};

constexpr Look kActive{rgb(52, 56, 64), rgb(30, 32, 37), rgb(92, 98, 112), palette::kPanelDark, palette::kInkWhite,
                       palette::kInkGrey, palette::kInkAmber};
constexpr Look kInactive{rgb(44, 45, 48), rgb(30, 31, 33), rgb(70, 72, 78), palette::kPanelDark, rgb(170, 172, 176),
                         rgb(104, 106, 110), rgb(176, 160, 128)};

Rect placeOf(int button)
{
    const SkinPlace& p = kHelpPanelButtons[button];
    return {p.left, p.top, p.right, p.bottom};
}

// Glyph text at twice its size.
void drawLargeText(Canvas& canvas, std::string_view text, Point at, Colour ink, Colour ground)
{
    Image small(int(text.size()) * (kGlyphWidth + 1), kGlyphHeight, ground);
    Canvas smallCanvas(small);
    drawGlyphText(smallCanvas, text, {0, 0}, ink);
    canvas.stretch(small, small.bounds(), {at.x, at.y, at.x + 2 * small.width(), at.y + 2 * small.height()});
}

void drawPanel(Canvas& canvas, const Look& look)
{
    const Rect all{0, 0, kPanelWidth, kPanelHeight};
    verticalGradient(canvas, all, look.top, look.bottom);
    bevel(canvas, all, look.light, look.dark);
    drawLargeText(canvas, "HELP", {12, 9}, look.accent, look.top);
    drawGlyphText(canvas, "F1 here", {12, 32}, look.dim);
    drawGlyphText(canvas, "Shift+F1 keys", {12, 42}, look.dim);
    drawGlyphText(canvas, "Ctrl+F1 panel", {12, 52}, look.dim);
    // The buttons sit in wells; their faces cover the wells' insides.
    for (int button = 0; button < 4; ++button) {
        const Rect place = placeOf(button);
        bevel(canvas, {place.left - 1, place.top - 1, place.right + 1, place.bottom + 1}, look.dark, look.light);
    }
    // The toggle: an empty box (the mark fills it) and its label.
    const Rect box{kHelpShownMarkPlace.left, kHelpShownMarkPlace.top, kHelpShownMarkPlace.right,
                   kHelpShownMarkPlace.bottom};
    canvas.fillRect(box, palette::kWell);
    bevel(canvas, box, look.dark, look.light);
    drawGlyphText(canvas, "Show at start", {box.right + 6, box.top + 2}, look.ink);
    drawGlyphText(canvas, "Esc hides it,", {box.left, 34}, look.dim);
    drawGlyphText(canvas, "Ctrl+F1 again too", {box.left, 44}, look.dim);
}

// A face's picture, centred in the top half of the face.
void drawIcon(Canvas& canvas, int id, Point centre, Colour ink)
{
    switch (id) {
    case kHelpContents:   // lines of a list with bullets
        for (int row = 0; row < 3; ++row) {
            canvas.fillRect({centre.x - 8, centre.y - 6 + 5 * row, centre.x - 6, centre.y - 4 + 5 * row}, ink);
            canvas.fillRect({centre.x - 3, centre.y - 6 + 5 * row, centre.x + 8, centre.y - 5 + 5 * row}, ink);
        }
        break;
    case kHelpSearch: {   // a magnifying glass
        for (int y = -6; y <= 4; ++y)
            for (int x = -6; x <= 4; ++x) {
                const int d = (x + 1) * (x + 1) + (y + 1) * (y + 1);
                if (d >= 12 && d <= 25)
                    canvas.setPixel({centre.x + x, centre.y + y}, ink);
            }
        for (int i = 0; i < 4; ++i)
            canvas.fillRect({centre.x + 3 + i, centre.y + 3 + i, centre.x + 5 + i, centre.y + 5 + i}, ink);
        break;
    }
    case kHelpGettingStarted: {   // a start arrow
        const Point triangle[3] = {{centre.x - 5, centre.y - 7}, {centre.x + 6, centre.y}, {centre.x - 5, centre.y + 7}};
        canvas.fillPolygon(triangle, 3, ink);
        break;
    }
    default: {   // two arrows onward
        for (int dx : {-7, 1}) {
            const Point arrow[3] = {{centre.x + dx, centre.y - 6}, {centre.x + dx + 7, centre.y},
                                    {centre.x + dx, centre.y + 6}};
            canvas.fillPolygon(arrow, 3, ink);
        }
        break;
    }
    }
}

// Two faces, up over pressed, of a button of that size.
Image drawButton(int id, int width, int height, const char* line1, const char* line2)
{
    Image image(width, 2 * height);
    Canvas canvas(image);
    for (int face = 0; face < 2; ++face) {
        const bool down = face == 1;
        const Rect r{0, face * height, width, (face + 1) * height};
        verticalGradient(canvas, r, down ? rgb(36, 40, 48) : rgb(84, 90, 104), down ? rgb(58, 64, 76) : rgb(48, 52, 62));
        bevel(canvas, r, down ? palette::kPanelDark : rgb(126, 134, 150), down ? rgb(92, 98, 112) : palette::kPanelDark);
        const int shift = down ? 1 : 0;
        const Colour ink = down ? palette::kInkAmber : palette::kInkWhite;
        drawIcon(canvas, id, {width / 2 + shift, r.top + 14 + shift}, ink);
        const int lines = line2 ? 2 : 1;
        const int textTop = r.top + (lines == 1 ? 30 : 27) + shift;
        drawGlyphText(canvas, line1, {(width - glyphTextWidth(line1)) / 2 + shift, textTop}, ink);
        if (line2)
            drawGlyphText(canvas, line2, {(width - glyphTextWidth(line2)) / 2 + shift, textTop + 10}, ink);
    }
    return image;
}

Image drawShownMark()
{
    Image image(12, 12, palette::kWell);
    Canvas canvas(image);
    bevel(canvas, image.bounds(), palette::kPanelDark, rgb(92, 98, 112));
    const Point tick[6] = {{2, 6}, {4, 4}, {5, 6}, {9, 2}, {10, 4}, {5, 10}};
    canvas.fillPolygon(tick, 6, palette::kInkAmber);
    return image;
}

Image drawPanelImage(const Look& look)
{
    Image image(kPanelWidth, kPanelHeight);
    Canvas canvas(image);
    drawPanel(canvas, look);
    return image;
}

} // namespace

std::vector<Resource> drawHelpPanel()
{
    const auto button = [](int id, int place, const char* line1, const char* line2) {
        const Rect r = placeOf(place);
        return drawButton(id, r.width(), r.height(), line1, line2);
    };
    std::vector<Resource> panel;
    panel.push_back({kHelpPanel, "help panel", drawPanelImage(kActive), {}});
    panel.push_back({kHelpPanelInactive, "help panel, editor window inactive", drawPanelImage(kInactive), {}});
    panel.push_back({kHelpContents, "help panel button: contents", button(kHelpContents, 0, "Contents", nullptr), {}});
    panel.push_back({kHelpSearch, "help panel button: search", button(kHelpSearch, 1, "Search", nullptr), {}});
    panel.push_back({kHelpGettingStarted, "help panel button: getting started",
                     button(kHelpGettingStarted, 2, "Getting", "started"), {}});
    panel.push_back({kHelpFurther, "help panel button: going further", button(kHelpFurther, 3, "Going", "further"), {}});
    panel.push_back({kHelpShownMark, "help panel: show-at-start mark", drawShownMark(), {}});
    return panel;
}

} // namespace generator
