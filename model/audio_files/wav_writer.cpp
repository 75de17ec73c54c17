#include "model/audio_files/wav_values.h"
#include "model/sample/sample.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr size_t kWriteBlock = 1 << 16;

struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};

} // namespace

bool TesselSample::writeWav(const std::string& path) const
{
    std::unique_ptr<FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file)
        return false;
    // Audio read from a WAV image carries one trailing silent frame.
    int64_t frames = int64_t(length) - (header[0] != 0 ? 1 : 0);
    frames = std::max<int64_t>(0, std::min<int64_t>(frames, audio.frames));
    const int bytesPerSample = bits / 8;
    const uint32_t blockAlign = uint32_t(bytesPerSample * channels);
    const WavHeader head = makeWavHeader({kWavFormatPcm, uint16_t(channels), uint32_t(fileRate),
                                          uint16_t(bits), uint32_t(frames * blockAlign)});
    bool ok = std::fwrite(head.data(), 1, head.size(), file.get()) == head.size();

    std::vector<uint8_t> block;
    block.reserve(kWriteBlock + blockAlign);
    for (int64_t i = 0; i < frames && ok; ++i) {
        for (int c = 0; c < channels; ++c) {
            const float* buffer = audio.channel(c);
            const float value = buffer && c < audio.channels ? buffer[i] : 0.0f;
            const uint64_t stored = uint64_t(wavOutputValue(value, bits));
            for (int b = 0; b < bytesPerSample; ++b)
                block.push_back(uint8_t(stored >> (8 * b)));
        }
        if (block.size() >= kWriteBlock || i + 1 == frames) {
            ok = std::fwrite(block.data(), 1, block.size(), file.get()) == block.size();
            block.clear();
        }
    }
    return std::fclose(file.release()) == 0 && ok;
}
