#pragma once
// Reading helpers the module importers share: fields at absolute offsets of a
// file image, and the sample slot's audio filled from it. Every read goes
// through the memory file, so bytes past its end read as 0.

#include <cstddef>
#include <cstdint>
#include <string>

class TesselMemoryFile;
class TesselSample;

// n (1..4) bytes little-endian at an offset from the start.
uint32_t readLittleAt(TesselMemoryFile& file, size_t at, int n);
uint32_t readBig16At(TesselMemoryFile& file, size_t at);
// Up to n characters from the offset, ending at the first NUL.
std::string readTextAt(TesselMemoryFile& file, size_t at, size_t n);

// How many of `frames` frames of `frameBytes` bytes each the file holds from `at`.
uint32_t framesInFile(const TesselMemoryFile& file, size_t at, uint32_t frames, uint32_t frameBytes);

// Frees the slot's audio and gives it `channels` zeroed buffers of `frames`
// plus the guard frames; false when memory is short (the slot is then empty).
bool allocateImportedAudio(TesselSample& sample, int channels, uint32_t frames);
// Reads `frames` integers of `bytes` (1 or 2) bytes little-endian from the
// file's position into a channel; `offset` centres unsigned data (128, 32768).
void readImportedChannel(TesselMemoryFile& file, float* channel, uint32_t frames, int bytes, int32_t offset);
// Keeps the loop inside the sample's frames; a loop left without frames is
// switched off, as the voices could not advance through it.
void boundImportedLoop(TesselSample& sample);
// The overview, and the guard frames holding the last frame.
void finishImportedAudio(TesselSample& sample);

constexpr uint32_t kImportGuardFrames = 6;
constexpr int32_t kImportFileRate = 44100;
