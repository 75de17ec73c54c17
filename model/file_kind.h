#pragma once
// What kind of song, sample or instrument file a path names, by its extension
// (without regard to case) and, for zip files, by the entries they hold.

#include <string>

enum TesselModuleKind {
    kModuleNone = 0,
    kModuleZip = 1,   // a ".zip" holding "module.xml"
    kModuleIt = 2,
    kModuleS3m = 3,
    kModuleXm = 4,
    kModuleMod = 5,
    kSongMidi = 6,    // songFileKind only
};

enum TesselSampleKind {
    kSampleNone = 0,
    kSampleWav = 1,
    kSampleZip = 2,   // a ".zip" holding "sample.xml"
    kSampleFlac = 3,
    kSampleOgg = 4,
};

// Names the editor's lists give an entry they extract from another zip; they
// are recognised only in exactly this letter case.
constexpr const char* kExtractedWavName = "~qrblwav.tmp";
constexpr const char* kExtractedZipName = "~qrblzip.tmp";

// The last component of a path.
std::string namePart(const std::string& path);

bool isDirectory(const std::string& path);
// A ".zip" longer than 16 bytes that starts with "PK".
bool isZipFile(const std::string& path);

// A module file by its name alone: a ".zip" is one when it holds
// "module.xml", which its reader looks for as it opens it.
bool hasModuleArchiveName(const std::string& path);
int moduleFileKind(const std::string& path);
int songFileKind(const std::string& path);
int sampleFileKind(const std::string& path);
// 1 for a zip holding "instrument.xml", else 0.
int instrumentFileKind(const std::string& path);
