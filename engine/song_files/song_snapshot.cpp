// The copy is taken in turns: the settings and channels, each sample, each
// instrument and each track of each pattern under a take of the song lock
// of its own, so that the audio thread never waits for more than one of
// them. The song lock counts every take that may change the song (the audio
// thread's playing only reads it): when that count moved between two turns,
// the copy could mix two versions of the song and starts again. Edits that
// keep coming between turns (a save from a thread other than the editor's)
// are met after a few tries by one take for the whole copy.
#include "engine/song_files/song_snapshot.h"

#include "model/song/module.h"

namespace {

constexpr int kCopiesInTurns = 3;

enum class Pass { kDone, kChanged, kNoLock };

class Turns {
public:
    Turns(platform::RecursiveTimedMutex& mutex, uint32_t lockWaitMs) : mutex_(mutex), lockWaitMs_(lockWaitMs) {}

    // Runs `part` under a take of its own, unless the song may have changed
    // since the first turn or an earlier turn failed.
    template <class Part>
    void take(Part part)
    {
        if (pass_ != Pass::kDone)
            return;
        platform::MutexLock lock(mutex_, lockWaitMs_, platform::LockUse::kReadOnly);
        if (!lock) {
            pass_ = Pass::kNoLock;
            return;
        }
        if (!started_) {
            seen_ = mutex_.changingTakes();
            started_ = true;
        } else if (mutex_.changingTakes() != seen_) {
            pass_ = Pass::kChanged;
            return;
        }
        part();
    }
    Pass pass() const { return pass_; }

private:
    platform::RecursiveTimedMutex& mutex_;
    const uint32_t lockWaitMs_;
    Pass pass_ = Pass::kDone;
    bool started_ = false;
    uint64_t seen_ = 0;
};

Pass copyInTurns(TesselModule& song, TesselModule& copy, uint32_t lockWaitMs, bool& whole)
{
    Turns turns(song.songLock(), lockWaitMs);
    whole = true;
    turns.take([&] { copy.copyOutlineFrom(song); });
    for (size_t i = 0; i < song.samples.size(); ++i)
        turns.take([&] { whole = copy.copySampleFrom(song, i) && whole; });
    for (size_t i = 0; i < song.instruments.size(); ++i)
        turns.take([&] { copy.copyInstrumentFrom(song, i); });
    for (size_t p = 0; p < song.patterns.size(); ++p) {
        const TesselPattern& theirs = song.patterns[p];
        TesselPattern& mine = copy.patterns[p];
        for (int track = 0; track < kChannels; ++track)
            turns.take([&] {
                if (track == 0) {
                    mine.index = theirs.index;
                    mine.assignOutline(theirs);
                }
                mine.tracks.assignTrack(track, theirs.tracks);
            });
    }
    return turns.pass();
}

} // namespace

TesselSnapshotResult snapshotSong(TesselModule& song, TesselModule& copy, uint32_t lockWaitMs)
{
    bool whole = true;
    for (int attempt = 0; attempt < kCopiesInTurns; ++attempt) {
        switch (copyInTurns(song, copy, lockWaitMs, whole)) {
        case Pass::kDone: return whole ? TesselSnapshotResult::kWhole : TesselSnapshotResult::kSamplesShort;
        case Pass::kNoLock: return TesselSnapshotResult::kNoLock;
        case Pass::kChanged: break;
        }
    }
    platform::MutexLock lock(song.songLock(), lockWaitMs, platform::LockUse::kReadOnly);
    if (!lock)
        return TesselSnapshotResult::kNoLock;
    return copy.copySongFrom(song) ? TesselSnapshotResult::kWhole : TesselSnapshotResult::kSamplesShort;
}
