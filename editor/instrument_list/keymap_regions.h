#pragma once
// The velocity-region table of an instrument's key map as the instrument
// pages edit it: up to four regions per key, kept sorted, each a velocity
// range and a sample number. An operation that cannot be done whole (a key
// would need a fifth region) changes nothing.

#include "model/instrument/keymap.h"

#include <array>
#include <cstdint>

using TesselRegionTable = std::array<TesselKeyRegions, kKeys>;

// The velocities a region covers when it stands for the whole key.
constexpr uint8_t kFullVelocity = 64;

// Inserts the region into every key from firstKey to lastKey (none when
// lastKey < firstKey), each list staying sorted. False, and no key changed,
// when one of them already holds four regions.
bool insertRegion(TesselRegionTable& table, int firstKey, int lastKey, uint8_t from, uint8_t to, int16_t value);

// Removes the velocities from..to from every region of those keys: a region
// wholly inside goes, one that overlaps an end is shortened, one that holds
// the range on both sides is split in two. False, and no key changed, when
// a split would need a fifth region.
bool clearRegionRange(TesselRegionTable& table, int firstKey, int lastKey, uint8_t from, uint8_t to);

// Joins each region that begins right after the one before it ends and
// plays the same sample.
void mergeRegions(TesselKeyRegions& regions);

// After an edit: each key with regions has them merged, its row's sample
// cleared, and a single region over all velocities becomes the row's plain
// sample; every row loses the source mark (its sample field's high byte)
// that the key map view puts on rows it loads.
void applyRegionsToKeymap(TesselKeymap& keymap);
