#pragma once
// How the plug-in's chunk saves and loads the engine's song as a module file.
// The module file code provides these; until it does, the defaults fail, and
// the chunk answers 0. Tests put fakes in.

#include <string>

class TesselEngine;

struct TesselSongFiles {
    // Writes the engine's song to a new file at path; true on success.
    using Save = bool (*)(TesselEngine& engine, const std::string& path);
    // Loads the file into the engine's song; 0 when it failed.
    using Load = int (*)(TesselEngine& engine, const std::string& path);
    // After a successful load: the engine takes the song over.
    using Apply = void (*)(TesselEngine& engine);

    static inline Save save = nullptr;
    static inline Load load = nullptr;
    static inline Apply apply = nullptr;
};
