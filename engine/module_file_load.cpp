// Loading any song file into a module: the load dispatch by file kind, the
// loader of the module file itself, the engine's import entry points and
// what the engine does with a song once it is in.
#include "engine/engine.h"
#include "engine/midi_out.h"
#include "engine/module_file.h"

#include "model/file_kind.h"
#include "model/it_import.h"
#include "model/markup.h"
#include "model/memory_file.h"
#include "model/mod_import.h"
#include "model/s3m_import.h"
#include "model/xm_import.h"
#include "model/zip_helpers.h"

#include <cstdio>

int TesselEngine::loadModule(const std::string& path, TesselModule* module)
{
    TesselModule& target = module ? *module : song;
    stopNow();
    platform::MutexLock lock(target.songLock(), 1000);
    if (!lock)
        return 0;

    const int kind = songFileKind(path);
    int result;
    switch (kind) {
    case 1: result = loadModuleFile(path, module); break;
    case 2: result = importImpulseTracker(path, module); break;
    case 3: result = importScreamTracker3(path, module); break;
    case 4: result = importFastTracker(path, module); break;
    case 5: result = importMod(path, module); break;
    default: result = 1; break;
    }
    // An import replaces the song with one that has no module file yet, as
    // New Module does: the next Save must ask for a name, never write over
    // the module file loaded before.
    if (&target == &song && kind >= 2 && kind <= 5)
        song.songPath.clear();

    target.orderList.updateLength();
    rebuildSongPlaylist(nullptr);
    rebuildPatternPlaylists(true);
    // A preview module's instruments play through the same ports.
    if (&target != &song && midiOut)
        midiOut->resolveInstrumentPorts(target);
    applyLoadedSong();
    if (&target == &song) {
        // Like a new song, a loaded one starts at its beginning and at its own
        // tempo: the editor shows these before anything plays.
        currentOrder = 0;
        playingOrder_.store(0, std::memory_order_relaxed);
        setSpeed(song.resolution);
        setTempo(song.tempo);
    }
    if (&target == &song && editor)
        editor->refreshAfterLoad();
    return result;
}

int TesselEngine::loadModuleFile(const std::string& path, TesselModule* module)
{
    TesselModule& target = module ? *module : song;
    const std::string document = moduleTempPath(path, "~qrblxml.tmp");
    std::remove(document.c_str());
    TesselMemoryFile buffer;
    const bool read = zipExtractFile(path.c_str(), document.c_str(), "Module.xml") && buffer.load(document);
    std::remove(document.c_str());
    if (!read)
        return 0;

    int result = 1;
    TesselElement element;
    while (!buffer.atEnd() && readElement(buffer, element))
        if (element.is("module", "mo", kElementOpen | kElementSelf))
            result = target.readXml(buffer, path, element);

    // A preview load or a failed one must not redirect the song's next save.
    if (&target == &song && result == 2)
        song.songPath = path;
    return result;
}

int TesselEngine::importImpulseTracker(const std::string& path, TesselModule* module)
{
    return ::importImpulseTracker(path, module ? *module : song);
}

int TesselEngine::importFastTracker(const std::string& path, TesselModule* module)
{
    return ::importFastTracker(path, module ? *module : song);
}

int TesselEngine::importScreamTracker3(const std::string& path, TesselModule* module)
{
    const TesselSongSettings defaults{preferences.defaultTempo, static_cast<double>(preferences.defaultResolution),
                                      preferences.defaultRowsPerBeat};
    return ::importScreamTracker3(path, module ? *module : song, defaults);
}

int TesselEngine::importMod(const std::string& path, TesselModule* module)
{
    return ::importMod(path, module ? *module : song);
}

void TesselEngine::applyLoadedSong()
{
    for (TesselPattern& pattern : song.patterns)
        pattern.tracks.freeEmptyTracks();
    for (TesselChannel& channel : song.channels)
        channel.midiOut = midiOut;
    const int busCount = song.outputBus.type;
    output.channels = static_cast<uint8_t>(busCount < 1 ? 1 : (busCount > output.maxChannels ? output.maxChannels
                                                                                              : busCount));
    output.clear();
    if (midiOut)
        midiOut->resolveInstrumentPorts(song);
}
