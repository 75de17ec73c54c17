#include "engine/timing/playlist.h"

#include <cstdio>
#include <new>
#include <utility>

TesselPlaylist::TesselPlaylist(int32_t capacity_, double tempo, double speed)
    : entries_(new (std::nothrow) TesselPlaylistEntry[capacity_ > 0 ? capacity_ : 1])
{
    capacity = entries_ && capacity_ > 0 ? capacity_ : 0;
    char name[64];
    std::snprintf(name, sizeof name, "QB_PLAYLIST_%p", static_cast<void*>(this));
    mutex_ = platform::openNamedMutex(name);
    // The entries were made with the default speed; written again only for
    // another (a song list holds 100000 of them).
    if (speed != TesselPlaylistEntry{}.speed)
        fillEntries(speed);
    resetTimes(tempo);
}

void TesselPlaylist::reset(double tempo, double speed)
{
    fillEntries(speed);
    resetTimes(tempo);
}

void TesselPlaylist::fillEntries(double speed)
{
    for (int32_t i = 0; i < capacity; ++i)
        entries_[i] = TesselPlaylistEntry{-1, 0, speed};
}

void TesselPlaylist::resetTimes(double tempo)
{
    startRow = 0;
    count = 0;
    tempoMap.clear();
    tempoMap[0] = TesselTempoEntry{tempo, 0.0, 0};
    findCache_ = -1;
}

int32_t TesselPlaylist::append(int order, int row, double speed)
{
    if (count < capacity)
        entries_[count++] = TesselPlaylistEntry{static_cast<int16_t>(order), static_cast<int16_t>(row), speed};
    return count;
}

void TesselPlaylist::exchange(TesselPlaylist& other) noexcept
{
    entries_.swap(other.entries_);
    tempoMap.swap(other.tempoMap);
    std::swap(startRow, other.startRow);
    std::swap(count, other.count);
    std::swap(capacity, other.capacity);
    std::swap(findCache_, other.findCache_);
}
