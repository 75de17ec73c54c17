#pragma once
// Nearest palette entry for many colours at once, with the same answers as
// CxImage::NearestPaletteIndex (squared distance, the lowest index among
// equals). RGB space is cut into 16 x 16 x 16 cells; a cell keeps, in index
// order, only the entries that can be nearest to some colour inside it: those
// whose smallest distance to the cell is within the best largest distance.

#include "image/image_records.h"

#include <cstdint>

class CxNearestIndex {
public:
    CxNearestIndex(const CxColor* palette, uint32_t count);
    uint8_t find(CxColor c) const;

private:
    static constexpr int kCells = 16 * 16 * 16;
    CxColor palette_[256] = {};
    uint32_t start_[kCells + 1] = {};
    uint8_t candidates_[kCells * 256]; // filled up to start_[kCells]
};
