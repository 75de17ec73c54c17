#include "engine/playlist.h"

#include <cstdio>
#include <new>

TesselPlaylist::TesselPlaylist(int32_t capacity_, double tempo, double speed)
    : entries_(new (std::nothrow) TesselPlaylistEntry[capacity_ > 0 ? capacity_ : 1])
{
    capacity = entries_ && capacity_ > 0 ? capacity_ : 0;
    char name[64];
    std::snprintf(name, sizeof name, "QB_PLAYLIST_%p", static_cast<void*>(this));
    mutex_ = platform::openNamedMutex(name);
    reset(tempo, speed);
}

void TesselPlaylist::reset(double tempo, double speed)
{
    startRow = 0;
    count = 0;
    for (int32_t i = 0; i < capacity; ++i)
        entries_[i] = TesselPlaylistEntry{-1, 0, speed};
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
