// Timing-list rebuilding: the lists are reset to the song's tempo and speed;
// unrolling the order list and the patterns into them builds on this.
#include "engine/engine.h"

void TesselEngine::rebuildSongPlaylist(const TesselPlayPosition* from)
{
    (void)from;
    songTiming.reset(song.tempo, song.resolution);
}

void TesselEngine::rebuildPatternPlaylists(bool callerHoldsLock)
{
    (void)callerHoldsLock;
    for (auto& list : patternTiming)
        if (list)
            list->reset(song.tempo, song.resolution);
}
