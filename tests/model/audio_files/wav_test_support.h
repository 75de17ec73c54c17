#pragma once
// Hand-made WAV images for the reader and writer tests.

#include "model/file_test_support.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace testfiles {

struct WavLayout {
    uint16_t format = 1;
    uint16_t channels = 1;
    uint32_t rate = 22050;
    uint16_t bits = 16;
    uint16_t blockAlign = 0;           // 0: channels x bits / 8
    Bytes formatExtra;                 // bytes after the 16-byte format chunk, counted in its size
    std::vector<std::pair<std::string, Bytes>> before;   // chunks between "fmt " and "data"
    std::vector<std::pair<std::string, Bytes>> after;    // chunks after "data"
    uint32_t dataSizeOverride = 0;     // non-zero: the size written for "data"
};

// A RIFF WAVE image; odd-sized chunks get their zero pad byte.
Bytes makeWav(const WavLayout& layout, const Bytes& data);

// A "smpl" chunk body with the given loops {type, start, end} and sampler data.
Bytes smplChunk(uint32_t unityNote, uint32_t samplePeriod,
                const std::vector<std::array<uint32_t, 3>>& loops, const Bytes& samplerData,
                uint32_t loopCountOverride = 0);

} // namespace testfiles
