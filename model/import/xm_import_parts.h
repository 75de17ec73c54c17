#pragma once
// The pieces of the XM importer, all reading through one TesselMemoryFile.

#include <cstddef>
#include <cstdint>
#include <string>

class TesselMemoryFile;
class TesselModule;

struct XmHeader {
    uint32_t headerSize = 0;   // counted from offset 60
    uint16_t songLength = 0;
    uint16_t channels = 0;
    uint16_t patterns = 0;
    uint16_t instruments = 0;
    uint16_t speed = 0;
    uint16_t tempo = 0;
};

// An n-byte text field from the position, up to its first zero byte; the
// position passes the whole field.
std::string readXmText(TesselMemoryFile& file, size_t n);

// From the position: every pattern of the header's count; the position ends
// after the last pattern read.
void readXmPatterns(TesselMemoryFile& file, const XmHeader& header, TesselModule& song);
// From the position: instruments with their sample headers and data.
// True when a sample had to be left out.
bool readXmInstruments(TesselMemoryFile& file, int count, TesselModule& song);

constexpr char kXmTooManyPatterns[] = " WARNING: XM file contains more than 200 patterns.";
constexpr char kXmTooManySamples[] = " WARNING: XM file contains more than 99 samples.";
constexpr char kXmPackedSamples[] = " WARNING: XM file uses 4-bit samples (not supported).";
