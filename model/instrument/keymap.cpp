#include "model/instrument/keymap.h"

#include <algorithm>

const TesselKeyRegion* TesselKeyRegions::find(int velocity, int n) const
{
    const auto v = static_cast<uint8_t>(velocity);
    int seen = 0;
    for (const TesselKeyRegion& r : regions) {
        if (r.isZero())
            return nullptr;
        if (r.from <= v && v <= r.to && seen++ == n)
            return &r;
    }
    return nullptr;
}

int TesselKeyRegions::count() const
{
    int n = 0;
    while (n < kKeyRegions && !regions[static_cast<size_t>(n)].isZero())
        ++n;
    return n;
}

int TesselKeyRegions::insert(const TesselKeyRegion& region)
{
    const int used = count();
    if (region.isZero() || used >= kKeyRegions)
        return -1;
    int at = 0;
    while (at < used) {
        const TesselKeyRegion& r = regions[static_cast<size_t>(at)];
        if (r.from > region.from || (r.from == region.from && r.to > region.to))
            break;
        ++at;
    }
    for (int i = used; i > at; --i)
        regions[static_cast<size_t>(i)] = regions[static_cast<size_t>(i - 1)];
    regions[static_cast<size_t>(at)] = region;
    return at;
}

void TesselKeymap::reset(int instrumentIndex)
{
    for (TesselKeyRegions& r : keyRegions)
        r.clear();
    clear();
    setLength(kKeys);
    for (int k = 0; k < kKeys; ++k) {
        TesselRow& row = getRow(k);
        row.pitch = static_cast<int16_t>(k);
        row.instrument = static_cast<int16_t>(instrumentIndex + 1);
    }
}

bool TesselKeymap::isDefault(int instrumentIndex) const
{
    for (int k = 0; k < kKeys; ++k) {
        if (!keyRegions[static_cast<size_t>(k)].regions[0].isZero())
            return false;
        const TesselRow& row = keyRow(k);
        if (row.pitch != k || row.volume != -1 || row.panning != -1 || row.depth != -1 ||
            row.instrument != instrumentIndex + 1 || row.effect.command != '.' || row.effect.parameter != 0)
            return false;
    }
    return true;
}

bool TesselKeymap::usesSample(int sample) const
{
    for (int k = 0; k < kKeys; ++k) {
        if (keyRow(k).instrument == sample)
            return true;
        const auto& regions = keyRegions[static_cast<size_t>(k)].regions;
        if (std::any_of(regions.begin(), regions.end(), [sample](const TesselKeyRegion& r) { return r.value == sample; }))
            return true;
    }
    return false;
}
