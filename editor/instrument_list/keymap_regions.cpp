#include "editor/instrument_list/keymap_regions.h"

#include <algorithm>

namespace {

// The key range inside the table; empty (first > last) when there is none.
void clampKeys(int& firstKey, int& lastKey)
{
    firstKey = std::max(firstKey, 0);
    lastKey = std::min(lastKey, kKeys - 1);
}

// One key's regions with from..to cut out, sorted; false when they need
// more than four slots.
bool cutRange(const TesselKeyRegions& regions, uint8_t from, uint8_t to, TesselKeyRegions& out)
{
    TesselKeyRegion parts[2 * kKeyRegions];
    int count = 0;
    for (const TesselKeyRegion& r : regions.regions) {
        if (r.isZero())
            break;
        if (r.to < from || r.from > to) {
            parts[count++] = r;
            continue;
        }
        if (r.from < from)
            parts[count++] = {r.from, static_cast<uint8_t>(from - 1), r.value};
        if (r.to > to)
            parts[count++] = {static_cast<uint8_t>(to + 1), r.to, r.value};
    }
    if (count > kKeyRegions)
        return false;
    out.clear();
    for (int i = 0; i < count; ++i)
        out.insert(parts[i]);
    return true;
}

} // namespace

bool insertRegion(TesselRegionTable& table, int firstKey, int lastKey, uint8_t from, uint8_t to, int16_t value)
{
    clampKeys(firstKey, lastKey);
    for (int key = firstKey; key <= lastKey; ++key)
        if (table[static_cast<size_t>(key)].count() >= kKeyRegions)
            return false;
    for (int key = firstKey; key <= lastKey; ++key)
        table[static_cast<size_t>(key)].insert({from, to, value});
    return true;
}

bool clearRegionRange(TesselRegionTable& table, int firstKey, int lastKey, uint8_t from, uint8_t to)
{
    clampKeys(firstKey, lastKey);
    if (firstKey > lastKey)
        return true;
    TesselRegionTable cut = table;
    for (int key = firstKey; key <= lastKey; ++key)
        if (!cutRange(table[static_cast<size_t>(key)], from, to, cut[static_cast<size_t>(key)]))
            return false;
    table = cut;
    return true;
}

void mergeRegions(TesselKeyRegions& regions)
{
    auto& slots = regions.regions;
    for (int i = 1; i < kKeyRegions && !slots[static_cast<size_t>(i)].isZero();) {
        TesselKeyRegion& before = slots[static_cast<size_t>(i - 1)];
        const TesselKeyRegion& r = slots[static_cast<size_t>(i)];
        if (before.to + 1 == r.from && before.value == r.value) {
            before.to = r.to;
            for (int k = i; k + 1 < kKeyRegions; ++k)
                slots[static_cast<size_t>(k)] = slots[static_cast<size_t>(k + 1)];
            slots[kKeyRegions - 1] = TesselKeyRegion{};
        } else {
            ++i;
        }
    }
}

void applyRegionsToKeymap(TesselKeymap& keymap)
{
    for (int key = 0; key < kKeys; ++key) {
        TesselKeyRegions& regions = keymap.regionsOf(key);
        TesselRow& row = keymap.getRow(key);
        if (regions.count() == 0) {
            row.instrument = static_cast<int16_t>(row.instrument & 0xFF);
            continue;
        }
        row.instrument = 0;
        mergeRegions(regions);
        const TesselKeyRegion& only = regions.regions[0];
        if (regions.count() == 1 && only.from == 0 && only.to >= kFullVelocity && only.value != 0) {
            row.instrument = only.value;
            regions.clear();
        }
    }
}
