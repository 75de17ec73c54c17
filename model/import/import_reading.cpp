#include "model/import/import_reading.h"

#include "model/audio_files/memory_file.h"
#include "model/sample/sample.h"

#include <algorithm>

uint32_t readLittleAt(TesselMemoryFile& file, size_t at, int n)
{
    file.seek(at);
    return file.readUInt(n);
}

uint32_t readBig16At(TesselMemoryFile& file, size_t at)
{
    file.seek(at);
    const uint32_t high = file.readUInt(1);
    return (high << 8) | file.readUInt(1);
}

std::string readTextAt(TesselMemoryFile& file, size_t at, size_t n)
{
    std::string text;
    file.seek(at);
    for (size_t i = 0; i < n && !file.atEnd(); ++i) {
        const char c = static_cast<char>(file.readUInt(1));
        if (c == '\0')
            break;
        text.push_back(c);
    }
    return text;
}

uint32_t framesInFile(const TesselMemoryFile& file, size_t at, uint32_t frames, uint32_t frameBytes)
{
    if (frameBytes == 0 || at >= file.size)
        return 0;
    const size_t held = (file.size - at) / frameBytes;
    return held < frames ? static_cast<uint32_t>(held) : frames;
}

bool allocateImportedAudio(TesselSample& sample, int channels, uint32_t frames)
{
    sample.audio.free();
    if (sample.audio.allocate(channels, frames + kImportGuardFrames))
        return true;
    sample.length = 0;
    sample.channels = 0;
    sample.bits = 0;
    sample.fileRate = 0;
    return false;
}

void readImportedChannel(TesselMemoryFile& file, float* channel, uint32_t frames, int bytes, int32_t offset)
{
    const int32_t signBit = bytes == 1 ? 0x80 : 0x8000;
    for (uint32_t f = 0; f < frames; ++f) {
        int32_t value = static_cast<int32_t>(file.readUInt(bytes));
        if (offset == 0)
            value = (value ^ signBit) - signBit;   // two's complement of that width
        else
            value -= offset;
        channel[f] = static_cast<float>(value);
    }
}

void boundImportedLoop(TesselSample& sample)
{
    TesselLoop& loop = sample.loop;
    loop.setBegin(std::clamp(loop.begin, 0, sample.length));
    loop.setEnd(std::clamp(loop.end, 0, sample.length));
    if (loop.end <= loop.begin)
        loop.type = 0;
}

void finishImportedAudio(TesselSample& sample)
{
    sample.buildOverview();
    if (sample.length > 0)
        sample.audio.holdFrom(static_cast<uint32_t>(sample.length - 1));
}
