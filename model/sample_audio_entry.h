#pragma once
// A sample slot's audio as the "Sample %.3d.wav" entry of a module zip,
// passed through the temporary file "~qrblsmp.tmp" beside the zip.

#include <string>

class TesselSample;

std::string sampleEntryName(int slot);
// False when the slot has no audio or the entry could not be added.
bool storeSampleAudio(const TesselSample& sample, const std::string& zipPath, int slot);
// False, and the sample left without audio, when the entry is missing or unreadable.
bool loadSampleAudio(TesselSample& sample, const std::string& modulePath, int slot);
