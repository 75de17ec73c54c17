#pragma once
// The export's file format: a canonical 44-byte WAV header for 32-bit PCM
// stereo, and the conversion of the plug-in's samples into it.

#include <array>
#include <cstdint>
#include <cstdio>

namespace host {

constexpr size_t kWavHeaderSize = 44;
constexpr uint32_t kWavFrameBytes = 8;   // two 32-bit samples
// The RIFF size (frames x 8 + 36) must fit in 32 bits.
constexpr uint64_t kWavMaxFrames = (0xFFFFFFFFull - 36) / kWavFrameBytes;
constexpr double kExportScale = 1073741824.0;   // 2^30: 1.0 is half of full scale

std::array<uint8_t, kWavHeaderSize> wavHeader(uint32_t frames, uint32_t sampleRate);

// sample x 2^30 truncated toward zero; values beyond the 32-bit range are
// clamped and NaN becomes 0.
int32_t exportSample(float sample);

// Writes the sizes for `frames` into a file whose header is already there.
bool patchWavSizes(std::FILE* file, uint32_t frames);

} // namespace host
