// Header, channel settings, orders and parapointers, then each structure in
// the file's order of work.

#include "model/import/s3m_import.h"

#include "model/audio_files/memory_file.h"
#include "model/import/import_reading.h"
#include "model/import/s3m_import_parts.h"
#include "model/song/module.h"
#include "platform/status_text.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr size_t kNameSize = 28;
constexpr size_t kChannelSettings = 64;
constexpr int kFileChannels = 32;
constexpr size_t kOrders = 96;
constexpr uint8_t kDisabled = 0x80;
constexpr uint8_t kOrderEndByte = 255;
constexpr uint8_t kOrderSkipByte = 254;
constexpr uint16_t kSignedSamples = 1;
constexpr char kNotS3m[] = "Error: File is not Scream Tracker 3 format.";

struct Header {
    uint16_t orders = 0;
    uint16_t samples = 0;
    uint16_t patterns = 0;
    uint16_t format = 0;
    uint8_t speed = 0;
    uint8_t tempo = 0;

    size_t sampleTable() const { return kOrders + orders; }
    size_t patternTable() const { return sampleTable() + 2 * size_t{samples}; }
};

bool isS3m(TesselMemoryFile& file)
{
    if (readLittleAt(file, 28, 1) != 0x1A || readLittleAt(file, 29, 1) != 16)
        return false;
    file.seek(44);
    return file.match("SCRM");
}

Header readHeader(TesselMemoryFile& file)
{
    Header h;
    h.orders = static_cast<uint16_t>(readLittleAt(file, 32, 2));
    h.samples = static_cast<uint16_t>(readLittleAt(file, 34, 2));
    h.patterns = static_cast<uint16_t>(readLittleAt(file, 36, 2));
    h.format = static_cast<uint16_t>(readLittleAt(file, 42, 2));
    h.speed = static_cast<uint8_t>(readLittleAt(file, 49, 1));
    h.tempo = static_cast<uint8_t>(readLittleAt(file, 50, 1));
    return h;
}

void readSong(TesselMemoryFile& file, const Header& h, TesselModule& song)
{
    const std::string name = readTextAt(file, 0, kNameSize);
    std::memcpy(song.text, name.data(), name.size());
    // Rows keep the source's length at any speed only in speed mode.
    song.timingMode = TesselModule::Speed;
    // A speed or tempo of 0 would stop the clock: the reset's values stay.
    if (h.speed != 0)
        song.resolution = h.speed;
    if (h.tempo != 0)
        song.tempo = h.tempo;

    for (int c = 0; c < kFileChannels; ++c)
        if (readLittleAt(file, kChannelSettings + static_cast<size_t>(c), 1) & kDisabled)
            song.channels[static_cast<size_t>(c)].mute = 1;

    const int orders = std::min<int>(h.orders, kOrderEntries);
    file.seek(kOrders);
    for (int i = 0; i < orders; ++i) {
        const uint32_t k = file.readUInt(1);
        int32_t& entry = song.orderList.entries[static_cast<size_t>(i)].pattern;
        entry = k == kOrderEndByte ? kOrderEnd : k == kOrderSkipByte ? kOrderSkip : k < kPatterns ? int32_t(k) : kOrderEmpty;
    }
    song.orderList.updateLength();
}

size_t parapointer(TesselMemoryFile& file, size_t table, int i)
{
    return kS3mParagraph * readLittleAt(file, table + 2 * static_cast<size_t>(i), 2);
}

int importImage(TesselMemoryFile& file, TesselModule& song, const TesselSongSettings& fallback)
{
    if (!isS3m(file)) {
        song.reset(fallback.tempo, fallback.resolution, fallback.rowsPerQuarter);
        platform::setStatusText(kNotS3m);
        return kImportUnreadable;
    }
    const Header h = readHeader(file);
    readSong(file, h, song);

    const int samples = std::min<int>(h.samples, kSamples);
    std::array<S3mSampleSource, kSamples> sources{};
    for (int i = 0; i < samples; ++i) {
        const size_t at = parapointer(file, h.sampleTable(), i);
        sources[static_cast<size_t>(i)] = readS3mSampleHeader(file, at, song.samples[static_cast<size_t>(i)]);
    }

    const int patterns = std::min<int>(h.patterns, kPatterns);
    for (int p = 0; p < patterns; ++p) {
        const size_t at = parapointer(file, h.patternTable(), p);
        if (at != 0)
            readS3mPattern(file, at, song.patterns[static_cast<size_t>(p)]);
    }
    song.convertImportedEffects();

    for (int i = 0; i < samples; ++i) {
        const S3mSampleSource& source = sources[static_cast<size_t>(i)];
        if (source.used)
            readS3mSampleData(file, source, h.format == kSignedSamples, song.samples[static_cast<size_t>(i)]);
    }
    return kImportLoaded;
}

} // namespace

int importScreamTracker3(const uint8_t* data, size_t size, TesselModule& song, const TesselSongSettings& fallback)
{
    song.reset(120.0, 6.0, 4);
    TesselMemoryFile file;
    if (size > UINT32_MAX || !file.assign(data, static_cast<uint32_t>(size)))
        return kImportUnreadable;
    return importImage(file, song, fallback);
}

int importScreamTracker3(const std::string& path, TesselModule& song, const TesselSongSettings& fallback)
{
    song.reset(120.0, 6.0, 4);
    TesselMemoryFile file;
    if (!file.load(path))
        return kImportUnreadable;
    return importImage(file, song, fallback);
}
