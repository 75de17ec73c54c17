#pragma once
// Scream Tracker 3 modules ("SCRM") into a song.

#include "model/import/import_result.h"

#include <cstddef>
#include <cstdint>
#include <string>

class TesselModule;

// The song settings a refused file leaves behind (the preferences' defaults).
struct TesselSongSettings {
    double tempo = 120.0;
    double resolution = 6.0;
    int rowsPerQuarter = 4;
};

// Resets the target to (120, 6, 4) and reads the file into it. 2 loaded; 0 the
// file cannot be read (the target stays reset) or is not of this format (the
// target is reset to `fallback`, status text set). The caller holds the
// target's song lock.
int importScreamTracker3(const std::string& path, TesselModule& target, const TesselSongSettings& fallback = {});
// The same from a file image already in memory.
int importScreamTracker3(const uint8_t* data, size_t size, TesselModule& target,
                         const TesselSongSettings& fallback = {});
