#include "pagekit/page_operations.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

std::string regionText(const TesselKeyRegions& regions, int velocity)
{
    std::string text;
    for (int n = 0; const TesselKeyRegion* region = regions.find(velocity, n); ++n) {
        if (!text.empty())
            text += '+';
        text += std::to_string(region->value);
    }
    return text;
}

namespace {

bool holds(const TesselKeyRegions& regions, const TesselKeyRegion& region)
{
    for (const TesselKeyRegion& r : regions.regions) {
        if (r.isZero())
            return false;
        if (r == region)
            return true;
    }
    return false;
}

} // namespace

bool findRegionSpan(const std::array<TesselKeyRegions, kKeys>& table, int key, int velocity, TesselRegionSpan& span,
                    int n)
{
    if (key < 0 || key >= kKeys)
        return false;
    const TesselKeyRegion* found = table[static_cast<size_t>(key)].find(velocity, n);
    if (!found)
        return false;
    const TesselKeyRegion region = *found;
    span.firstVelocity = region.from;
    span.lastVelocity = region.to;
    span.firstKey = key;
    while (span.firstKey > 0 && holds(table[static_cast<size_t>(span.firstKey - 1)], region))
        --span.firstKey;
    span.lastKey = key;
    while (span.lastKey < kKeys - 1 && holds(table[static_cast<size_t>(span.lastKey + 1)], region))
        ++span.lastKey;
    return true;
}

int matchInstrument(const std::array<TesselInstrument, kInstruments>& instruments, const char* typed, int cursor)
{
    if (!typed)
        return 0;
    constexpr int kPlaces = 2;
    constexpr int kFullMatch = 5;
    int best = 0;
    int bestScore = 0;
    for (int i = 0; i < kInstruments; ++i) {
        const char* label = instruments[static_cast<size_t>(i)].label;
        int score = 0;
        for (int p = 0; p < kPlaces && typed[p]; ++p)
            if (typed[p] == label[p])
                score += p == cursor ? 4 : 1;
        if (score > bestScore) {
            bestScore = score;
            best = i + 1;
        }
    }
    if (bestScore != kFullMatch) {
        const long number = std::strtol(typed, nullptr, 10);
        char digits[32];
        std::snprintf(digits, sizeof digits, "%.2ld", number);
        if (number >= 0 && number <= kInstruments && std::strcmp(digits, typed) == 0)
            return static_cast<int>(number);
    }
    return best;
}

int32_t clampInstrumentField(int32_t section, int32_t field)
{
    int32_t last = 12;
    if (section == 0)
        last = 4;
    else if (section == 2)
        last = 13;
    else if (section == 3)
        last = 16;
    else if (section == 5)
        last = 1;
    else if (section >= 6 && section <= 255)
        last = 0;
    return std::clamp(field, 0, last);
}

void clampOrderCursor(TesselOrderCursor& cursor, const TesselOrderList& orders)
{
    cursor.column = std::clamp(cursor.column, 0, 2);
    if (orders.inPitchMode()) {
        cursor.row = std::clamp(cursor.row, 0, kOrderPitches - 1);
        cursor.subColumn = 0;
    } else {
        cursor.row = std::clamp(cursor.row, 0, kOrderEntries - 1);
        cursor.subColumn = std::clamp(cursor.subColumn, 0, 63);
        const int values = orders.entries[static_cast<size_t>(cursor.row)].valueCount();
        if (cursor.subColumn > values) {
            cursor.column = 2;
            cursor.subColumn = values;
        }
    }
    cursor.firstRow = std::clamp(cursor.firstRow, cursor.row - kOrderRowsBelowFirst, cursor.row);
}
