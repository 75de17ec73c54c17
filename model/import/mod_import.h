#pragma once
// MOD modules (31 samples, a format tag naming the channel count) into a song.

#include "model/import/import_result.h"

#include <cstddef>
#include <cstdint>
#include <string>

class TesselModule;

// The channel count a format tag names, compared without regard to case:
// "M.K.", "M!K!", "FLT4" 4; a digit and "CHN"; two digits and "CH". 0 for
// any other tag, and for counts of 0 or above the song's 64 channels.
int modChannelsFromTag(const char tag[4]);

// Resets the target to (120, 6, 4) and reads the file into it. 2 loaded; 0 the
// file cannot be read or its tag is not recognised (status text set; the
// target stays reset). The caller holds the target's song lock.
int importMod(const std::string& path, TesselModule& target);
// The same from a file image already in memory.
int importMod(const uint8_t* data, size_t size, TesselModule& target);
