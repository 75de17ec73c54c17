// Writes every bitmap resource as "<id>.png" and a labelled contact sheet,
// "sheet.png", enlarged so that a person can judge the pixels; on the sheet
// key green shows as the dark page background it will be drawn over:
//   resource_sheet <folder>

#include "platform/graphics/font_catalog.h"
#include "platform/graphics/text.h"
#include "platform/system/folders.h"
#include "resources/product_font.h"
#include "resources/resources.h"

#include <algorithm>
#include <iterator>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace platform;

constexpr int kSheetWidth = 1240;
constexpr int kMargin = 12;
constexpr int kLabelHeight = 18;
constexpr Colour kSheetBackground = rgb(60, 60, 66);
constexpr Colour kPageBackground = rgb(24, 25, 28);

int zoomFor(const Image& image) { return image.width() <= 64 ? 4 : image.width() <= 128 ? 3 : 2; }

// The toolkit's eight draw-context fonts and the product font as the
// pattern grid and key map ask for it.
struct Sample {
    FontRequest request;
    const char* text;
};

const Sample kSamples[] = {
    {{"Arial", -12, 0, 700}, "Arial 12 bold: Sample 01 \x80 12.5 kHz \xE9\xE8\xE0"},
    {{"Arial", -18}, "Arial 18: Instrument List (F4)"},
    {{"Arial", -14}, "Arial 14: Play Pattern (F6)"},
    {{"Arial", -12}, "Arial 12: Click here for help (F1)"},
    {{"Arial", -11}, "Arial 11: Current Order / Pattern"},
    {{"Arial", -10}, "Arial 10: Loading... complete"},
    {{"Arial", -9}, "Arial 9: Volume control set."},
    {{"Symbol", -13}, "Symbol 13: abgd"},
    {{"Quorbel", -12}, "Quorbel 12: C-5 01 .. 40 A0F  ===  ^^^ \xB7\xB7\xB7"},
    {{"Quorbel", -8, 6}, "Quorbel 8 x 6: C-5 01 .. 40 A0F  ===  ^^^ \xB7\xB7\xB7"},
    {{"Arial", -14, 0, 400, true, true}, "Arial 14 italic underlined"},
};

constexpr int kSampleLine = 22;

struct Tile {
    int32_t id;
    Image image;
    int zoom;
    Rect place;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    if (!makeFolders(folder)) {
        std::fprintf(stderr, "cannot make %s\n", folder.c_str());
        return 1;
    }

    // Flow layout: tiles left to right, a new row when one would not fit.
    std::vector<Tile> tiles;
    int x = kMargin;
    int y = kMargin;
    int rowHeight = 0;
    for (int32_t id : resources::bitmapIds()) {
        Image image = resources::loadBitmap(id);
        if (!image.writePng(joinPath(folder, std::to_string(id) + ".png"))) {
            std::fprintf(stderr, "cannot write the PNG of %d\n", id);
            return 1;
        }
        const int zoom = zoomFor(image);
        const int width = std::max(image.width() * zoom, 150);
        const int height = kLabelHeight + image.height() * zoom;
        if (x + width > kSheetWidth - kMargin && x > kMargin) {
            x = kMargin;
            y += rowHeight + kMargin;
            rowHeight = 0;
        }
        tiles.push_back({id, std::move(image), zoom, rectOfSize(x, y, width, height)});
        x += width + kMargin;
        rowHeight = std::max(rowHeight, height);
    }

    const int samplesTop = y + rowHeight + kMargin;
    Image sheet(kSheetWidth, samplesTop + int(std::size(kSamples)) * kSampleLine + kMargin, kSheetBackground);
    Canvas canvas(sheet);
    FontRequest request;
    request.face = "Arial";
    request.height = -12;
    const auto font = FontCatalog::process().open(request);
    for (const auto& tile : tiles) {
        const std::string label = std::to_string(tile.id) + ": " + std::string(resources::describe(tile.id)) + " (" +
                                  std::to_string(tile.image.width()) + " x " + std::to_string(tile.image.height()) +
                                  ")";
        drawText(canvas, *font, label, {tile.place.left, tile.place.top}, TextPaint{});
        const Rect picture = rectOfSize(tile.place.left, tile.place.top + kLabelHeight, tile.image.width() * tile.zoom,
                                        tile.image.height() * tile.zoom);
        Image keyed(tile.image.width(), tile.image.height(), kPageBackground);
        Canvas(keyed).copyKeyed(tile.image, keyed.bounds(), {0, 0}, kKeyGreen);
        canvas.stretch(keyed, keyed.bounds(), picture);
    }
    FontCatalog& catalog = FontCatalog::process();
    const std::string fontFile = resources::registerProductFont(catalog, folder);
    int line = samplesTop;
    for (const auto& sample : kSamples) {
        drawText(canvas, *catalog.open(sample.request), sample.text, {kMargin, line}, {rgb(230, 230, 230)});
        line += kSampleLine;
    }
    resources::unregisterProductFont(catalog, fontFile);

    if (!sheet.writePng(joinPath(folder, "sheet.png"))) {
        std::fprintf(stderr, "cannot write the sheet\n");
        return 1;
    }
    std::printf("%zu resources written to %s\n", tiles.size(), folder.c_str());
    return 0;
}
