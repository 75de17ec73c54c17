#pragma once
// Fast Tracker XM modules of format version 1.04 into a song.

#include <cstddef>
#include <cstdint>
#include <string>

class TesselModule;
class TesselMemoryFile;

// Results of an XM import.
enum : int {
    kXmNotLoaded = 0,            // unreadable, not XM, or another version
    kXmLoadedWithWarning = 1,    // samples beyond 99 or 4-bit samples left out
    kXmLoaded = 2,
};

// Resets the target (120, 6, 4) and reads the file into it; failures and
// warnings also set the status text. The caller holds the target's song lock.
int importFastTracker(const std::string& path, TesselModule& target);
// The same from a file image already in memory; the position is used up.
int importFastTracker(TesselMemoryFile& file, TesselModule& target);
