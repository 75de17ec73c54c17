#pragma once
// Timing lists built from a given song: the engine's own (its rebuilds) or
// one that is about to take its place. A load builds the new song's lists
// apart, with no lock, and the engine exchanges them with its own in
// constant time under the song lock.

#include "engine/timing/playlist.h"
#include "model/song/module.h"

#include <array>
#include <cstdint>
#include <memory>

constexpr int kSongTimingCapacity = 100000;
constexpr int kPatternTimingCapacity = 500;

// What one pattern's rows leave to the song's walk.
struct TesselPatternTiming {
    int32_t jump = -1;       // order entry to continue at; -1 = none
    int32_t breakRow = -1;   // row of a break command; -1 = none
    double speed = 6.0;      // speed at the end of the pattern
};

// Appends the pattern's rows, resolving speed, tempo, loops, jumps and breaks.
TesselPatternTiming buildPatternTiming(const TesselModule& song, const TesselPattern& pattern, TesselPlaylist& list,
                                       int order);
// Appends the song's rows from order entry `order` on, at `speed` until the
// first speed change.
void buildSongTiming(const TesselModule& song, TesselPlaylist& list, int32_t order, double speed);
// The list emptied, then the pattern's own rows from row 0, continuing past
// its end at the row of its break.
void buildPatternList(const TesselModule& song, TesselPlaylist& list, int pattern);

// The song's list and its patterns' lists, built whole for a song that is
// not the engine's yet (any thread, no lock: nobody else sees either).
struct TesselTimingLists {
    explicit TesselTimingLists(const TesselModule& song);
    TesselTimingLists(const TesselTimingLists&) = delete;
    TesselTimingLists& operator=(const TesselTimingLists&) = delete;

    TesselPlaylist song{kSongTimingCapacity, 120.0, 6.0};
    std::array<std::unique_ptr<TesselPlaylist>, kPatterns> patterns;
};

// While it lives, no rebuild of the engine's timing lists runs: it holds the
// process-wide scratch lists' mutexes (waiting without limit, as the
// rebuilds do), which every rebuild holds from its first read of the song to
// its last write of a list. Taken before the song lock.
class TesselRebuildPause {
public:
    explicit TesselRebuildPause(const TesselModule& song);

private:
    platform::MutexLock song_;
    platform::MutexLock pattern_;
    platform::MutexLock allPatterns_;
};
