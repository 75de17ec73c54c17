#include "bench/render_module_load.h"

#include "model/it_import.h"
#include "model/markup.h"
#include "model/memory_file.h"
#include "model/mod_import.h"
#include "model/s3m_import.h"
#include "model/xm_import.h"
#include "model/zip_helpers.h"
#include "platform/folders.h"

#include <strings.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace {

bool endsWith(const std::string& path, const char* ext)
{
    const size_t n = std::strlen(ext);
    return path.size() >= n && strcasecmp(path.c_str() + path.size() - n, ext) == 0;
}

// "Module.xml" out of the zip into a private temporary file, then the document.
bool readZipModule(TesselModule& song, const std::string& path)
{
    const std::string extracted =
        platform::joinPath(platform::temporaryFolder(), "render_module_" + std::to_string(getpid()) + ".xml");
    if (!zipExtractFile(path.c_str(), extracted.c_str(), "module.xml"))
        return false;
    TesselMemoryFile file;
    const bool loaded = file.load(extracted);
    std::remove(extracted.c_str());
    if (!loaded)
        return false;
    TesselElement element;
    while (!file.atEnd() && readElement(file, element))
        if (element.is("module", "mo", kElementOpen))
            return song.readXml(file, path, element) == 2;
    return false;
}

bool readSong(TesselModule& song, const std::string& path)
{
    if (endsWith(path, ".it"))
        return importImpulseTracker(path, song) == kImportLoaded;
    if (endsWith(path, ".xm"))
        return importFastTracker(path, song) == kImportLoaded;
    if (endsWith(path, ".s3m"))
        return importScreamTracker3(path, song) == kImportLoaded;
    if (endsWith(path, ".mod"))
        return importMod(path, song) == kImportLoaded;
    return readZipModule(song, path);
}

} // namespace

void OfflineHost::attach(TesselEngine& engine, float rate)
{
    engine.attachPlugin(this);
    engine.editor = this;
    platform::MutexLock lock(engine.song.songLock(), 1000);
    engine.setSampleRate(rate);
}

void OfflineHost::detach(TesselEngine& engine)
{
    engine.stopNow();
    engine.editor = nullptr;
    engine.plugin = nullptr;
}

bool OfflineHost::start(TesselEngine& engine)
{
    return engine.playSong(-1, 0);
}

bool OfflineHost::playing(const TesselEngine& engine) const
{
    return engine.isPlaying();
}

bool loadSong(TesselEngine& engine, const std::string& path)
{
    platform::MutexLock lock(engine.song.songLock(), 1000);
    if (!lock || !readSong(engine.song, path))
        return false;
    engine.speed = engine.song.resolution;
    engine.tempo = engine.song.tempo;
    engine.computeTiming();
    engine.rebuildSongPlaylist(nullptr, true);
    engine.rebuildPatternPlaylists(true);
    return true;
}
