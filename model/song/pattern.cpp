#include "model/song/pattern.h"

#include "model/song/module.h"

#include <algorithm>
#include <cassert>
#include <cstdio>

void TesselTrackTable::setLength(int n)
{
    n = std::clamp(n, 0, kMaxRows);
    length_ = n;
    for (auto& track : tracks_)
        if (track)
            track->setLength(n);
}

TesselTrack& TesselTrackTable::getTrack(int i)
{
    auto& track = slot(i);
    if (!track)
        track = std::make_unique<TesselTrack>(i, length_);
    return *track;
}

void TesselTrackTable::assign(const TesselTrackTable& other)
{
    length_ = other.length_;
    for (int i = 0; i < kChannels; ++i)
        assignTrack(i, other);
}

void TesselTrackTable::assignTrack(int i, const TesselTrackTable& other)
{
    auto& mine = slot(i);
    const auto& theirs = other.tracks_[static_cast<size_t>(i)];
    if (!theirs) {
        mine.reset();
        return;
    }
    if (mine)
        mine->clear();
    else
        mine = std::make_unique<TesselTrack>(i);
    mine->assign(*theirs);
}

void TesselTrackTable::swap(TesselTrackTable& other) noexcept
{
    tracks_.swap(other.tracks_);
    std::swap(length_, other.length_);
}

bool TesselTrackTable::isEmpty() const
{
    return std::all_of(tracks_.begin(), tracks_.end(), [](const auto& t) { return !t || t->isEmpty(); });
}

void TesselTrackTable::freeEmptyTracks()
{
    for (auto& track : tracks_) {
        if (!track)
            continue;
        if (track->isEmpty())
            track.reset();
        else
            track->freeEmptyRows();
    }
}

void TesselTrackTable::clear()
{
    for (auto& track : tracks_)
        track.reset();
}

void TesselPattern::reset(int length)
{
    majorStep = patternDefaults().majorStep;
    minorStep = patternDefaults().minorStep;
    tracks.clear();
    tracks.setLength(length);
    label[0] = '\0';
}

void TesselPattern::assign(const TesselPattern& other)
{
    assignOutline(other);
    tracks.assign(other.tracks);
}

void TesselPattern::assignOutline(const TesselPattern& other)
{
    reset(other.length());
    std::copy(std::begin(other.label), std::end(other.label), label);
    label[kPatternLabelSize - 1] = '\0';
    majorStep = other.majorStep;
    minorStep = other.minorStep;
}

void TesselPattern::swap(TesselPattern& other) noexcept
{
    std::swap(index, other.index);
    tracks.swap(other.tracks);
    std::swap(majorStep, other.majorStep);
    std::swap(minorStep, other.minorStep);
    std::swap(label, other.label);
}

const TesselRow* TesselPattern::findRow(int track, int row) const
{
    if (track < 0 || track >= kChannels || row < 0 || row >= kMaxRows)
        return nullptr;
    const TesselTrack* t = tracks.trackAt(track);
    if (!t)
        return nullptr;
    const TesselRow* r = t->rowAt(row);
    if (!r || r->isEmpty())
        return nullptr;
    // A non-empty row inside the length already makes its track non-empty;
    // only a row left beyond the length needs the whole track looked at
    // (the playing engine asks this for many channels on every tick).
    return (row < t->length() || !t->isEmpty()) ? r : nullptr;
}

void TesselPattern::deleteRow(TesselCellPosition position, bool clearOnly)
{
    for (int i = 0; i < kChannels; ++i)
        if (TesselTrack* t = tracks.trackAt(i))
            t->deleteRow(position, clearOnly);
}

void TesselPattern::insertRow(TesselCellPosition position)
{
    for (int i = 0; i < kChannels; ++i)
        if (TesselTrack* t = tracks.trackAt(i))
            t->insertRows(position, 1);
}

std::string TesselPattern::displayLabel(bool asNumber) const
{
    if (label[0] != '\0' && !asNumber)
        return label;
    char number[16];
    std::snprintf(number, sizeof number, "%03d", index);
    return number;
}

void TesselPattern::setLabel(const char* text)
{
    std::snprintf(label, sizeof label, "%s", text ? text : "");
}

bool TesselPattern::isUnused() const
{
    const TesselPatternDefaults& d = patternDefaults();
    return tracks.isEmpty() && length() == d.length && majorStep == d.majorStep && minorStep == d.minorStep &&
           label[0] == '\0';
}

int TesselPattern::firstUnused(const TesselModule& song, int from)
{
    for (int p = std::max(from, 0); p < kPatterns; ++p)
        if (song.patterns[static_cast<size_t>(p)].isUnused() && !song.orderList.contains(p))
            return p;
    return -1;
}
