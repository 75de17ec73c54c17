// Rebuilding the song's and the patterns' timing lists. Each rebuild works
// in a process-wide scratch list under the scratch's own mutex and copies
// the result in under the song lock, so the audio thread never sees a list
// half built. Lock order: scratch mutex, then song lock. A whole new song
// brings lists of its own (timing_lists.cpp) and pauses the rebuilds while
// they are exchanged.
#include "engine/engine.h"

#include <algorithm>

namespace {

// Rebuilding every pattern's list takes the song lock once per pattern,
// each take waiting a tenth of an edit's wait.
constexpr uint32_t kBulkCopyShare = 10;
constexpr int kEmptyOrderRows = 64;

enum class Scratch { Song, Pattern, AllPatterns };

// Made on first use with the song's tempo and speed; they live until the
// library unloads.
TesselPlaylist& scratchList(Scratch which, const TesselModule& song)
{
    static TesselPlaylist songScratch(kSongTimingCapacity, song.tempo, song.resolution);
    static TesselPlaylist patternScratch(kPatternTimingCapacity, song.tempo, song.resolution);
    static TesselPlaylist bulkScratch(kPatternTimingCapacity, song.tempo, song.resolution);
    switch (which) {
    case Scratch::Song:
        return songScratch;
    case Scratch::Pattern:
        return patternScratch;
    default:
        return bulkScratch;
    }
}

// Copies the scratch into the engine's list; a time-out keeps the old list.
// False when the song lock was not had in time and the list stayed as it was.
bool publish(TesselModule& song, TesselPlaylist& target, const TesselPlaylist& scratch, bool callerHoldsLock,
             uint32_t waitMs)
{
    if (callerHoldsLock) {
        target.assign(scratch);
        return true;
    }
    platform::MutexLock lock(song.songLock(), waitMs);
    if (lock)
        target.assign(scratch);
    return static_cast<bool>(lock);
}

bool isPatternNumber(int32_t p)
{
    return p >= 0 && p < kPatterns;
}

} // namespace

void buildPatternList(const TesselModule& song, TesselPlaylist& list, int pattern)
{
    list.reset(song.tempo, song.resolution);
    const TesselPatternTiming result = buildPatternTiming(song, song.patterns[static_cast<size_t>(pattern)], list, -1);
    list.startRow = result.breakRow >= 0 ? result.breakRow : 0;
}

void buildSongTiming(const TesselModule& song, TesselPlaylist& list, int32_t order, double speed)
{
    const TesselOrderList& orders = song.orderList;
    while (order >= 0 && order < std::min(orders.length, kOrderEntries) && list.count < list.capacity) {
        const int32_t p = orders.entries[static_cast<size_t>(order)].pattern;
        if (p == kOrderEnd)
            break;
        if (p == kOrderEmpty) {
            for (int r = 0; r < kEmptyOrderRows; ++r)
                list.append(order, 0, speed);
            ++order;
            continue;
        }
        if (!isPatternNumber(p)) {
            ++order;
            continue;
        }
        const TesselPatternTiming result = buildPatternTiming(song, song.patterns[static_cast<size_t>(p)], list, order);
        speed = result.speed;
        // A break does not move the next pattern's start: each is read from row 0.
        order = result.jump >= 0 ? result.jump : order + 1;
    }
}

TesselRebuildPause::TesselRebuildPause(const TesselModule& song)
    : song_(scratchList(Scratch::Song, song).lock(), platform::kWaitForever),
      pattern_(scratchList(Scratch::Pattern, song).lock(), platform::kWaitForever),
      allPatterns_(scratchList(Scratch::AllPatterns, song).lock(), platform::kWaitForever)
{
}

void TesselEngine::rebuildSongPlaylist(const TesselPlayPosition* from, bool callerHoldsLock)
{
    TesselPlaylist& scratch = scratchList(Scratch::Song, song);
    platform::MutexLock scratchLock(scratch.lock(), platform::kWaitForever);

    // Every writer of the song's list holds this scratch's mutex, so it can
    // be read here without the song lock.
    int32_t order = 0;
    double speed = song.resolution;
    int32_t cut = 0;
    if (from && from->entry >= 0 && from->entry < songTiming.count) {
        const TesselPlaylistEntry* entries = songTiming.entries();
        order = entries[from->entry].order;
        cut = from->entry;
        while (cut > 0 && entries[cut - 1].order == order)
            --cut;
        speed = entries[cut].speed;
    }
    if (cut > 0 && order >= 0) {
        scratch.assign(songTiming);
        scratch.cutBack(cut);
    } else {
        scratch.reset(song.tempo, song.resolution);
        order = 0;
        speed = song.resolution;
    }
    buildSongTiming(song, scratch, order, speed);
    publish(song, songTiming, scratch, callerHoldsLock, editLockWaitMs);
}

void TesselEngine::rebuildPatternPlaylist(int pattern, bool callerHoldsLock)
{
    if (!isPatternNumber(pattern) || !patternTiming[static_cast<size_t>(pattern)])
        return;
    TesselPlaylist& scratch = scratchList(Scratch::Pattern, song);
    platform::MutexLock scratchLock(scratch.lock(), platform::kWaitForever);
    buildPatternList(song, scratch, pattern);
    publish(song, *patternTiming[static_cast<size_t>(pattern)], scratch, callerHoldsLock, editLockWaitMs);
}

void TesselEngine::rebuildPatternPlaylists(bool callerHoldsLock)
{
    TesselPlaylist& scratch = scratchList(Scratch::AllPatterns, song);
    platform::MutexLock scratchLock(scratch.lock(), platform::kWaitForever);
    // Once the lock was refused, the others only try it: a lock held
    // elsewhere would otherwise cost the editor a wait per pattern, 20 s in
    // all.
    uint32_t waitMs = editLockWaitMs / kBulkCopyShare;
    for (int p = 0; p < kPatterns; ++p) {
        TesselPlaylist* target = patternTiming[static_cast<size_t>(p)].get();
        if (!target)
            continue;
        buildPatternList(song, scratch, p);
        if (!publish(song, *target, scratch, callerHoldsLock, waitMs))
            waitMs = 0;
    }
}

double TesselEngine::speedAtRow(int pattern, int row) const
{
    if (isPatternNumber(pattern))
        if (const TesselPlaylist* list = patternTiming[static_cast<size_t>(pattern)].get())
            for (int32_t i = 0; i < list->count; ++i)
                if (list->entries()[i].row == row)
                    return list->entries()[i].speed + 0.1;
    return song.resolution + 0.1;
}
