#pragma once
// How the plug-in's chunk saves and loads the engine's song as a module file.
// The library installs the engine's module file operations at load; without
// them the chunk answers 0. Tests put fakes in.

#include <string>

class TesselEngine;

struct TesselSongFiles {
    // Writes the engine's song to a new file at path; true on success.
    using Save = bool (*)(TesselEngine& engine, const std::string& path);
    // Loads the file into the engine's song: 0 failed, 1 nothing to load
    // (the song stays), 2 loaded.
    using Load = int (*)(TesselEngine& engine, const std::string& path);
    // After a successful load: the engine takes the song over.
    using Apply = void (*)(TesselEngine& engine);

    static inline Save save = nullptr;
    static inline Load load = nullptr;
    static inline Apply apply = nullptr;
};

// The engine's saveModule, loadModule and applyLoadedSong.
void installChunkSongFiles();
