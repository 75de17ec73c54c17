#pragma once
// A copy of the song as it was at one instant, for saving, taken without
// holding the song lock for longer than one track's rows take to copy.

#include <cstdint>

class TesselModule;

enum class TesselSnapshotResult { kWhole, kSamplesShort, kNoLock };

// Copies `song` into `copy` (a module of its own). kSamplesShort: a sample's
// audio could not be copied whole.
TesselSnapshotResult snapshotSong(TesselModule& song, TesselModule& copy, uint32_t lockWaitMs);
