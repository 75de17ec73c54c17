#pragma once
// Reading WAV images into sample slots (the operations themselves are members
// of TesselSample).

#include <cstdint>
#include <string>

class TesselMemoryFile;

// The longest audio a WAV image may give a slot (over 25 minutes at 44.1 kHz,
// 256 MiB of floats a channel); 8-bit data would otherwise take four times
// the file's size in memory.
constexpr uint32_t kMaxWavFrames = 1u << 26;
class TesselSample;

// The format tag of the file's format chunk (1 PCM, 3 IEEE float, ...), or 0
// when the file cannot be loaded or does not begin "RIFF", a size, "WAVEfmt ".
// For an extensible chunk, the tag its sub-format stands for (0xFFFE when
// none).
uint16_t wavFormatTag(const std::string& path);

// Reads a decoded image into the slot; on success the slot's file name is the
// last component of the source path. The image is freed in every case.
bool readWavImageFrom(TesselSample& sample, TesselMemoryFile& image, const std::string& sourcePath);
