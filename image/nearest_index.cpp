#include "image/nearest_index.h"

namespace {

int32_t square(int32_t v) { return v * v; }

int cellOf(CxColor c)
{
    return (c.red >> 4) << 8 | (c.green >> 4) << 4 | (c.blue >> 4);
}

// Smallest and largest squared distance from a value to the range lo..lo+15.
int32_t nearestAxis(int32_t v, int32_t lo) { return v < lo ? square(lo - v) : v > lo + 15 ? square(v - lo - 15) : 0; }
int32_t farthestAxis(int32_t v, int32_t lo) { return square(v - lo > lo + 15 - v ? v - lo : lo + 15 - v); }

} // namespace

CxNearestIndex::CxNearestIndex(const CxColor* palette, uint32_t count)
{
    count = count > 256 ? 256 : count;
    for (uint32_t i = 0; i < count; i++)
        palette_[i] = palette[i];
    uint32_t used = 0;
    for (int cell = 0; cell < kCells; cell++) {
        start_[cell] = used;
        const int32_t r = (cell >> 8) << 4, g = ((cell >> 4) & 15) << 4, b = (cell & 15) << 4;
        int32_t bound = INT32_MAX;
        for (uint32_t i = 0; i < count; i++) {
            const int32_t far = farthestAxis(palette_[i].red, r) + farthestAxis(palette_[i].green, g) +
                                farthestAxis(palette_[i].blue, b);
            bound = far < bound ? far : bound;
        }
        for (uint32_t i = 0; i < count; i++)
            if (nearestAxis(palette_[i].red, r) + nearestAxis(palette_[i].green, g) + nearestAxis(palette_[i].blue, b) <=
                bound)
                candidates_[used++] = static_cast<uint8_t>(i);
    }
    start_[kCells] = used;
}

uint8_t CxNearestIndex::find(CxColor c) const
{
    const int cell = cellOf(c);
    int32_t best = INT32_MAX;
    uint8_t answer = 0;
    for (uint32_t k = start_[cell]; k < start_[cell + 1]; k++) {
        const CxColor& e = palette_[candidates_[k]];
        const int32_t d = square(e.red - c.red) + square(e.green - c.green) + square(e.blue - c.blue);
        if (d < best) {
            best = d;
            answer = candidates_[k];
            if (d == 0)
                break;
        }
    }
    return answer;
}
