// Searches, copies and row times of a timing list.
#include "engine/timing/playlist.h"

#include <algorithm>
#include <iterator>

double rowSeconds(double tempo, double speed, int rowsPerQuarter, bool speedMode)
{
    const double quarterRows = static_cast<double>(std::max(rowsPerQuarter, 1)) * (tempo > 0.0 ? tempo : 120.0);
    const double seconds = 60.0 / quarterRows;
    return speedMode && speed > 0.0 ? seconds * speed / 6.0 : seconds;
}

int32_t TesselPlaylist::find(int order, int row) const
{
    const auto matches = [&](int32_t i) { return entries_[i].order == order && entries_[i].row == row; };
    const int32_t next = findCache_ + 1;
    if (findCache_ >= 0 && next < count && matches(next)) {
        findCache_ = next;
        return next;
    }
    for (int32_t i = 0; i < count; ++i)
        if (matches(i)) {
            findCache_ = i;
            return i;
        }
    findCache_ = -1;
    return -1;
}

int32_t TesselPlaylist::endOfRun(int order, int32_t start) const
{
    int32_t i = std::max(start, 0);
    while (i < count && entries_[i].order != order)
        ++i;
    if (i >= count)
        return count;
    while (i < count && entries_[i].order == order)
        ++i;
    return i;
}

int32_t TesselPlaylist::tempoIndexAt(int32_t index) const
{
    if (tempoMap.empty())
        return 0;
    auto it = tempoMap.upper_bound(index);
    return it == tempoMap.begin() ? it->first : std::prev(it)->first;
}

TesselTempoEntry TesselPlaylist::tempoAt(int32_t index) const
{
    if (tempoMap.empty())
        return TesselTempoEntry{};
    return tempoMap.at(tempoIndexAt(index));
}

double TesselPlaylist::timeAt(int32_t index, int rowsPerQuarter, bool speedMode) const
{
    const TesselTempoEntry tempo = tempoAt(index);
    double seconds = tempo.startTime;
    const int32_t from = std::max(tempoIndexAt(index), 0);
    for (int32_t i = from; i < index; ++i) {
        const double speed = i < count ? entries_[i].speed : (count > 0 ? entries_[count - 1].speed : 6.0);
        seconds += rowSeconds(tempo.tempo, speed, rowsPerQuarter, speedMode);
    }
    return seconds;
}

void TesselPlaylist::assign(const TesselPlaylist& other)
{
    if (&other == this)
        return;
    count = std::min(other.count, capacity);
    // An empty copy has no row to continue at.
    startRow = std::max(0, std::min(count - 1, other.startRow));
    std::copy(other.entries_.get(), other.entries_.get() + count, entries_.get());
    tempoMap = other.tempoMap;
    findCache_ = -1;
}

void TesselPlaylist::cutBack(int32_t n)
{
    n = std::clamp(n, 0, count);
    const double speed = n > 0 ? entries_[n - 1].speed : 6.0;
    for (int32_t i = n; i < count; ++i)
        entries_[i] = TesselPlaylistEntry{-1, 0, speed};
    count = n;
    findCache_ = -1;
    // The changes at or after the cut are rebuilt with the rows; the first
    // entry stays so that the list keeps a tempo.
    for (auto it = tempoMap.begin(); it != tempoMap.end();) {
        if (it->first >= n && it != tempoMap.begin())
            it = tempoMap.erase(it);
        else
            ++it;
    }
    for (auto& [index, entry] : tempoMap)
        if (entry.nextChange >= n)
            entry.nextChange = 0;
}

TesselSequenceRow TesselPlaylist::sequenceRow(int32_t i) const
{
    if (i < 0 || i >= count)
        return TesselSequenceRow{};
    return TesselSequenceRow{entries_[i].order, entries_[i].row};
}

bool TesselPlaylist::appendSequenceRow(int32_t order, int32_t row)
{
    if (count >= capacity)
        return false;
    const double speed = count > 0 ? entries_[count - 1].speed : 6.0;
    append(order, row, speed);
    return true;
}
