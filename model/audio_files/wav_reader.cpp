#include "model/audio_files/wav_reader.h"

#include "model/audio_files/memory_file.h"
#include "model/audio_files/wav_loop_info.h"
#include "model/audio_files/wav_values.h"
#include "model/file_kind.h"
#include "model/sample/sample.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <limits>

namespace {

constexpr uint32_t kFormatChunkSize = 16;
// Format fields, extension size, valid bits, channel mask, sub-format GUID.
constexpr uint32_t kExtensibleChunkSize = 40;
// Every sub-format GUID that stands for a plain format tag ends so; the tag
// is its first four bytes.
constexpr uint8_t kSubFormatTail[12] = {0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
constexpr int kGuardFrames = 6;

struct WavFormat {
    uint32_t tag = 0;
    int channels = 0;
    uint32_t rate = 0;
    uint32_t blockAlign = 0;
    int bits = 0;

    int bytesPerSample() const { return bits / 8; }
    // 24-bit samples left-justified in 4-byte containers.
    bool is24In32() const { return tag == kWavFormatPcm && bits == 24 && blockAlign / channels == 4; }
    int bytesPerStoredSample() const { return is24In32() ? 4 : bytesPerSample(); }

    // Only layouts that a slot can hold: one or two channels, whole bytes.
    bool isReadable() const
    {
        if (channels < 1 || channels > kMaxSampleChannels || blockAlign == 0)
            return false;
        if (tag == kWavFormatFloat)
            return bits == 32;
        return tag == kWavFormatPcm && bits >= 8 && bits <= 32 && bits % 8 == 0;
    }
};

// The plain format tag of an extensible chunk's sub-format, read from the
// GUID after the 16 bytes of the format fields; the extensible tag itself
// for a short chunk or a GUID that stands for no plain tag.
uint32_t subFormatTag(TesselMemoryFile& image, uint32_t formatSize)
{
    if (formatSize < kExtensibleChunkSize || !image.canRead(kExtensibleChunkSize - kFormatChunkSize))
        return kWavFormatExtensible;
    image.skip(8);   // extension size, valid bits, channel mask
    const uint32_t code = image.readUInt(4);
    for (uint8_t expected : kSubFormatTail)
        if (image.readUInt(1) != expected)
            return kWavFormatExtensible;
    return code <= 0xFFFF ? code : kWavFormatExtensible;
}

// "RIFF", a size, "WAVEfmt ", the format chunk's size; false on anything else.
bool readRiffStart(TesselMemoryFile& image, uint32_t& formatSize)
{
    if (!image.match("RIFF"))
        return false;
    image.skip(4);
    if (!image.match("WAVEfmt "))
        return false;
    formatSize = image.readUInt(4);
    return true;
}

WavFormat readFormat(TesselMemoryFile& image, uint32_t formatSize)
{
    const size_t start = image.offset();
    WavFormat f;
    f.tag = image.readUInt(2);
    f.channels = int(image.readUInt(2) & 0xFF);
    f.rate = image.readUInt(4);
    image.skip(4);   // byte rate
    f.blockAlign = image.readUInt(2);
    f.bits = int(image.readUInt(2) & 0xFF);
    // Extensible data are PCM or IEEE float data as the sub-format says.
    if (f.tag == kWavFormatExtensible)
        f.tag = subFormatTag(image, formatSize);
    // A longer format chunk (an extension size and extension) is stepped
    // over by its size rather than scanned as if it held chunks.
    image.seek(start + std::max(formatSize, kFormatChunkSize));
    return f;
}

float readValue(TesselMemoryFile& image, const WavFormat& f)
{
    if (f.tag == kWavFormatFloat)
        return floatValue(image.readUInt(4)) * 0.5f;
    if (f.is24In32())
        return pcm24In32Value(image.readUInt(4));
    return pcmValue(image.readUInt(f.bytesPerSample()), f.bytesPerSample());
}

bool readData(TesselSample& sample, TesselMemoryFile& image, const WavFormat& f, uint32_t dataSize)
{
    // A size beyond the image would only read silence into a buffer sized
    // from a number the file does not back.
    if (!image.canRead(dataSize))
        return false;
    const uint64_t frames = uint64_t(dataSize) / uint32_t(f.bytesPerStoredSample()) / uint32_t(f.channels);
    if (frames + 1 + kGuardFrames > uint64_t(kMaxWavFrames))
        return false;
    const uint32_t length = uint32_t(frames) + 1;
    if (!sample.audio.allocate(f.channels, length + kGuardFrames))
        return false;
    sample.length = int32_t(length);
    for (uint32_t i = 0; i < frames; ++i)
        for (int c = 0; c < f.channels; ++c)
            sample.audio.buffers[c][i] = readValue(image, f);
    for (int c = 0; c < f.channels; ++c)
        sample.audio.buffers[c][frames] = 0.0f;
    return true;
}

// Fills the loop information from a "smpl" chunk; false when its loop count
// claims more records than the image holds.
bool readSamplerChunk(TesselMemoryFile& image, TesselWavLoopInfo& info)
{
    uint32_t* fixed[] = {&info.manufacturer, &info.product, &info.samplePeriod, &info.midiUnityNote,
                         &info.pitchFraction, &info.smpteFormat, &info.smpteOffset, &info.loopCount,
                         &info.samplerDataSize};
    for (uint32_t* field : fixed)
        *field = image.readUInt(4);
    info.loops.clear();
    if (uint64_t(info.loopCount) * TesselWavLoopInfo::kLoopSize > image.remaining())
        return false;
    info.loops.resize(info.loopCount);
    for (TesselWavLoop& loop : info.loops) {
        uint32_t* fields[] = {&loop.identifier, &loop.type, &loop.start, &loop.end, &loop.fraction,
                              &loop.playCount};
        for (uint32_t* field : fields)
            *field = image.readUInt(4);
    }
    image.skip(info.samplerDataSize);
    return true;
}

} // namespace

bool TesselSample::readWav(TesselMemoryFile& image, TesselWavLoopInfo* loopInfo)
{
    clearData();
    if (image.size > kWavHeaderCopySize)
        std::memcpy(header, image.data, kWavHeaderCopySize);
    image.position = image.data;

    uint32_t formatSize = 0;
    if (!readRiffStart(image, formatSize)) {
        clearData();
        return false;
    }
    const WavFormat format = readFormat(image, formatSize);
    if (!format.isReadable()) {
        clearData();
        return false;
    }
    // A rate past 2^31 would turn negative and walk the sample backwards.
    fileRate = int32_t(std::min<uint32_t>(format.rate, INT32_MAX));
    speed = fileRate;
    bits = format.bits;
    channels = format.channels;

    bool haveData = false;
    while (!image.atEnd()) {
        if (*image.position == 0) {
            image.skip(1);   // pad byte after an odd-sized chunk
        } else if (image.match("data")) {
            const uint32_t dataSize = image.readUInt(4);
            if (dataSize == 0)
                continue;
            if (!readData(*this, image, format, dataSize)) {
                clearData();
                return false;
            }
            haveData = true;
        } else if (image.match("smpl")) {
            const uint32_t chunkSize = image.readUInt(4);
            if (!loopInfo) {
                image.skip(chunkSize);
            } else if (!readSamplerChunk(image, *loopInfo)) {
                clearData();
                return false;
            }
        } else {
            image.skip(4);
            image.skip(image.readUInt(4));
        }
    }
    if (!haveData) {
        clearData();
        return false;
    }
    buildOverview();
    audio.holdFrom(uint32_t(length - 1));
    return true;
}

bool readWavImageFrom(TesselSample& sample, TesselMemoryFile& image, const std::string& sourcePath)
{
    image.position = image.data;
    const bool read = sample.readWav(image, nullptr);
    image.free();
    if (read)
        sample.filename = namePart(sourcePath);
    return read;
}

bool TesselSample::readWavFile(const std::string& path, TesselWavLoopInfo* loopInfo)
{
    TesselMemoryFile image;
    if (!image.load(path))
        return false;
    const bool read = readWav(image, loopInfo);
    if (read)
        filename = namePart(path);
    return read;
}

uint16_t wavFormatTag(const std::string& path)
{
    TesselMemoryFile image;
    uint32_t formatSize = 0;
    if (!image.load(path) || !readRiffStart(image, formatSize))
        return 0;
    return uint16_t(readFormat(image, formatSize).tag);
}
