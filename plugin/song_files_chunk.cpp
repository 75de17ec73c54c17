// The module file as the chunk needs it, until the module file code takes
// over: the chunk always saves to a new path in a folder of its own, so a
// save is the document with its samples' audio in a new zip (nothing to
// carry over or archive), and a load reads "Module.xml" back.
#include "plugin/song_files.h"

#include "engine/engine.h"
#include "model/markup.h"
#include "model/memory_file.h"
#include "model/zip_helpers.h"

#include <cstdio>

namespace {

std::string beside(const std::string& path, const char* name)
{
    const size_t slash = path.find_last_of('/');
    return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + name;
}

bool saveChunkModule(TesselEngine& engine, const std::string& path)
{
    const std::string document = beside(path, "~qrblxml.tmp");
    const std::string archive = beside(path, "~qrblzip.tmp");
    std::remove(archive.c_str());
    FILE* file = std::fopen(document.c_str(), "w");
    if (!file)
        return false;
    engine.song.writeXml(file, archive, true);
    const bool written = std::ferror(file) == 0;
    const bool closed = std::fclose(file) == 0;
    const bool added = written && closed && zipAddFile(document.c_str(), archive.c_str(), "Module.xml");
    std::remove(document.c_str());
    if (!added || std::rename(archive.c_str(), path.c_str()) != 0) {
        std::remove(archive.c_str());
        return false;
    }
    return true;
}

int loadChunkModule(TesselEngine& engine, const std::string& path)
{
    engine.stopNow();
    platform::MutexLock lock(engine.song.songLock(), 1000);
    if (!lock)
        return 0;
    int result = 1;
    const std::string document = beside(path, "~qrblxml.tmp");
    TesselMemoryFile buffer;
    const bool read = zipExtractFile(path.c_str(), document.c_str(), "Module.xml") && buffer.load(document);
    std::remove(document.c_str());
    if (!read) {
        result = 0;
    } else {
        TesselElement element;
        while (!buffer.atEnd() && readElement(buffer, element))
            if (element.is("module", "mo", kElementOpen | kElementSelf))
                result = engine.song.readXml(buffer, path, element);
    }
    engine.song.orderList.updateLength();
    engine.rebuildSongPlaylist(nullptr);
    engine.rebuildPatternPlaylists(true);
    return result;
}

} // namespace

void installChunkSongFiles()
{
    TesselSongFiles::save = saveChunkModule;
    TesselSongFiles::load = loadChunkModule;
}
