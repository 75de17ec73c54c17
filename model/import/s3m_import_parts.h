#pragma once
// The pieces of the Scream Tracker 3 importer.

#include <cstddef>
#include <cstdint>

class TesselMemoryFile;
class TesselPattern;
class TesselSample;

// Parapointers count 16-byte paragraphs.
constexpr size_t kS3mParagraph = 16;

// What the sample data reader needs from a sample header beyond the slot.
struct S3mSampleSource {
    bool used = false;
    size_t offset = 0;
    uint32_t stride = 0;   // frames between the channels' blocks in the file
    bool packed = false;
};

S3mSampleSource readS3mSampleHeader(TesselMemoryFile& file, size_t at, TesselSample& sample);
// Sample format 1 is signed; otherwise unsigned.
void readS3mSampleData(TesselMemoryFile& file, const S3mSampleSource& source, bool isSigned, TesselSample& sample);
void readS3mPattern(TesselMemoryFile& file, size_t at, TesselPattern& pattern);
