#include "paint.h"

#include "resources/palette.h"

#include <cstring>

namespace generator {

namespace {

struct TinyGlyph {
    char code;
    const char* rows[5];
};

constexpr TinyGlyph kTiny[] = {
    {'0', {"###", "#.#", "#.#", "#.#", "###"}}, {'1', {".#.", "##.", ".#.", ".#.", "###"}},
    {'2', {"###", "..#", "###", "#..", "###"}}, {'3', {"###", "..#", ".##", "..#", "###"}},
    {'4', {"#.#", "#.#", "###", "..#", "..#"}}, {'5', {"###", "#..", "###", "..#", "###"}},
    {'6', {"###", "#..", "###", "#.#", "###"}}, {'7', {"###", "..#", "..#", ".#.", ".#."}},
    {'8', {"###", "#.#", "###", "#.#", "###"}}, {'9', {"###", "#.#", "###", "..#", "###"}},
    {'b', {"#..", "#..", "##.", "#.#", "##."}}, {'i', {"#", ".", "#", "#", "#"}},
    {'t', {".#.", "###", ".#.", ".#.", ".##"}}, {'k', {"#..", "#.#", "##.", "#.#", "#.#"}},
    {'H', {"#.#", "#.#", "###", "#.#", "#.#"}}, {'z', {"...", "###", ".#.", "#..", "###"}},
    {'V', {"#.#", "#.#", "#.#", "#.#", ".#."}}, {'E', {"###", "#..", "##.", "#..", "###"}},
    {'R', {"##.", "#.#", "##.", "#.#", "#.#"}}, {'S', {".##", "#..", ".#.", "..#", "##."}},
    {'I', {"#", "#", "#", "#", "#"}},           {'O', {".#.", "#.#", "#.#", "#.#", ".#."}},
    {'N', {"#..#", "##.#", "#.##", "#..#", "#..#"}}, {'.', {".", ".", ".", ".", "#"}},
};

const TinyGlyph* findTiny(char c)
{
    for (const auto& glyph : kTiny)
        if (glyph.code == c)
            return &glyph;
    return nullptr;
}

} // namespace

Colour mix(Colour a, Colour b, int amountOfB, int outOf)
{
    auto blend = [&](uint8_t x, uint8_t y) { return uint8_t((x * (outOf - amountOfB) + y * amountOfB) / outOf); };
    return platform::rgb(blend(a.red, b.red), blend(a.green, b.green), blend(a.blue, b.blue));
}

void bevel(Canvas& canvas, const Rect& r, Colour light, Colour dark)
{
    canvas.fillRect({r.left, r.top, r.right, r.top + 1}, light);
    canvas.fillRect({r.left, r.top, r.left + 1, r.bottom}, light);
    canvas.fillRect({r.left + 1, r.bottom - 1, r.right, r.bottom}, dark);
    canvas.fillRect({r.right - 1, r.top + 1, r.right, r.bottom}, dark);
}

void verticalGradient(Canvas& canvas, const Rect& r, Colour top, Colour bottom)
{
    const int span = std::max(1, r.height() - 1);
    for (int y = r.top; y < r.bottom; ++y)
        canvas.fillRect({r.left, y, r.right, y + 1}, mix(top, bottom, y - r.top, span));
}

void plotRows(Canvas& canvas, const GlyphRows& rows, int width, Point at, Colour ink)
{
    for (int y = 0; y < kGlyphHeight; ++y)
        for (int x = 0; x < width; ++x)
            if (rows[y] & (1u << (width - 1 - x)))
                canvas.setPixel({at.x + x, at.y + y}, ink);
}

int drawGlyphText(Canvas& canvas, std::string_view text, Point at, Colour ink)
{
    int x = at.x;
    for (char c : text) {
        if (auto rows = glyphFor(static_cast<unsigned char>(c)))
            plotRows(canvas, *rows, kGlyphWidth, {x, at.y}, ink);
        x += kGlyphWidth + 1;
    }
    return x - at.x;
}

int glyphTextWidth(std::string_view text)
{
    return int(text.size()) * (kGlyphWidth + 1) - 1;
}

void well(Canvas& canvas, const Rect& rect, Colour face)
{
    canvas.fillRect(rect, face);
    bevel(canvas, rect, resources::palette::kPanelDark, resources::palette::kPanelLight);
}

// Letters 1 pixel apart; an unknown character is a 1-pixel space.
static int drawTiny(Canvas* canvas, std::string_view text, Point at, Colour ink)
{
    int x = at.x;
    for (char c : text) {
        const TinyGlyph* glyph = findTiny(c);
        const int width = glyph ? int(std::strlen(glyph->rows[0])) : 1;
        for (int y = 0; glyph && canvas && y < 5; ++y)
            for (int dx = 0; dx < width; ++dx)
                if (glyph->rows[y][dx] == '#')
                    canvas->setPixel({x + dx, at.y + y}, ink);
        x += width + 1;
    }
    return x - at.x - 1;
}

int drawTinyText(Canvas& canvas, std::string_view text, Point at, Colour ink)
{
    return drawTiny(&canvas, text, at, ink);
}

int tinyTextWidth(std::string_view text) { return drawTiny(nullptr, text, {}, {}); }

} // namespace generator
