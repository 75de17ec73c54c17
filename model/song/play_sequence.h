#pragma once
// The song's rows in play order, as the song's timing list holds them. The
// song model edits rows through this view; the engine's timing list
// implements it.

#include "model/selection/selection.h"
#include "model/song/module.h"
#include "platform/system/mutex.h"

#include <cstdint>

struct TesselSequenceRow {
    int32_t order = -1;   // order-list index; -1 = none
    int32_t row = 0;
};

class TesselPlaySequence {
public:
    virtual ~TesselPlaySequence() = default;

    virtual int32_t sequenceLength() const = 0;
    virtual TesselSequenceRow sequenceRow(int32_t i) const = 0;
    // Appends a row whose other fields copy the last one; false when full.
    virtual bool appendSequenceRow(int32_t order, int32_t row) = 0;
    virtual platform::RecursiveTimedMutex& sequenceLock() = 0;

    // The first entry at that row whose order entry holds that pattern; -1 when none.
    int32_t findPatternRow(const TesselOrderList& orders, int pattern, int row) const;
    // The pattern of entry i's order entry, or -1 for none, an empty entry
    // or a marker.
    int patternOf(const TesselOrderList& orders, int32_t i) const;
};

// Editor thread; wait without limit for the song lock and the sequence's lock
// together. True when the rows moved; the caller then rebuilds the timing
// lists. Refused unless the selection is active over all 64 channels and its
// start row is played by some order entry.
bool insertSongRows(TesselPlaySequence& sequence, TesselModule& song, const TesselSelection& selection);
// Also clears the selection's active flag.
bool deleteSongRows(TesselPlaySequence& sequence, TesselModule& song, TesselSelection& selection);
