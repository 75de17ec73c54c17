#include "model/instrument/instrument_file_keymap.h"

#include "model/instrument/keymap.h"

namespace {

void renumberRegions(TesselKeyRegions& set, const TesselSampleRenumber& renumber)
{
    TesselKeyRegions kept;
    int count = 0;
    for (const TesselKeyRegion& region : set.regions) {
        if (region.isZero())
            break;
        TesselKeyRegion moved = region;
        if (region.value != 0) {
            moved.value = static_cast<int16_t>(renumber(region.value));
            if (moved.value == 0)
                continue;
        }
        kept.regions[static_cast<size_t>(count++)] = moved;
    }
    set = kept;
}

} // namespace

void renumberKeymapSamples(TesselKeymap& keymap, const TesselSampleRenumber& renumber)
{
    for (int key = 0; key < kKeys; ++key) {
        TesselRow& row = keymap.getRow(key);
        if (row.instrument > 0)
            row.instrument = static_cast<int16_t>(renumber(row.instrument));
        renumberRegions(keymap.regionsOf(key), renumber);
    }
}

int findFreeSample(const std::array<TesselSample, kSamples>& samples, int from)
{
    for (int slot = from < 0 ? 0 : from; slot < kSamples; ++slot)
        if (samples[static_cast<size_t>(slot)].isEmpty())
            return slot;
    return -1;
}
