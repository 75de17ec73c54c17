#include "model/import/xm_samples.h"

#include "model/audio_files/memory_file.h"
#include "model/import/xm_import_parts.h"
#include "model/sample/sample.h"
#include "platform/status_text.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>

namespace {

enum SampleType : uint8_t { kForwardLoop = 1, kPingPongLoop = 2, kSixteenBit = 16, kStereo = 32 };
constexpr uint8_t kPackedMark = 0xAD;
constexpr int32_t kFileRate = 44100;
constexpr int kGuardFrames = 6;
constexpr size_t kNameLength = 22;
constexpr int kMaxVolume = 64;
// The format's own semitone ratio; an exact 2^(1/12) gives other speeds.
constexpr double kSemitone = 1.059463094359;

int loopType(uint8_t type)
{
    if (type & kForwardLoop)
        return 1;
    return (type & kPingPongLoop) ? 2 : 0;
}

int32_t frameBytes(const XmSampleSource& source)
{
    return (source.sixteenBit ? 2 : 1) * (source.stereo ? 2 : 1);
}

// Frames from bytes, as the loop points and the length are stored.
int32_t toFrames(uint64_t bytes, const XmSampleSource& source)
{
    return static_cast<int32_t>(std::min<uint64_t>(bytes / static_cast<uint64_t>(frameBytes(source)), INT32_MAX));
}

void decode(TesselMemoryFile& file, const XmSampleSource& source, TesselSample& sample, uint32_t frames)
{
    const int width = source.sixteenBit ? 2 : 1;
    // One running value for all channels; frames interleaved.
    int32_t value = 0;
    for (uint32_t f = 0; f < frames; ++f) {
        for (int c = 0; c < sample.channels; ++c) {
            const uint32_t delta = file.readUInt(width);
            value = source.sixteenBit ? static_cast<int16_t>(static_cast<uint16_t>(value + delta))
                                      : static_cast<int8_t>(static_cast<uint8_t>(value + delta));
            sample.audio.channel(c)[f] = static_cast<float>(value);
        }
    }
}

} // namespace

int32_t xmSampleSpeed(int relativeNote, int finetune)
{
    return static_cast<int32_t>(8363.0 * std::pow(kSemitone, relativeNote + finetune / 128.0));
}

XmSampleSource readXmSampleHeader(TesselMemoryFile& file, TesselSample* sample)
{
    XmSampleSource source;
    // A length past the whole file cannot be data of this file.
    source.bytes = std::min(file.readUInt(4), file.size);
    if (!sample) {
        platform::setStatusText(kXmTooManySamples);
        return source;
    }
    source.kept = true;
    const uint32_t loopStart = file.readUInt(4);
    const uint32_t loopLength = file.readUInt(4);
    sample->defaultVolume = std::min<int32_t>(static_cast<int32_t>(file.readUInt(1)), kMaxVolume);
    const auto finetune = static_cast<int8_t>(file.readUInt(1));
    const auto type = static_cast<uint8_t>(file.readUInt(1));
    const auto pan = static_cast<int32_t>(file.readUInt(1));
    const auto relativeNote = static_cast<int8_t>(file.readUInt(1));
    const auto packed = static_cast<uint8_t>(file.readUInt(1));
    sample->setName(readXmText(file, kNameLength).c_str());

    source.sixteenBit = (type & kSixteenBit) != 0;
    source.stereo = (type & kStereo) != 0;
    source.packed = !(type & (kSixteenBit | kStereo)) && packed == kPackedMark;
    sample->defaultPan = ((pan + 1) % 512) / 4;
    sample->speed = xmSampleSpeed(relativeNote, finetune);
    if (source.bytes != 0) {
        sample->channels = source.stereo ? 2 : 1;
        sample->bits = source.sixteenBit ? 16 : 8;
        sample->fileRate = kFileRate;
        sample->length = toFrames(source.bytes, source);
    }
    // Loop points stay inside the sample; an empty loop is none.
    const int32_t begin = std::min(toFrames(loopStart, source), sample->length);
    const int32_t end = std::clamp(toFrames(uint64_t{loopStart} + loopLength, source), begin, sample->length);
    sample->loop.type = begin < end ? loopType(type) : 0;
    sample->loop.setBegin(begin);
    sample->loop.setEnd(end);
    return source;
}

bool readXmSampleData(TesselMemoryFile& file, const XmSampleSource& source, TesselSample* sample)
{
    const size_t start = file.offset();
    if (!sample || !source.kept) {
        file.skip(source.bytes);
        return false;
    }
    if (source.packed) {
        platform::setStatusText(kXmPackedSamples);
        sample->clearData();
        sample->loop.reset();   // its points would lie past the cleared data
        file.skip(source.bytes);
        return false;
    }
    const auto length = static_cast<uint32_t>(std::max(sample->length, 0));
    const int channels = std::max(sample->channels, 1);
    if (!sample->audio.allocate(channels, length + kGuardFrames)) {
        sample->clearData();
        sample->loop.reset();
        file.seek(start + source.bytes);
        return true;
    }
    for (int c = 0; c < channels; ++c)
        std::fill_n(sample->audio.channel(c), length + kGuardFrames, 0.0f);
    // Data that end early leave the rest of the sample silent.
    const uint32_t present = std::min<uint32_t>(length, static_cast<uint32_t>(file.remaining() / frameBytes(source)));
    decode(file, source, *sample, present);
    if (length != 0) {
        sample->buildOverview();
        sample->audio.holdFrom(length - 1);
    }
    // The next data start after this sample's bytes, odd byte included.
    file.seek(start + source.bytes);
    return true;
}
