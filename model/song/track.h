#pragma once
// One channel's column of a pattern (or an instrument's key map): 256 row
// slots, of which only those in use hold a row object.

#include "model/song/row.h"

#include <array>
#include <cassert>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

constexpr int kMaxRows = 256;
constexpr int kMaxSubrows = 256;

// The number of subrow lines shown for a row: the pattern editor's speed at that row.
using TesselSpeedAtRow = std::function<int(int row)>;

// Subrow lines of a row kept to 1..256: a song speed below 1 would give
// empty loops, a huge one from a file unbounded subrow creation. Unset: 1.
int subrowsShown(const TesselSpeedAtRow& speedAtRow, int row);
// A timing list's speed (already plus 0.1) truncated to a count of 1..256.
int subrowCountFromSpeed(double speed);

struct TesselCellPosition {
    int row = 0;
    int subrow = 0;
    bool operator==(const TesselCellPosition&) const = default;
};

class TesselRowTable {
public:
    TesselRowTable() = default;
    TesselRowTable(const TesselRowTable&) = delete;
    TesselRowTable& operator=(const TesselRowTable&) = delete;

    int length() const { return length_; }
    // Frees the rows at or beyond n when shrinking; n is 0..256.
    void setLength(int n);
    // Frees every row; the length stays.
    void clear();
    bool isEmpty() const;
    void freeEmptyRows();
    void assign(const TesselRowTable& other);
    // Exchanges rows and lengths in constant time, allocating nothing.
    void swapRows(TesselRowTable& other) noexcept;
    // Clear flag: free the row in place. Subrow > 0: remove that subrow line.
    // Otherwise the later rows move up one slot and are renumbered.
    void deleteRow(TesselCellPosition position, bool clearOnly);

    // The row in slot i or null; i is 0..255.
    TesselRow* rowAt(int i) { return slot(i).get(); }
    const TesselRow* rowAt(int i) const { return const_cast<TesselRowTable*>(this)->slot(i).get(); }
    // The row in slot i, or the blank row; never creates one.
    const TesselRow& rowOrBlank(int i) const;
    // Frees the row in slot i.
    void freeRow(int i) { slot(i).reset(); }

protected:
    // Inline: the playing engine looks up a slot per channel on every tick.
    std::unique_ptr<TesselRow>& slot(int i)
    {
        assert(i >= 0 && i < kMaxRows);
        return rows_[static_cast<size_t>(i)];
    }

    std::array<std::unique_ptr<TesselRow>, kMaxRows> rows_;
    int16_t length_ = 0;
};

class TesselTrack : public TesselRowTable {
public:
    explicit TesselTrack(int32_t trackIndex = 0, int rowCount = 0) : index(trackIndex) { setLength(rowCount); }

    // Row i, created on first use; i is 0..255.
    TesselRow& getRow(int i);

    // At (row, subrow), count times: subrow 0 pushes the rows from there down
    // one slot (the last row is lost); a later subrow raises the numbers of
    // that row's further subrows from it on. Outside the rows: nothing.
    void insertRows(TesselCellPosition position, int count);

    // Region helpers of the pattern editor's block operations.
    void collectRows(std::vector<TesselSubrow*>& list, int start, int count);
    void collectSubrows(std::vector<TesselSubrow*>& list, int startRow, int startSubrow, int count,
                        const TesselSpeedAtRow& speedAtRow);
    int stepRows(std::vector<TesselSubrow*>& list, int start) const;
    TesselCellPosition stepCells(std::vector<TesselSubrow*>& list, int startRow, int startSubrow,
                                 const TesselSpeedAtRow& speedAtRow);

    // Document markup: a "track" element holding its non-empty rows.
    void writeXml(FILE* file) const;
    // Every row slot below the row count that holds a non-empty row, in order.
    void writeRows(FILE* file) const;
    // Frees the rows, takes "length" when given (0..256), then the rows whose
    // index lies inside the row count; false when the input ends first.
    bool readXml(TesselMemoryFile& buffer, const TesselElement& element);

    int32_t index;   // channel 0..63; -1 for an instrument's key map
};
