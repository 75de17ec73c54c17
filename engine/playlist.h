#pragma once
// A timing list: the song, or one pattern, unrolled into the rows playback
// visits, with the speed on each row and the tempo changes. This holds the
// storage and its reset; building from the song belongs to the engine.

#include "platform/mutex.h"

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

class TesselPlaylist {
public:
    TesselPlaylist(int32_t capacity, double tempo, double speed);
    ~TesselPlaylist() = default;
    TesselPlaylist(const TesselPlaylist&) = delete;
    TesselPlaylist& operator=(const TesselPlaylist&) = delete;

    void reset(double tempo, double speed);
    // Stores the entry unless the list is full; returns count.
    int32_t append(int order, int row, double speed);

    platform::RecursiveTimedMutex& lock() { return *mutex_; }
    TesselPlaylistEntry* entries() { return entries_.get(); }

    std::map<int32_t, TesselTempoEntry> tempoMap;
    int32_t startRow = 0;
    int32_t count = 0;
    int32_t capacity = 0;

private:
    std::unique_ptr<TesselPlaylistEntry[]> entries_;
    platform::SharedMutex mutex_;
};
