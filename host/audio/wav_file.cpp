#include "host/audio/wav_file.h"

#include <cmath>
#include <cstring>

namespace host {
namespace {

void put32(uint8_t* p, uint32_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

void put16(uint8_t* p, uint16_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

} // namespace

std::array<uint8_t, kWavHeaderSize> wavHeader(uint32_t frames, uint32_t sampleRate)
{
    std::array<uint8_t, kWavHeaderSize> h{};
    std::memcpy(&h[0], "RIFF", 4);
    put32(&h[4], frames * kWavFrameBytes + 36);
    std::memcpy(&h[8], "WAVE", 4);
    std::memcpy(&h[12], "fmt ", 4);
    put32(&h[16], 16);
    put16(&h[20], 1);   // PCM
    put16(&h[22], 2);   // channels
    put32(&h[24], sampleRate);
    put32(&h[28], sampleRate * kWavFrameBytes);
    put16(&h[32], kWavFrameBytes);
    put16(&h[34], 32);
    std::memcpy(&h[36], "data", 4);
    put32(&h[40], frames * kWavFrameBytes);
    return h;
}

int32_t exportSample(float sample)
{
    const double scaled = static_cast<double>(sample) * kExportScale;
    if (std::isnan(scaled))
        return 0;
    if (scaled >= 2147483647.0)
        return INT32_MAX;
    if (scaled <= -2147483648.0)
        return INT32_MIN;
    return static_cast<int32_t>(scaled);
}

bool patchWavSizes(std::FILE* file, uint32_t frames)
{
    const auto header = wavHeader(frames, 0);
    return std::fseek(file, 4, SEEK_SET) == 0 && std::fwrite(&header[4], 1, 4, file) == 4 &&
           std::fseek(file, 40, SEEK_SET) == 0 && std::fwrite(&header[40], 1, 4, file) == 4;
}

} // namespace host
