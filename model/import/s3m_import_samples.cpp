// Sample headers (type 1, sampled instruments) and their audio: the frames of
// each channel in turn, 8 or 16 bits little-endian, signed or unsigned.

#include "model/audio_files/memory_file.h"
#include "model/import/import_reading.h"
#include "model/import/s3m_import_parts.h"
#include "model/sample/sample.h"

#include <algorithm>

namespace {

constexpr uint32_t kSampledInstrument = 1;
constexpr size_t kFileNameSize = 12;
constexpr uint32_t kPacked = 1;
constexpr uint32_t kLoopFlag = 1;
constexpr uint32_t kStereoFlag = 2;
constexpr uint32_t kSixteenBitFlag = 4;
constexpr int32_t kMaxVolume = 64;

// The high byte at 13 extends the 16-bit paragraph number at 14; files that
// leave junk in it point past their end, and then only the low part counts.
size_t dataPosition(TesselMemoryFile& file, size_t at)
{
    const size_t high = readLittleAt(file, at + 13, 1);
    const size_t low = readLittleAt(file, at + 14, 2);
    const size_t offset = ((high << 16) + low) * kS3mParagraph;
    return offset < file.size ? offset : low * kS3mParagraph;
}

} // namespace

S3mSampleSource readS3mSampleHeader(TesselMemoryFile& file, size_t at, TesselSample& sample)
{
    S3mSampleSource source;
    if (readLittleAt(file, at, 1) != kSampledInstrument)
        return source;
    source.used = true;
    sample.filename = readTextAt(file, at + 1, kFileNameSize);
    source.offset = dataPosition(file, at);
    const uint32_t declared = readLittleAt(file, at + 16, 2);
    const uint32_t loopBegin = readLittleAt(file, at + 20, 2);
    const uint32_t loopEnd = readLittleAt(file, at + 24, 2);
    sample.defaultVolume = std::min<int32_t>(static_cast<int32_t>(readLittleAt(file, at + 28, 1)), kMaxVolume);
    source.packed = readLittleAt(file, at + 30, 1) == kPacked;
    const uint32_t flags = readLittleAt(file, at + 31, 1);
    sample.speed = static_cast<int32_t>(readLittleAt(file, at + 32, 2));
    sample.setName(readTextAt(file, at + 48, kSampleNameLength).c_str());

    sample.channels = (flags & kStereoFlag) ? 2 : 1;
    const int bytes = (flags & kSixteenBitFlag) ? 2 : 1;
    // A header cannot promise more audio than the file holds.
    source.stride = declared;
    const uint32_t length = framesInFile(file, source.offset, declared, static_cast<uint32_t>(bytes * sample.channels));
    sample.length = static_cast<int32_t>(length);
    sample.bits = length ? 8 * bytes : 0;
    sample.fileRate = length ? kImportFileRate : 0;
    sample.loop.type = (flags & kLoopFlag) ? 1 : 0;
    sample.loop.setBegin(static_cast<int32_t>(loopBegin));
    sample.loop.setEnd(static_cast<int32_t>(loopEnd));
    boundImportedLoop(sample);
    return source;
}

void readS3mSampleData(TesselMemoryFile& file, const S3mSampleSource& source, bool isSigned, TesselSample& sample)
{
    const uint32_t length = static_cast<uint32_t>(sample.length);
    if (!allocateImportedAudio(sample, sample.channels, length))
        return;
    // Packed data are not decoded: the zeroed buffers give silence.
    if (!source.packed && length > 0) {
        const int bytes = sample.bits / 8;
        const int32_t offset = isSigned ? 0 : (bytes == 1 ? 0x80 : 0x8000);
        for (int c = 0; c < sample.channels; ++c) {
            file.seek(source.offset + static_cast<size_t>(c) * source.stride * static_cast<size_t>(bytes));
            readImportedChannel(file, sample.audio.channel(c), length, bytes, offset);
        }
    }
    finishImportedAudio(sample);
}
