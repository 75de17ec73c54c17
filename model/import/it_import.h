#pragma once
// Impulse Tracker modules ("IMPM") into a song.

#include "model/import/import_report.h"
#include "model/import/import_result.h"

#include <cstddef>
#include <cstdint>
#include <string>

class TesselModule;

// Resets the target and reads the file into it. 2 loaded (possibly in part,
// with warnings in the report); 1 an instrument or sample header without its
// tag (what came before stays); 0 unreadable or not this format. Failures
// also set the status text. The caller holds the target's song lock.
int importImpulseTracker(const std::string& path, TesselModule& target, TesselImportReport* report = nullptr);
// The same from a file image already in memory.
int importImpulseTracker(const uint8_t* data, size_t size, TesselModule& target,
                         TesselImportReport* report = nullptr);
