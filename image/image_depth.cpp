// Reducing the bit depth: every pixel takes the nearest entry of a given or
// the fixed palette, optionally with Floyd-Steinberg error diffusion.
#include "image/cx_image.h"
#include "image/nearest_index.h"

#include <memory>
#include <new>

namespace {

uint8_t clampChannel(int v)
{
    return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
}

} // namespace

bool CxImage::DecreaseBpp(uint32_t bits, bool errorDiffusion, const CxColor* palette, uint32_t importantColors)
{
    if (!dib_)
        return false;
    if (bits > GetBpp()) {
        SetLastError("DecreaseBpp: target BPP greater than source BPP");
        return false;
    }
    if (bits == GetBpp() &&
        (importantColors == 0 || (header_.colorsImportant != 0 && header_.colorsImportant < importantColors)))
        return true;

    CxImage reduced;
    reduced.CopyInfoFrom(*this);
    reduced.Create(uint32_t(GetWidth()), uint32_t(GetHeight()), bits, GetType());
    if (importantColors)
        reduced.SetImportantColors(importantColors);
    if (!reduced.HasPixels()) {
        SetLastError(reduced.GetLastError());
        return false;
    }
    reduced.CopySelectionFrom(*this);
    reduced.CopyAlphaFrom(*this);
    if (palette)
        reduced.LoadPalette(palette, importantColors ? importantColors : 1u << (bits < 8 ? bits : 8));
    else
        reduced.ApplyDefaultPalette();

    // The screenshot's road: the same answers as NearestPaletteIndex, found
    // among the few entries that can win in the colour's cell.
    std::unique_ptr<CxNearestIndex> lookup;
    if (!errorDiffusion && reduced.HasPalette()) {
        const uint32_t important = reduced.GetColorsImportant();
        const uint32_t used = reduced.GetColorsUsed();
        lookup.reset(new (std::nothrow) CxNearestIndex(reduced.PaletteEntries(), important && important < used ? important : used));
    }
    const int64_t width = GetWidth(), height = GetHeight();
    for (int64_t y = 0; y < height; y++) {
        if (RowLoopStopped(y, height))
            break;
        if (lookup) {
            CxColor last = PixelColorAtUnchecked(0, y, false);
            uint8_t lastIndex = lookup->find(last);
            for (int64_t x = 0; x < width; x++) {
                const CxColor c = PixelColorAtUnchecked(x, y, false);
                if (!(c == last)) {
                    last = c;
                    lastIndex = lookup->find(c);
                }
                reduced.PutPixelIndexUnchecked(x, y, lastIndex);
            }
            continue;
        }
        if (!errorDiffusion) {
            for (int64_t x = 0; x < width; x++)
                reduced.PutPixelColorUnchecked(x, y, PixelColorAtUnchecked(x, y, true), false);
            continue;
        }
        for (int64_t x = 0; x < width; x++) {
            const CxColor wanted = PixelColorAt(x, y, true);
            reduced.PutPixelColor(x, y, wanted, false);
            const CxColor got = reduced.PixelColorAt(x, y, false);
            const int error[3] = {int(wanted.red) - got.red, int(wanted.green) - got.green, int(wanted.blue) - got.blue};
            // Right, below left, below, below right (rows grow upward here).
            static constexpr int kSpread[4][3] = {{1, 0, 7}, {-1, 1, 2}, {0, 1, 4}, {1, 1, 1}};
            for (const auto& [dx, dy, weight] : kSpread) {
                if (!Contains(x + dx, y + dy))
                    continue;
                CxColor c = PixelColorAt(x + dx, y + dy, true);
                c.red = clampChannel(c.red + error[0] * weight / 16);
                c.green = clampChannel(c.green + error[1] * weight / 16);
                c.blue = clampChannel(c.blue + error[2] * weight / 16);
                PutPixelColor(x + dx, y + dy, c, false);
            }
        }
    }
    return TakeBuffersFrom(&reduced, true);
}
