// Putting a whole song in place: a load, an import, a chunk, a new song or a
// file browser's preview. The audio thread must never wait on it longer than
// on an ordinary edit, so all that grows with the song is done apart: before
// the song lock on the new song, which nobody else sees yet (its timing
// lists, its empty tracks), or after it (the old song freed, the editor
// refreshed). Under the lock only records of a fixed size change hands.
#include "engine/engine.h"
#include "engine/midi/midi_out.h"

#include <chrono>
#include <cstring>
#include <optional>

namespace {

// Writes the time from its making to its end into `seconds`.
class LockHoldTimer {
public:
    explicit LockHoldTimer(std::atomic<double>& seconds) : seconds_(seconds) {}
    ~LockHoldTimer()
    {
        const std::chrono::duration<double> held = std::chrono::steady_clock::now() - start_;
        seconds_.store(held.count(), std::memory_order_relaxed);
    }
    LockHoldTimer(const LockHoldTimer&) = delete;
    LockHoldTimer& operator=(const LockHoldTimer&) = delete;

private:
    std::atomic<double>& seconds_;
    const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

} // namespace

void TesselEngine::prepareIncomingSong(TesselModule& incoming)
{
    incoming.orderList.updateLength();
    for (TesselPattern& pattern : incoming.patterns)
        pattern.tracks.freeEmptyTracks();
    for (TesselChannel& channel : incoming.channels)
        channel.midiOut = midiOut;
    if (midiOut)
        midiOut->resolveInstrumentPorts(incoming);
}

bool TesselEngine::swapInSong(TesselModule& target, TesselModule& incoming, TesselTimingLists* lists,
                              std::string& path, bool erase)
{
    const bool own = &target == &song;
    // A rebuild that has read the old song finishes before the exchange, and
    // none starts until the new song's lists are in.
    std::optional<TesselRebuildPause> pause;
    if (own && lists)
        pause.emplace(song);
    platform::MutexLock lock(target.songLock(), editLockWaitMs);
    if (!lock)
        return false;
    const LockHoldTimer timer(lastSwapLockSeconds_);   // stops just before the lock is released
    if (erase) {
        // New stopped before the lock, as it must even without it; voices
        // the host's notes started since then play the old song too.
        transport = kStoppedCut;
        dropVoices();
    } else {
        // A load stops here: the stop's notes-off reads the voices that the
        // audio thread plays. Its work does not grow with the song.
        stopNow();
    }
    target.takeSongFrom(incoming);
    songCounter().fetch_add(1);   // the controls notice the song that is now in place
    applyLoadedSong();
    if (!own)
        return true;
    song.songPath.swap(path);
    if (lists) {
        songTiming.exchange(lists->song);
        for (size_t p = 0; p < patternTiming.size(); ++p)
            if (patternTiming[p] && lists->patterns[p])
                patternTiming[p]->exchange(*lists->patterns[p]);
    }
    if (erase) {
        std::memset(heldNotes, 0, sizeof heldNotes);
        positions.resize(1);
        positions.front().reset();
    }
    // A new song starts at its beginning and at its own tempo: the editor
    // shows these before anything plays.
    currentOrder = 0;
    playingOrder_.store(0, std::memory_order_relaxed);
    setSpeed(song.resolution);
    setTempo(song.tempo);
    return true;
}

void TesselEngine::dropVoices()
{
    for (TesselChannelVoiceList& list : voiceLists) {
        if (TesselVoiceListNode* head = list.head) {
            head->releaseFollowing();
            head->reset();
        }
    }
    busyLists.markAll();
}
