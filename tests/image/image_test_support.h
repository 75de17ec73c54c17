#pragma once
// Pictures, scratch files, outside programs and a giflib reading for the
// image tests.

#include "image/cx_image.h"
#include "platform/graphics/image.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace imagetest {

using Bytes = std::vector<uint8_t>;

// A fresh scratch folder named after the running test.
std::string scratchFolder();
Bytes readFile(const std::string& path);

// Runs a command; fails the test naming `package` when the program is missing.
std::string run(const std::string& command, const char* package, int* status = nullptr);
// convert's reading of a file as 8-bit RGBA, top row first.
Bytes magickRgba(const std::string& path, int& width, int& height);

// A 24-bit image whose pixel (x, y from the top) is colour(x, y).
void fill24(CxImage& image, int width, int height, const std::function<CxColor(int, int)>& colour);
// A palette image of `bits` whose pixel (x, y from the top) is index(x, y).
void fillIndexed(CxImage& image, int width, int height, int bits, const std::function<uint8_t(int, int)>& index);
// Encodes into memory.
Bytes encode(CxImage& image, int format);

// A 0x00RRGGBB picture, top row first, that looks like a desktop: a
// gradient background, windows with title bars, text-like speckle.
std::vector<uint32_t> desktopPixels(int width, int height);

struct GifImage {
    int left, top, width, height;
    std::vector<uint8_t> indices; // top row first
    std::vector<CxColor> localMap;
};
struct GifReading {
    bool ok = false;
    std::string error;
    int width = 0, height = 0;
    std::vector<CxColor> globalMap;
    std::vector<GifImage> images;
    std::vector<std::vector<uint8_t>> extensions; // function code, then the data bytes
    size_t longestSubBlock = 0;
};
// giflib's reading of a GIF file in memory.
GifReading readGif(const Bytes& bytes);
// The colour of each pixel of the composed picture, top row first.
std::vector<CxColor> gifColours(const GifReading& gif);

// The first entry with the smallest squared distance to the colour.
int nearestEntry(const std::vector<CxColor>& table, CxColor colour);
// giflib's reading of the screenshot road's GIF of a screen, checked as the
// road promises: one image of the screen's size in the default table, each
// pixel the nearest entry to the screen's colour there. Mismatches fail the
// running test; ok is false when the file is not that image.
GifReading readScreenGif(const std::string& path, const platform::Image& screen);

} // namespace imagetest
