// Sample headers ("IMPS") and their audio: plain 8/16-bit frames or the
// compressed blocks of versions 2.14 and 2.15.

#include "model/import/it_import_parts.h"
#include "model/import/it_sample_decompress.h"
#include "model/sample/sample.h"

#include <algorithm>
#include <vector>

namespace {

enum SampleFlags : uint8_t {
    kSixteenBit = 0x02,
    kCompressed = 0x08,
    kLoop = 0x10,
    kSustain = 0x20,
    kPingPong = 0x40,
    kSustainPingPong = 0x80,
};
constexpr uint8_t kSignedSamples = 0x01;
constexpr int32_t kFileRate = 44100;
constexpr int kGuardFrames = 6;
// Far beyond any real sample; keeps a hostile length from asking for gigabytes.
constexpr uint32_t kMaxFrames = 1u << 26;

int loopType(uint8_t flags, uint8_t on, uint8_t pingPong)
{
    if (!(flags & on))
        return 0;
    return (flags & pingPong) ? 2 : 1;
}

// Loop points past the audio would send playback off its buffer.
void boundLoop(TesselLoop& loop, uint32_t begin, uint32_t end, int32_t length, bool& bad)
{
    const uint32_t boundedEnd = std::min(end, static_cast<uint32_t>(length));
    const uint32_t boundedBegin = std::min(begin, boundedEnd);
    if (loop.type != 0 && (end != boundedEnd || boundedBegin >= boundedEnd)) {
        bad = true;
        if (boundedBegin >= boundedEnd)
            loop.type = 0;
    }
    loop.setBegin(static_cast<int32_t>(boundedBegin));
    loop.setEnd(static_cast<int32_t>(boundedEnd));
}

// The most frames the file can hold for this sample.
uint32_t framesInFile(const ItView& file, const ItSampleSource& source)
{
    const size_t bytes = file.available(source.offset);
    // Every compressed sample takes at least one bit.
    const size_t frames = source.compressed ? bytes * 8 : bytes / (source.sixteenBit ? 2 : 1);
    return static_cast<uint32_t>(std::min<size_t>(frames, kMaxFrames));
}

void decodePlain(const ItView& file, const ItSampleSource& source, float* out, uint32_t frames)
{
    const uint8_t* data = file.data + source.offset;
    for (uint32_t i = 0; i < frames; ++i) {
        int32_t value;
        if (source.sixteenBit) {
            const auto raw = static_cast<uint16_t>(data[2 * i] | (data[2 * i + 1] << 8));
            // Unsigned data is centred at half its range.
            value = source.isSigned ? static_cast<int16_t>(raw) : raw - 32768;
        } else {
            value = source.isSigned ? static_cast<int8_t>(data[i]) : data[i] - 128;
        }
        out[i] = static_cast<float>(value);
    }
}

bool decodeCompressed(const ItView& file, const ItSampleSource& source, bool integrateTwice, float* out,
                      uint32_t frames)
{
    std::vector<int16_t> decoded(frames, 0);
    const ItDecodeResult result = itDecompress(file.data + source.offset, file.available(source.offset),
                                               source.sixteenBit, integrateTwice, decoded.data(), frames);
    std::copy(decoded.begin(), decoded.end(), out);
    return result.complete;
}

} // namespace

ItSampleSource readItSampleHeader(const ItView& file, size_t at, TesselSample& sample, ItLog& log)
{
    const std::string name = "sample " + std::to_string(sample.index + 1);
    ItSampleSource source;
    sample.filename = file.text(at + 4, 12);
    sample.globalVolume = std::min<int32_t>(file.u8(at + 17), 64);
    const uint8_t flags = file.u8(at + 18);
    sample.defaultVolume = std::min<int32_t>(file.u8(at + 19), 64);
    sample.setName(file.text(at + 20, 26).c_str());
    source.isSigned = (file.u8(at + 46) & kSignedSamples) != 0;
    const uint8_t pan = file.u8(at + 47);
    sample.defaultPan = (pan & 0x80) ? std::min(pan & 0x7F, 64) : -1;
    source.sixteenBit = (flags & kSixteenBit) != 0;
    source.compressed = (flags & kCompressed) != 0;
    source.offset = file.u32(at + 72);
    source.length = file.u32(at + 48);

    const uint32_t inFile = framesInFile(file, source);
    if (source.length > inFile) {
        log.warn(name + ": length " + std::to_string(source.length) + " cut to the " + std::to_string(inFile) +
                 " frames the file can hold");
        source.length = inFile;
    }
    sample.length = static_cast<int32_t>(source.length);
    sample.speed = static_cast<int32_t>(std::min<uint32_t>(file.u32(at + 60), INT32_MAX));
    sample.channels = 1;
    sample.bits = source.length ? (source.sixteenBit ? 16 : 8) : 0;
    sample.fileRate = source.length ? kFileRate : 0;

    bool badLoop = false;
    sample.loop.type = loopType(flags, kLoop, kPingPong);
    boundLoop(sample.loop, file.u32(at + 52), file.u32(at + 56), sample.length, badLoop);
    sample.sustain.type = loopType(flags, kSustain, kSustainPingPong);
    boundLoop(sample.sustain, file.u32(at + 64), file.u32(at + 68), sample.length, badLoop);
    if (badLoop)
        log.warn(name + ": loop points beyond the sample brought inside it");

    sample.vibrato.speed = file.u8(at + 76);
    sample.vibrato.depth = file.u8(at + 77);
    sample.vibrato.rate = file.u8(at + 78);
    sample.vibrato.waveform = file.u8(at + 79);
    return source;
}

void readItSampleData(const ItView& file, const ItSampleSource& source, bool integrateTwice, TesselSample& sample,
                      ItLog& log)
{
    sample.audio.free();
    const uint32_t frames = std::min<uint32_t>(source.length, static_cast<uint32_t>(std::max(sample.length, 0)));
    if (!sample.audio.allocate(1, frames + kGuardFrames)) {
        log.warn("sample " + std::to_string(sample.index + 1) + ": out of memory, left empty");
        sample.length = 0;
        return;
    }
    float* out = sample.audio.channel(0);
    std::fill(out, out + frames + kGuardFrames, 0.0f);
    if (frames == 0)
        return;
    if (source.compressed) {
        if (!decodeCompressed(file, source, integrateTwice, out, frames))
            log.warn("sample " + std::to_string(sample.index + 1) + ": compressed data ends early; the rest is silent");
    } else {
        decodePlain(file, source, out, frames);
    }
    sample.buildOverview();
    sample.audio.holdFrom(frames - 1);
}

void dropItSampleAudio(TesselSample& sample)
{
    sample.audio.free();
    sample.length = 0;
    sample.bits = 0;
    sample.fileRate = 0;
    sample.channels = 0;
    for (TesselLoop* loop : {&sample.loop, &sample.sustain}) {
        loop->type = 0;
        loop->setBegin(0);
        loop->setEnd(0);
    }
}
