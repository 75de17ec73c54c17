// Erasing the song for the editor's "New" command.
#include "engine/engine.h"
#include "engine/midi_out.h"

#include <cstring>

bool TesselEngine::newSong()
{
    // Notes still sounding on MIDI ports would hang once their instruments are gone.
    stopNow();

    platform::MutexLock lock(song.songLock(), kEditLockWaitMs);
    if (!lock)
        return false;
    song.reset(preferences.defaultTempo, preferences.defaultResolution, preferences.defaultRowsPerBeat);
    song.songPath.clear();
    song.outputBus.reset();

    // stopNow's own wait may have timed out; the lists are emptied here in any case.
    for (TesselChannelVoiceList& list : voiceLists) {
        if (TesselVoiceListNode* head = list.head) {
            head->releaseFollowing();
            head->reset();
        }
    }
    busyLists.markAll();
    std::memset(heldNotes, 0, sizeof heldNotes);
    transport = kStoppedCut;
    positions.resize(1);
    positions.front().reset();
    currentOrder = 0;
    playingOrder_.store(0, std::memory_order_relaxed);
    setSpeed(song.resolution);
    setTempo(song.tempo);

    rebuildSongPlaylist(nullptr);
    rebuildPatternPlaylists(true);
    // Channels back on the engine's MIDI output, the output block cleared and
    // sized for the song's buses, the instruments' ports looked up again.
    applyLoadedSong();
    return true;
}
