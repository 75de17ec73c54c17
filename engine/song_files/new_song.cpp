// Erasing the song for the editor's "New" command.
#include "engine/engine.h"

#include <memory>
#include <string>

bool TesselEngine::newSong()
{
    // Notes still sounding on MIDI ports would hang once their instruments are gone.
    stopNow();

    // The empty song is made apart and put in place as a loaded one is, so
    // that erasing a big song costs the audio thread no more than loading a
    // small one. Resetting it sets the process-wide pattern defaults and
    // document version, which a refusal puts back.
    const SharedReadState shared;
    auto fresh = std::make_unique<TesselModule>(this);
    fresh->reset(preferences.defaultTempo, preferences.defaultResolution, preferences.defaultRowsPerBeat);
    prepareIncomingSong(*fresh);
    TesselTimingLists lists(*fresh);
    std::string noFile;
    if (!swapInSong(song, *fresh, &lists, noFile, true)) {
        shared.restore();
        return false;
    }
    return true;   // the old song and its lists go here, after the lock
}
