// The chunk saves and loads the engine's song as a module file.
#include "plugin/song_files.h"

#include "engine/engine.h"

namespace {

bool saveChunkModule(TesselEngine& engine, const std::string& path)
{
    std::string target = path;
    return engine.saveModule(target) && target == path;
}

int loadChunkModule(TesselEngine& engine, const std::string& path)
{
    return engine.loadModule(path, nullptr);
}

void applyChunkModule(TesselEngine& engine)
{
    // The channels it writes are read by the audio thread.
    platform::MutexLock lock(engine.song.songLock(), editLockWaitMs);
    if (lock)
        engine.applyLoadedSong();
}

} // namespace

void installChunkSongFiles()
{
    TesselSongFiles::save = saveChunkModule;
    TesselSongFiles::load = loadChunkModule;
    TesselSongFiles::apply = applyChunkModule;
}
