#pragma once
// A timing list: the song, or one pattern, unrolled into the rows playback
// visits, with the speed on each row and the tempo changes. This holds the
// storage, its searches and copies; building from the song belongs to the engine.

#include "model/song/play_sequence.h"
#include "platform/system/mutex.h"

#include <cstdint>
#include <map>
#include <memory>

struct TesselPlaylistEntry {
    int16_t order = -1;   // order-entry index; -1 = none
    int16_t row = 0;
    double speed = 6.0;   // ticks per row in force
};

struct TesselTempoEntry {
    double tempo = 120.0;
    double startTime = 0.0;   // seconds from the start of the list
    int32_t nextChange = 0;   // entry index of the next tempo change; 0 = none
};

// Seconds that one row lasts. In speed mode a row of S ticks lasts S/6 of a
// row at speed 6, as the engine's rows-per-sample rate has it.
double rowSeconds(double tempo, double speed, int rowsPerQuarter, bool speedMode);

class TesselPlaylist : public TesselPlaySequence {
public:
    TesselPlaylist(int32_t capacity, double tempo, double speed);
    ~TesselPlaylist() override = default;
    TesselPlaylist(const TesselPlaylist&) = delete;
    TesselPlaylist& operator=(const TesselPlaylist&) = delete;

    void reset(double tempo, double speed);
    // Stores the entry unless the list is full; returns count.
    int32_t append(int order, int row, double speed);

    // The entry with that order index and row, or -1. The entry after the
    // last hit of this list is tried first.
    int32_t find(int order, int row) const;
    // The index just past the first run of entries of that order index at
    // or after `start`; count when there is none.
    int32_t endOfRun(int order, int32_t start) const;
    // The tempo entry in force at that entry index: the first one for an
    // index before all; {120, 0, 0} for an empty map.
    TesselTempoEntry tempoAt(int32_t index) const;
    // The entry index of the tempo entry in force (0 for an empty map).
    int32_t tempoIndexAt(int32_t index) const;
    // Seconds from the start of the list to the start of entry `index`.
    double timeAt(int32_t index, int rowsPerQuarter, bool speedMode) const;
    // As many entries as fit, the tempo map and the break row.
    void assign(const TesselPlaylist& other);
    // Keeps the first n entries and the tempo changes before n; later
    // entries return to {-1, 0, speed}.
    void cutBack(int32_t n);
    // Exchanges entries, tempo map and break row with another list in
    // constant time, allocating and freeing nothing; each keeps its mutex.
    void exchange(TesselPlaylist& other) noexcept;

    // Song-row block operations on the song's list (editor thread; waits
    // without limit for the song lock and this list's mutex together).
    bool insertSongRows(TesselModule& song, const TesselSelection& selection)
    {
        return ::insertSongRows(*this, song, selection);
    }
    bool deleteSongRows(TesselModule& song, TesselSelection& selection)
    {
        return ::deleteSongRows(*this, song, selection);
    }

    // The play sequence seen by the song model.
    int32_t sequenceLength() const override { return count; }
    TesselSequenceRow sequenceRow(int32_t i) const override;
    bool appendSequenceRow(int32_t order, int32_t row) override;
    platform::RecursiveTimedMutex& sequenceLock() override { return *mutex_; }

    platform::RecursiveTimedMutex& lock() { return *mutex_; }
    TesselPlaylistEntry* entries() { return entries_.get(); }
    const TesselPlaylistEntry* entries() const { return entries_.get(); }

    std::map<int32_t, TesselTempoEntry> tempoMap;
    int32_t startRow = 0;
    int32_t count = 0;
    int32_t capacity = 0;

private:
    void fillEntries(double speed);   // every entry empty, of that speed
    void resetTimes(double tempo);    // no rows, one tempo from the start

    std::unique_ptr<TesselPlaylistEntry[]> entries_;
    platform::SharedMutex mutex_;
    mutable int32_t findCache_ = -1;
};
