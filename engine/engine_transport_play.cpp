// Starting song and pattern playback.
#include "engine/engine.h"

#include "engine/engine_actions.h"
#include "engine/engine_globals.h"
#include "engine/engine_status.h"

namespace {

bool isPatternNumber(int p)
{
    return p >= 0 && p < kPatterns;
}

} // namespace

void TesselEngine::restartChannels()
{
    for (TesselChannelVoiceList& list : voiceLists)
        if (list.head)
            list.head->reset();
    for (int c = 0; c < kChannels; ++c)
        liveChannels()[static_cast<size_t>(c)].assign(song.channels[static_cast<size_t>(c)]);
    busyLists.markAll();
}

void TesselEngine::setSpeed(double ticks)
{
    if (ticks == speed)
        return;
    speed = ticks;
    computeTiming();
}

bool TesselEngine::playSong(int order, int row)
{
    stop();
    if (song.orderList.isEmpty()) {
        engineStatus("Can't playback song: no order list defined (press F11 to define an order list).");
        return false;
    }
    // Rebuilding allocates and waits for the list's mutex without limit:
    // the audio thread plays the list as the last edit left it.
    if (!TesselAudioThreadScope::active())
        rebuildSongPlaylist(nullptr, false);

    platform::MutexLock lock(song.songLock(), editLockWaitMs);
    if (!lock)
        return false;
    TesselPlayPosition& at = position();
    if (order == -1) {
        setSpeed(song.resolution);
        at.time = 0.0;
        at.entry = -1;
    } else {
        const int32_t index = songTiming.find(order, row);
        if (index < 0) {
            engineStatus("Can't playback song: current row not part of song.");
            return false;
        }
        setSpeed(songTiming.entries()[index].speed);
        at.time = index;
        at.entry = index - 1;
    }
    restartChannels();
    at.tick = -1;
    at.ticks = speed;
    if (!hostSendsTime)
        setTempoEntry(songTiming.tempoAt(at.entry + 1));
    transport = kPlayingSong;
    logEngineAction(kActPlaySong, static_cast<int32_t>(at.time));
    return true;
}

void TesselEngine::playPattern(int pattern, int row, TesselPlayPosition* at)
{
    if (!isPatternNumber(pattern))
        return;
    if (row < 0)
        row = 0;
    // The stop cuts the positions back to one; a further one handed in is
    // gone with them, and the main position plays instead.
    bool further = false;
    for (size_t i = 1; i < positions.size(); ++i)
        further = further || at == &positions[i];
    if (!at || further)
        at = nullptr;
    else
        at->reset();
    stop();

    platform::MutexLock lock(song.songLock(), editLockWaitMs);
    if (!lock)
        return;
    if (!at) {
        at = &position();
        at->reset();
    }
    restartChannels();
    setSpeed(song.resolution);
    at->time = row;
    at->pattern = &song.patterns[static_cast<size_t>(pattern)];
    at->entry = row - 1;
    at->ticks = speed;
    if (!hostSendsTime) {
        const TesselPlaylist& list = *patternTiming[static_cast<size_t>(pattern)];
        int32_t index = 0;
        while (index < list.count && list.entries()[index].row != row)
            ++index;
        setTempoEntry(list.tempoAt(index < list.count ? index : 0));
    }
    transport = kPlayingPattern;
    logEngineAction(kActPlayPattern, row + 65536 * pattern);
}
