// Inserting and deleting blocks of rows across all 64 channels of the song
// in play order: the rows after the block move through the following
// patterns instead of staying inside the selected one.
#include "model/song/play_sequence.h"

#include "platform/status_text.h"

namespace {

bool isPattern(int p)
{
    return p >= 0 && p < kPatterns;
}

TesselPattern& patternAt(TesselModule& song, int p)
{
    return song.patterns[static_cast<size_t>(p)];
}

// Holds the song lock and the sequence's lock; released sequence first.
class BothLocks {
public:
    BothLocks(TesselPlaySequence& sequence, TesselModule& song)
        : sequence_(sequence.sequenceLock()), song_(song.songLock())
    {
        platform::waitBoth(song_, sequence_, platform::kWaitForever);
    }
    ~BothLocks()
    {
        sequence_.unlock();
        song_.unlock();
    }
    BothLocks(const BothLocks&) = delete;
    BothLocks& operator=(const BothLocks&) = delete;

private:
    platform::RecursiveTimedMutex& sequence_;
    platform::RecursiveTimedMutex& song_;
};

void freeRowInAllTracks(TesselPattern& pattern, int row)
{
    for (int c = 0; c < kChannels; ++c)
        if (TesselTrack* track = pattern.tracks.trackAt(c))
            track->freeRow(row);
}

// Entry `to` takes the rows of entry `from` in every channel; absent or empty
// source rows empty the target.
void copyEntryRows(TesselPlaySequence& sequence, TesselModule& song, int32_t to, int32_t from)
{
    const int g = sequence.patternOf(song.orderList, to);
    if (!isPattern(g))
        return;
    const int targetRow = sequence.sequenceRow(to).row;
    const int h = sequence.patternOf(song.orderList, from);
    const int sourceRow = sequence.sequenceRow(from).row;
    TesselPattern& target = patternAt(song, g);
    for (int c = 0; c < kChannels; ++c) {
        const TesselRow* source = isPattern(h) ? patternAt(song, h).findRow(c, sourceRow) : nullptr;
        if (source) {
            TesselRow& row = target.tracks.getTrack(c).getRow(targetRow);
            if (&row != source)
                row.assign(*source);
        } else if (TesselTrack* track = target.tracks.trackAt(c)) {
            track->freeRow(targetRow);
        }
    }
}

void freeEntryRows(TesselPlaySequence& sequence, TesselModule& song, int32_t i)
{
    const int g = sequence.patternOf(song.orderList, i);
    if (isPattern(g))
        freeRowInAllTracks(patternAt(song, g), sequence.sequenceRow(i).row);
}

// Renumbering keeps the patterns in order of use when one repeats; the
// pattern map tells the editor where its pattern went either way.
void settlePatternNumbers(TesselModule& song)
{
    if (song.orderList.hasRepeatedPattern()) {
        song.renumberPatterns();
        song.orderList.updateLength();
    } else {
        patternMap() = identityPatternMap();
    }
}

// The rows pushed off the song's end go to a fresh pattern on a new order
// entry; without one they are lost, and the status line says so.
void extendSong(TesselPlaySequence& sequence, TesselModule& song, int n)
{
    const int32_t last = sequence.sequenceRow(sequence.sequenceLength() - 1).order;
    const int32_t order = last + 1;
    const int e = order >= 0 && order < kOrderEntries ? TesselPattern::firstUnused(song, 0) : -1;
    if (e < 0) {
        platform::formatStatusText("%d rows moved off the end of the song were lost (no free pattern).", n);
        return;
    }
    TesselPattern& pattern = patternAt(song, e);
    if (pattern.length() < n)
        pattern.setLength(n);
    song.orderList.entries[static_cast<size_t>(order)].pattern = e;
    for (int r = 0; r < n; ++r)
        if (!sequence.appendSequenceRow(order, r))
            break;
}

// Whole rows of the song only: a selection over all channels, start above end refused.
bool acceptsSelection(const TesselSelection& selection)
{
    return selection.spansAllChannels() && selection.rowCount() > 0 && selection.pattern;
}

// The common start of both operations: both locks, then the play position p
// of the selection's first row (none refuses) and the pattern numbers
// settled; `move` (p, n) runs under the locks.
template <class Move>
bool runBlock(TesselPlaySequence& sequence, TesselModule& song, const TesselSelection& selection, Move move)
{
    if (!acceptsSelection(selection))
        return false;
    BothLocks locks(sequence, song);
    const int32_t p = sequence.findPatternRow(song.orderList, selection.pattern->index, selection.start.row);
    if (p < 0)
        return false;
    settlePatternNumbers(song);
    move(p, selection.rowCount());
    return true;
}

} // namespace

int TesselPlaySequence::patternOf(const TesselOrderList& orders, int32_t i) const
{
    const int32_t order = sequenceRow(i).order;
    if (order < 0 || order >= kOrderEntries)
        return -1;
    const int32_t p = orders.entries[static_cast<size_t>(order)].pattern;
    return isPattern(p) ? p : -1;
}

int32_t TesselPlaySequence::findPatternRow(const TesselOrderList& orders, int pattern, int row) const
{
    const int32_t n = sequenceLength();
    for (int32_t i = 0; i < n; ++i)
        if (sequenceRow(i).row == row && patternOf(orders, i) == pattern && pattern >= 0)
            return i;
    return -1;
}

bool insertSongRows(TesselPlaySequence& sequence, TesselModule& song, const TesselSelection& selection)
{
    if (sequence.sequenceLength() == 0)
        return false;
    return runBlock(sequence, song, selection, [&](int32_t p, int n) {
        extendSong(sequence, song, n);
        song.orderList.updateLength();
        for (int32_t i = sequence.sequenceLength() - 1; i >= p; --i) {
            if (i < p + n)
                freeEntryRows(sequence, song, i);
            else
                copyEntryRows(sequence, song, i, i - n);
        }
    });
}

bool deleteSongRows(TesselPlaySequence& sequence, TesselModule& song, TesselSelection& selection)
{
    return runBlock(sequence, song, selection, [&](int32_t p, int n) {
        const int32_t count = sequence.sequenceLength();
        for (int32_t i = p; i < count; ++i) {
            if (i < count - n)
                copyEntryRows(sequence, song, i, i + n);
            else
                freeEntryRows(sequence, song, i);
        }
        selection.active = 0;
    });
}
