// Loading any song file into a module: the load dispatch by file kind, the
// loader of the module file itself, the engine's import entry points and
// what the engine does with a song once it is in.
#include "engine/engine.h"
#include "engine/midi/midi_out.h"
#include "engine/song_files/module_file.h"

#include "model/file_kind.h"
#include "model/import/it_import.h"
#include "model/markup/markup.h"
#include "model/audio_files/memory_file.h"
#include "model/model_globals.h"
#include "model/import/mod_import.h"
#include "model/import/s3m_import.h"
#include "model/import/xm_import.h"
#include "model/zip/zip_archive.h"
#include "model/zip/zip_helpers.h"
#include "platform/status_text.h"

#include <cstdio>
#include <memory>

namespace {

// The document and every sample read from their places in the opened
// archive; 0 when the document cannot be read.
int readModuleArchive(ZipArchive& archive, TesselModule& target)
{
    TesselMemoryFile buffer;
    if (!archive.read(archive.indexOf("Module.xml"), buffer, kZipMaxDocumentSize))
        return 0;
    int result = 1;
    TesselElement element;
    while (!buffer.atEnd() && readElement(buffer, element))
        if (element.is("module", "mo", kElementOpen | kElementSelf))
            result = target.readXml(buffer, &archive, element);
    return result;
}

} // namespace

int TesselEngine::loadModule(const std::string& path, TesselModule* module)
{
    TesselModule& target = module ? *module : song;
    const bool own = &target == &song;
    // The file is read into a song apart while the audio thread plays on; the
    // lock is held only to put it in place, and only when it loaded whole.
    // The readers leave the document version and the pattern defaults
    // process-wide; a refused load must leave them as they were.
    const SharedReadState shared;
    auto loaded = std::make_unique<TesselModule>();
    // A module file's archive is opened and its directory read once, here:
    // whether it holds a document and then the document and every sample
    // come from that one reading.
    ZipArchive archive;
    int kind;
    if (hasModuleArchiveName(path))
        kind = archive.open(path) && archive.indexOf("Module.xml") >= 0 ? kModuleZip : kModuleNone;
    else
        kind = songFileKind(path);
    int result;
    switch (kind) {
    case 1: result = readModuleArchive(archive, *loaded); break;
    case 2: result = importImpulseTracker(path, loaded.get()); break;
    case 3: result = importScreamTracker3(path, loaded.get()); break;
    case 4: result = importFastTracker(path, loaded.get()); break;
    case 5: result = importMod(path, loaded.get()); break;
    default: result = 1; break;
    }
    if (!songLoadIsWhole(kind, result)) {
        shared.restore();
        return result;
    }

    // Made ready, and its timing lists built, while it is still ours alone.
    prepareIncomingSong(*loaded);
    std::unique_ptr<TesselTimingLists> lists;
    if (own)
        lists = std::make_unique<TesselTimingLists>(*loaded);
    // A preview load must not redirect the song's next save. An import
    // replaces the song with one that has no module file yet, as New Module
    // does: the next Save must ask for a name, never write over the module
    // file loaded before.
    std::string songFile = kind == 1 ? path : std::string();
    // Stopping clears the status line: what the importer reported on it stays.
    const std::string status = platform::statusText();
    const bool swapped = swapInSong(target, *loaded, lists.get(), songFile, false);
    platform::setStatusText(status.c_str());
    if (!swapped) {
        shared.restore();
        return 0;
    }
    if (own && editor)
        editor->refreshAfterLoad();
    return result;   // the old song and its lists go here, after the lock
}

int TesselEngine::loadModuleFile(const std::string& path, TesselModule* module)
{
    ZipArchive archive;
    if (!archive.open(path))
        return 0;
    return readModuleArchive(archive, module ? *module : song);
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
    for (TesselChannel& channel : song.channels)
        channel.midiOut = midiOut;
    const int busCount = song.outputBus.type;
    output.channels = static_cast<uint8_t>(busCount < 1 ? 1 : (busCount > output.maxChannels ? output.maxChannels
                                                                                              : busCount));
    // The plug-in copies the block outside the lock: the audio thread clears it.
    output.requestClear();
    if (midiOut)
        midiOut->resolveInstrumentPorts(song);
}
