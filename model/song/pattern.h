#pragma once
// A numbered block of rows over the 64 channels.

#include "model/song/track.h"

#include <array>
#include <cassert>
#include <cstdint>
#include <memory>
#include <string>

class TesselModule;

constexpr int kChannels = 64;
constexpr int kPatterns = 200;
constexpr int kPatternLabelSize = 4;   // 3 characters and the terminator

// Set by the song reset from its rows per quarter note; process-wide.
struct TesselPatternDefaults {
    int length = 64;
    int majorStep = 16;
    int minorStep = 4;
};
// What every new pattern takes: a process-wide value kept with the model's
// others (model/model_globals.h).
TesselPatternDefaults& patternDefaults();

class TesselTrackTable {
public:
    TesselTrackTable() = default;
    TesselTrackTable(const TesselTrackTable&) = delete;
    TesselTrackTable& operator=(const TesselTrackTable&) = delete;

    int length() const { return length_; }
    void setLength(int n);   // every existing track follows

    // Track i, created on first use with the pattern's length; i is 0..63.
    TesselTrack& getTrack(int i);
    TesselTrack* trackAt(int i) { return slot(i).get(); }
    const TesselTrack* trackAt(int i) const { return const_cast<TesselTrackTable*>(this)->slot(i).get(); }

    void assign(const TesselTrackTable& other);
    // Track i becomes a copy of the other's track i (none when it has none).
    void assignTrack(int i, const TesselTrackTable& other);
    // Exchanges tracks and lengths (the song's renumbering moves whole patterns).
    void swap(TesselTrackTable& other) noexcept;
    bool isEmpty() const;
    void freeEmptyTracks();
    void clear();

private:
    // Inline: the playing engine looks up a track per channel on every row and tick.
    std::unique_ptr<TesselTrack>& slot(int i)
    {
        assert(i >= 0 && i < kChannels);
        return tracks_[static_cast<size_t>(i)];
    }

    std::array<std::unique_ptr<TesselTrack>, kChannels> tracks_;
    int32_t length_ = 0;
};

class TesselPattern {
public:
    TesselPattern() { reset(patternDefaults().length); }
    TesselPattern(const TesselPattern&) = delete;
    TesselPattern& operator=(const TesselPattern&) = delete;

    void reset(int length);
    void assign(const TesselPattern& other);
    // Label, steps and length, with no tracks yet; the index stays.
    void assignOutline(const TesselPattern& other);
    // Exchanges every field, the index included.
    void swap(TesselPattern& other) noexcept;
    void setLength(int n) { tracks.setLength(n); }
    int length() const { return tracks.length(); }

    // The row when it exists, its track is not empty and the row is not empty.
    const TesselRow* findRow(int track, int row) const;
    void deleteRow(TesselCellPosition position, bool clearOnly);
    // One row (or subrow) inserted at the position in every existing track.
    void insertRow(TesselCellPosition position);

    // The label, or the number as "%03d" when there is none or a number is asked for.
    std::string displayLabel(bool asNumber) const;
    void setLabel(const char* text);   // cut to 3 characters
    // All tracks empty, steps and length at the defaults, no label.
    bool isUnused() const;
    // The first pattern number from `from` to 199 that is unused and not in
    // the order list; -1 when none.
    static int firstUnused(const TesselModule& song, int from);

    // Document markup: a "pattern" element with one "track" per non-empty track.
    void writeXml(FILE* file) const;
    // Reads "index" (outside 0..199 it becomes -1), resets to the current
    // default length and steps, then the attributes and tracks; false when
    // the input ends first.
    bool readXml(TesselMemoryFile& buffer, const TesselElement& element);
    // Empty, 64 rows, steps 16 and 4, no label: the document leaves it out
    // whatever the song's defaults are.
    bool isLeftOutOfDocument() const;

    int32_t index = 0;
    TesselTrackTable tracks;
    int32_t majorStep = 16;
    int32_t minorStep = 4;
    char label[kPatternLabelSize] = {};
};
