#pragma once
// An instrument's key map: per key (note 0..119) a row saying which note and
// sample it plays, and up to four velocity regions choosing the sample.

#include "model/song/track.h"

#include <array>
#include <cstdint>

constexpr int kKeys = 120;
constexpr int kKeyRegions = 4;

// Notes of the key whose velocity lies in from..to play sample `value`.
struct TesselKeyRegion {
    uint8_t from = 0;
    uint8_t to = 0;
    int16_t value = 0;

    bool isZero() const { return from == 0 && to == 0 && value == 0; }
    bool operator==(const TesselKeyRegion&) const = default;
};
static_assert(sizeof(TesselKeyRegion) == 4, "a region slot is 32 bits");

struct TesselKeyRegions {
    std::array<TesselKeyRegion, kKeyRegions> regions{};

    // The n-th region (from 0), up to the first all-zero one, holding the velocity.
    const TesselKeyRegion* find(int velocity, int n) const;
    // Keeps the list sorted by from, then to; -1 when the list is full (or
    // the region is all zero, which would end the list); else its slot.
    int insert(const TesselKeyRegion& region);
    int count() const;   // regions before the first all-zero one
    void clear() { regions.fill(TesselKeyRegion{}); }
    bool operator==(const TesselKeyRegions&) const = default;
};

class TesselKeymap : public TesselTrack {
public:
    TesselKeymap() : TesselTrack(-1, kKeys) {}

    // Key k plays note k of the instrument's own sample number (a + 1).
    void reset(int instrumentIndex);
    bool isDefault(int instrumentIndex) const;
    bool usesSample(int sample) const;
    // The key's row, or the blank row when it has none.
    const TesselRow& keyRow(int key) const { return rowOrBlank(key); }
    TesselKeyRegions& regionsOf(int key) { return keyRegions[static_cast<size_t>(key)]; }
    const TesselKeyRegions& regionsOf(int key) const { return keyRegions[static_cast<size_t>(key)]; }

    // Document markup: a "keymap" with the key rows that differ from the
    // instrument's default and, when any key has regions, a "map".
    void writeXml(FILE* file, int instrumentIndex) const;
    void writeMapXml(FILE* file) const;
    void writeRegionXml(FILE* file, int key) const;
    // Resets to the instrument's default, then the key rows and regions;
    // keys outside 0..119 are dropped. False when the input ends first.
    bool readXml(TesselMemoryFile& buffer, const TesselElement& element, int instrumentIndex);
    bool readRegionsXml(TesselMemoryFile& buffer, const TesselElement& element);

    std::array<TesselKeyRegions, kKeys> keyRegions{};
};
