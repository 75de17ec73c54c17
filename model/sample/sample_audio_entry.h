#pragma once
// A sample slot's audio as the "Sample %.3d.wav" entry of a module zip:
// written through the temporary file "~qrblsmp.tmp" beside the zip, read
// from the module's open archive.

#include <string>

class TesselSample;
class ZipArchive;

std::string sampleEntryName(int slot);
// The slot's audio, else the entry it keeps unread; false when it has
// neither or the entry could not be added.
bool storeSampleAudio(const TesselSample& sample, const std::string& zipPath, int slot);
// False, and the sample left without audio, when the entry is missing or
// unreadable; an unreadable entry is kept in the slot as it was stored.
bool loadSampleAudio(TesselSample& sample, ZipArchive& archive, int slot);
