#pragma once
// The song's play order: 256 order entries, and 120 order pitches (one per
// note) that take over while pitch mode is set.

#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>

class TesselMemoryFile;
struct TesselElement;

constexpr int kOrderEntries = 256;
constexpr int kOrderPitches = 120;
// Order values besides pattern numbers 0..199.
constexpr int32_t kOrderEmpty = -1;
constexpr int32_t kOrderSkip = -2;
constexpr int32_t kOrderEnd = -3;

class TesselOrderEntry {
public:
    TesselOrderEntry() = default;
    TesselOrderEntry(const TesselOrderEntry&) = default;
    TesselOrderEntry& operator=(const TesselOrderEntry&) = default;
    virtual ~TesselOrderEntry() = default;

    // Set values among the entry's one value slot.
    virtual int valueCount() const { return pattern != kOrderEmpty ? 1 : 0; }

    bool isEmpty() const { return pattern == kOrderEmpty; }
    // The 1-based number of the slot holding p; 0 when none.
    int contains(int32_t p) const { return pattern == p ? 1 : 0; }
    // Empties value slot n; the entry has only slot 0.
    void clearSlot(int n);
    // Document markup: a self-contained "entry" with its position and pattern.
    virtual void writeXml(FILE* file) const;

    int32_t index = 0;
    int32_t pattern = kOrderEmpty;
};

class TesselOrderPitch : public TesselOrderEntry {
public:
    int valueCount() const override { return 1; }
};

class TesselOrderList {
public:
    TesselOrderList() { reset(); }
    TesselOrderList(const TesselOrderList&) = delete;
    TesselOrderList& operator=(const TesselOrderList&) = delete;

    void reset();
    void assign(const TesselOrderList& other);
    // One past the last entry that is not empty (skip and end markers count).
    void updateLength();
    bool inPitchMode() const { return (pitchMode & 0xFF) != 0; }
    // In the active table; all 256 entries, not only up to the length.
    bool contains(int32_t p) const;
    bool isEmpty() const;
    // A pattern number occurring twice among entries 0..length-1.
    bool hasRepeatedPattern() const;
    // Later entries of the active table move up; the last becomes empty.
    void removeAt(int i);
    // The next or previous of the 256 order entries that holds a pattern;
    // `index` itself when there is none.
    int nextUsed(int index) const;
    int previousUsed(int index) const;

    // Resets, then each "entry" up to the closing "order". Positions outside
    // 0..255 and values outside -3..199 are dropped; the length follows the
    // entries read. False when the input ends first.
    bool readXml(TesselMemoryFile& buffer, const TesselElement& element);

    // First: every audio block reads the mode, beside the song's timing.
    int32_t pitchMode = 0;
    int32_t length = 0;
    std::array<TesselOrderEntry, kOrderEntries> entries;
    std::array<TesselOrderPitch, kOrderPitches> pitches;
};

// In the active table, the entries from the position on move down one (the
// last falls off) and the position becomes empty, then takes the value
// when there is one. A position outside the table changes nothing.
void insertOrderEntry(TesselOrderList& orders, int position, std::optional<int32_t> value = std::nullopt);
