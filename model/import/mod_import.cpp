// Tag, song settings, sample headers, orders, patterns and sample data in the
// file's order. Words are big-endian.

#include "model/import/mod_import.h"

#include "model/audio_files/memory_file.h"
#include "model/import/import_reading.h"
#include "model/import/mod_import_parts.h"
#include "model/song/module.h"
#include "platform/status_text.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

constexpr size_t kNameSize = 20;
constexpr size_t kSampleHeaders = 20;
constexpr size_t kSampleHeaderSize = 30;
constexpr size_t kSampleNameSize = 22;
constexpr int kFileSamples = 31;
constexpr size_t kSongLength = 950;
constexpr size_t kOrders = 952;
constexpr int kOrderBytes = 128;
constexpr size_t kTag = 1080;
constexpr size_t kPatternData = 1084;
constexpr int kRows = 64;
constexpr int32_t kMaxVolume = 64;
constexpr double kTempo = 125.0;

// The tag from position `from` on reads `form` (upper case).
bool tagIs(const char tag[4], const char* form, int from)
{
    for (int i = from; i < 4; ++i)
        if (std::toupper(static_cast<unsigned char>(tag[i])) != form[i - from])
            return false;
    return true;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

struct SampleHeader {
    uint32_t length = 0;   // frames the file declares
    int finetune = 0;
};

SampleHeader readSampleHeader(TesselMemoryFile& file, int i, TesselSample& sample)
{
    const size_t at = kSampleHeaders + kSampleHeaderSize * static_cast<size_t>(i);
    sample.setName(readTextAt(file, at, kSampleNameSize).c_str());
    SampleHeader header;
    header.length = 2 * readBig16At(file, at + 22);
    header.finetune = static_cast<int>(readLittleAt(file, at + 24, 1));
    sample.defaultVolume = std::min<int32_t>(static_cast<int32_t>(readLittleAt(file, at + 25, 1)), kMaxVolume);
    const uint32_t loopStart = 2 * readBig16At(file, at + 26);
    const uint32_t loopWords = readBig16At(file, at + 28);
    sample.loop.type = loopWords >= 2 ? 1 : 0;
    sample.loop.setBegin(static_cast<int32_t>(loopStart));
    sample.loop.setEnd(static_cast<int32_t>(loopStart + 2 * loopWords));
    return header;
}

// Orders up to the song length; the largest of all 128 bytes counts the patterns.
int readOrders(TesselMemoryFile& file, TesselModule& song)
{
    const int length = std::min<int>(static_cast<int>(readLittleAt(file, kSongLength, 1)), kOrderBytes);
    int largest = 0;
    file.seek(kOrders);
    for (int i = 0; i < kOrderBytes; ++i) {
        const int k = static_cast<int>(file.readUInt(1));
        largest = std::max(largest, k);
        if (i < length)
            song.orderList.entries[static_cast<size_t>(i)].pattern = k < kPatterns ? k : kOrderEmpty;
    }
    song.orderList.updateLength();
    return largest + 1;
}

void readPattern(TesselMemoryFile& file, size_t at, int channels, TesselPattern& pattern)
{
    pattern.setLength(kRows);
    file.seek(at);
    for (int r = 0; r < kRows && !file.atEnd(); ++r) {
        for (int c = 0; c < channels; ++c) {
            uint8_t bytes[4] = {};
            for (uint8_t& b : bytes)
                b = static_cast<uint8_t>(file.readUInt(1));
            TesselSubrowData cell;
            if (convertModCell(bytes, cell))
                static_cast<TesselSubrow&>(pattern.tracks.getTrack(c).getRow(r)).assign(cell);
        }
    }
}

void readSampleData(TesselMemoryFile& file, size_t at, const SampleHeader& header, TesselSample& sample)
{
    // A header cannot promise more audio than the file holds.
    const uint32_t length = framesInFile(file, at, header.length, 1);
    sample.length = static_cast<int32_t>(length);
    sample.channels = 1;
    sample.bits = length ? 8 : 0;
    sample.fileRate = length ? kImportFileRate : 0;
    sample.speed = modFinetuneSpeed(header.finetune);
    boundImportedLoop(sample);
    if (!allocateImportedAudio(sample, 1, length))
        return;
    file.seek(at);
    readImportedChannel(file, sample.audio.channel(0), length, 1, 0);
    finishImportedAudio(sample);
}

int importImage(TesselMemoryFile& file, TesselModule& song)
{
    char tag[4];
    for (int i = 0; i < 4; ++i)
        tag[i] = static_cast<char>(readLittleAt(file, kTag + static_cast<size_t>(i), 1));
    const int channels = modChannelsFromTag(tag);
    if (channels == 0) {
        char shown[5] = {};
        for (int i = 0; i < 4; ++i)
            shown[i] = std::isprint(static_cast<unsigned char>(tag[i])) ? tag[i] : '?';
        platform::formatStatusText("Error: File is not a recognised MOD format. (%s)", shown);
        return kImportUnreadable;
    }
    // Rows keep the source's length at any speed only in speed mode.
    song.timingMode = TesselModule::Speed;
    for (int i = 0; i < channels; ++i)
        song.channels[static_cast<size_t>(i)].setPanning((((i >> 1) ^ i) & 1) ? 64 : 0);
    const std::string name = readTextAt(file, 0, kNameSize);
    std::memcpy(song.text, name.data(), name.size());
    song.tempo = kTempo;

    SampleHeader headers[kFileSamples];
    for (int i = 0; i < kFileSamples; ++i)
        headers[i] = readSampleHeader(file, i, song.samples[static_cast<size_t>(i)]);

    const size_t patternBytes = size_t{kRows} * static_cast<size_t>(channels) * 4;
    const int patternsInFile = readOrders(file, song);
    for (int p = 0; p < std::min(patternsInFile, kPatterns); ++p)
        readPattern(file, kPatternData + patternBytes * static_cast<size_t>(p), channels,
                    song.patterns[static_cast<size_t>(p)]);
    song.convertImportedEffects();

    size_t at = kPatternData + patternBytes * static_cast<size_t>(patternsInFile);
    for (int i = 0; i < kFileSamples; ++i) {
        readSampleData(file, at, headers[i], song.samples[static_cast<size_t>(i)]);
        at += headers[i].length;
    }
    return kImportLoaded;
}

} // namespace

int modChannelsFromTag(const char tag[4])
{
    if (tagIs(tag, "M.K.", 0) || tagIs(tag, "M!K!", 0) || tagIs(tag, "FLT4", 0))
        return 4;
    int channels = 0;
    if (isDigit(tag[0]) && tagIs(tag, "CHN", 1))
        channels = tag[0] - '0';
    else if (isDigit(tag[0]) && isDigit(tag[1]) && tagIs(tag, "CH", 2))
        channels = (tag[0] - '0') * 10 + (tag[1] - '0');
    return channels <= kChannels ? channels : 0;
}

int importMod(const uint8_t* data, size_t size, TesselModule& song)
{
    song.reset(120.0, 6.0, 4);
    TesselMemoryFile file;
    if (size > UINT32_MAX || !file.assign(data, static_cast<uint32_t>(size)))
        return kImportUnreadable;
    return importImage(file, song);
}

int importMod(const std::string& path, TesselModule& song)
{
    song.reset(120.0, 6.0, 4);
    TesselMemoryFile file;
    if (!file.load(path))
        return kImportUnreadable;
    return importImage(file, song);
}
