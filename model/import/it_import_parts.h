#pragma once
// The pieces of the Impulse Tracker importer: bounded little-endian access to
// the file image and the readers of each structure.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class TesselInstrument;
class TesselPattern;
class TesselSample;

// The file image. Reads past the end give 0, so a truncated file loads as
// far as it goes; offsets from the file are never trusted.
struct ItView {
    const uint8_t* data = nullptr;
    size_t size = 0;

    uint8_t u8(size_t at) const { return at < size ? data[at] : 0; }
    uint16_t u16(size_t at) const { return static_cast<uint16_t>(u8(at) | (u8(at + 1) << 8)); }
    uint32_t u32(size_t at) const { return u16(at) | (static_cast<uint32_t>(u16(at + 2)) << 16); }
    bool hasTag(size_t at, const char* tag) const;
    // Up to n characters from at, stopping at a NUL or the end of the file.
    std::string text(size_t at, size_t n) const;
    size_t available(size_t at) const { return at < size ? size - at : 0; }
};

// Warnings of a partial import; each kind is reported once per structure.
struct ItLog {
    std::vector<std::string> warnings;
    void warn(const std::string& text) { warnings.push_back(text); }
};

// What the sample data reader needs from a sample header beyond the slot.
struct ItSampleSource {
    uint32_t offset = 0;
    uint32_t length = 0;
    bool sixteenBit = false;
    bool compressed = false;
    bool isSigned = false;
};

// Instruments: the new layout (compatible version 0x200 and above) or the old.
void readItInstrument(const ItView& file, size_t at, bool newLayout, TesselInstrument& instrument, ItLog& log);
ItSampleSource readItSampleHeader(const ItView& file, size_t at, TesselSample& sample, ItLog& log);
void readItSampleData(const ItView& file, const ItSampleSource& source, bool integrateTwice, TesselSample& sample,
                      ItLog& log);
// Length, loops and format facts back to those of a slot without audio.
void dropItSampleAudio(TesselSample& sample);
void readItPattern(const ItView& file, size_t at, TesselPattern& pattern, ItLog& log);
