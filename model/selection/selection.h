#pragma once
// The selected region of a pattern grid (channels by rows) and the region
// operations of the pattern editor: clear, set, transpose, amplify,
// interpolate, double, halve, row copies and swaps. The song-row block
// operations read its channels, rows, active flag and pattern.
//
// Editor thread. None of these takes the song lock or records undo: the
// command handler does both around them. Messages go to the status line.

#include "model/song/track.h"

#include <cstdint>
#include <functional>
#include <span>

class TesselPattern;
class TesselSample;
class TesselClipboard;

struct TesselGridPosition {
    int16_t channel = 0;
    int16_t column = 0;   // 0..8 within the channel
    int16_t row = 0;
    int16_t subrow = 0;
    bool operator==(const TesselGridPosition&) const = default;
};

// Subrow lines the editor shows for a row of a pattern: its speed there
// (the pattern's timing list, else the song's speed).
using TesselPatternSpeed = std::function<int(const TesselPattern& pattern, int row)>;

// Field masks; every operation takes exactly one.
enum TesselFieldMask : uint8_t {
    kFieldCell = 1,
    kFieldPitch = 2,
    kFieldInstrument = 4,
    kFieldVolume = 8,
    kFieldPanning = 16,
    kFieldDepth = 32,
    kFieldEffect = 64,
};

// How copyRowsTo treats each target row.
enum TesselPasteMode : int {
    kPasteOverwrite = 0,   // the target row becomes a copy
    kPasteFillGaps = 1,    // only its empty fields and missing subrows are filled
    kPasteMix = 2,         // copied only onto a row that holds nothing at all
};

constexpr int kColumnsPerChannel = 9;
constexpr int kLastChannel = 63;

struct TesselSelection {
    // Region record. Each setter ends by normalising.
    void setStart(TesselGridPosition position);
    void setEnd(TesselGridPosition position);
    // Marking: start at the anchor, end at the position.
    void extendTo(TesselGridPosition position);
    void begin(TesselPattern* regionPattern, TesselGridPosition position);
    void select(TesselPattern* regionPattern, TesselGridPosition from, TesselGridPosition to);
    // Whole rows and whole channels inside the pattern, start before end;
    // inactive when nothing of it lies inside. Returns the start channel.
    int normalise();
    bool contains(TesselGridPosition position) const;

    // Rows from start to end inclusive when active, else 0.
    int rowCount() const { return active ? end.row - start.row + 1 : 0; }
    bool spansAllChannels() const;
    // Subrow lines of a row of the region's pattern, 1..256.
    int subrowCount(int row) const;
    // Cells of one channel of the region: every shown subrow of its rows up
    // to the end subrow; 0 when inactive.
    int cellCount() const;
    // The last cell covered by the region's cell count plus n cells counted
    // from subrow 0 of startRow, bounded by the pattern's length.
    TesselCellPosition positionAfter(int startRow, int n) const;
    // Positions, flags and pattern all equal.
    bool sameRegion(const TesselSelection& other) const;

    // Region operations on the region's pattern; inactive: nothing.
    void clear(uint8_t mask, bool orphansOnly);
    // On each row's own subrow only.
    void setField(uint8_t mask, int32_t value, bool orphansOnly);
    // Empty volumes read the sample numbered like the cell's instrument.
    void transpose(uint8_t mask, int32_t amount, std::span<const TesselSample> samples);
    void amplify(uint8_t mask, float factor, std::span<const TesselSample> samples);
    // Between the first and the last row; fewer than 3 rows: nothing.
    void interpolate(uint8_t mask);
    // Both move the region's end.
    void doubleLength();
    void halveLength();
    // Whole rows to the target block at `at`; returns the block's end.
    TesselGridPosition copyRowsTo(TesselPattern& target, TesselGridPosition at, bool insert, int mode) const;
    // Exchanges the region with the block at `at`; the region moves there.
    bool swapWith(TesselPattern& target, TesselGridPosition at);
    void cutTo(TesselClipboard& clipboard);

    TesselGridPosition start;
    TesselGridPosition end;
    uint8_t active = 0;
    uint8_t marking = 0;    // drawn from the anchor (begin), not by select
    uint8_t dragging = 0;   // the editor's drag state
    TesselPattern* pattern = nullptr;   // not owned
    TesselGridPosition anchor;
    TesselPatternSpeed speeds;          // unset: one subrow per row
};
