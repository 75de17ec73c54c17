// Header, channels, orders and offset tables, then each structure in the
// file's order of work.

#include "model/audio_files/memory_file.h"
#include "model/import/it_import.h"
#include "model/import/it_import_parts.h"
#include "model/song/module.h"
#include "platform/status_text.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr size_t kOrders = 192;
constexpr size_t kSongName = 4;
constexpr size_t kSongNameSize = 26;
constexpr size_t kChannelPan = 64;
constexpr size_t kChannelVolume = 128;
constexpr uint16_t kNewInstruments = 0x200;
constexpr uint16_t kIntegrateTwice = 0x215;
constexpr uint8_t kMuted = 0x80;
constexpr uint8_t kSurround = 100;
constexpr uint16_t kExtendedFilterRange = 0x1000;
constexpr uint16_t kUseInstruments = 0x0004;

struct Header {
    uint8_t rowsPerBeat = 0;
    uint8_t rowsPerMeasure = 0;
    uint16_t orders = 0;
    uint16_t instruments = 0;
    uint16_t samples = 0;
    uint16_t patterns = 0;
    uint16_t compatible = 0;
    uint16_t flags = 0;
    uint8_t speed = 0;
    uint8_t tempo = 0;
    uint8_t pitchWheelDepth = 0;

    size_t instrumentTable() const { return kOrders + orders; }
    size_t sampleTable() const { return instrumentTable() + 4 * size_t{instruments}; }
    size_t patternTable() const { return sampleTable() + 4 * size_t{samples}; }
};

Header readHeader(const ItView& file)
{
    Header h;
    h.rowsPerBeat = file.u8(30);
    h.rowsPerMeasure = file.u8(31);
    h.orders = file.u16(32);
    h.instruments = file.u16(34);
    h.samples = file.u16(36);
    h.patterns = file.u16(38);
    h.compatible = file.u16(42);
    h.flags = file.u16(44);
    h.speed = file.u8(50);
    h.tempo = file.u8(51);
    h.pitchWheelDepth = file.u8(53);
    return h;
}

void readSong(const ItView& file, const Header& h, TesselModule& song, ItLog& log)
{
    const std::string name = file.text(kSongName, kSongNameSize);
    std::memcpy(song.text, name.data(), name.size());
    song.text[name.size()] = '\0';
    // Rows keep the source's length at any speed only in speed mode.
    song.timingMode = TesselModule::Speed;
    if (h.speed != 0)
        song.resolution = h.speed;
    else
        log.warn("song speed 0 replaced by 6");
    if (h.tempo != 0)
        song.tempo = h.tempo;
    else
        log.warn("song tempo 0 replaced by 120");

    bool badChannel = false;
    for (int c = 0; c < kChannels; ++c) {
        TesselChannel& channel = song.channels[static_cast<size_t>(c)];
        int pan = file.u8(kChannelPan + static_cast<size_t>(c));
        if (pan & kMuted) {
            channel.mute = 1;
            pan -= kMuted;
        }
        if (pan == kSurround)
            pan = 32;
        const int volume = file.u8(kChannelVolume + static_cast<size_t>(c));
        // A disabled channel's pan byte is often 255; its panning is moot.
        badChannel = badChannel || (pan > 64 && !channel.mute) || volume > 64;
        channel.setPanning(pan);
        channel.setVolume(volume);
    }
    if (badChannel)
        log.warn("channel pan or volume above 64 cut to 64");

    const int orders = std::min<int>(h.orders, kOrderEntries);
    for (int i = 0; i < orders; ++i) {
        const uint8_t k = file.u8(kOrders + static_cast<size_t>(i));
        int32_t& entry = song.orderList.entries[static_cast<size_t>(i)].pattern;
        entry = k == 255 ? kOrderEnd : k == 254 ? kOrderSkip : k < kPatterns ? k : kOrderEmpty;
    }
    song.orderList.updateLength();
}

// Header offsets beyond the model's slots are checked for their tag only.
bool tagsPresent(const ItView& file, size_t table, int from, int count, const char* tag)
{
    for (int i = from; i < count; ++i)
        if (!file.hasTag(file.u32(table + 4 * static_cast<size_t>(i)), tag))
            return false;
    return true;
}

// False when an instrument offset does not lead to "IMPI".
bool readInstruments(const ItView& file, const Header& h, TesselModule& song, ItLog& log)
{
    if (!(h.flags & kUseInstruments)) {
        // A song in sample mode plays cell n with sample n, as the reset
        // instruments' key maps do; the file's instruments (often left over
        // from editing) play no part.
        for (TesselInstrument& instrument : song.instruments) {
            instrument.filterRange = (h.flags & kExtendedFilterRange) ? 1 : 0;
            instrument.setMidiPitchBend(h.pitchWheelDepth);
        }
        return true;
    }
    const bool newLayout = h.compatible >= kNewInstruments;
    const int count = std::min<int>(h.instruments, kInstruments);
    for (int i = 0; i < count; ++i) {
        const uint32_t at = file.u32(h.instrumentTable() + 4 * static_cast<size_t>(i));
        if (!file.hasTag(at, "IMPI"))
            return false;
        TesselInstrument& instrument = song.instruments[static_cast<size_t>(i)];
        readItInstrument(file, at, newLayout, instrument, log);
        instrument.filterRange = (h.flags & kExtendedFilterRange) ? 1 : 0;
        instrument.setMidiPitchBend(h.pitchWheelDepth);
    }
    if (!tagsPresent(file, h.instrumentTable(), count, h.instruments, "IMPI"))
        return false;
    if (h.instruments > kInstruments)
        log.warn("instruments beyond 99 dropped");
    return true;
}

// False when a sample offset does not lead to "IMPS".
bool readSampleHeaders(const ItView& file, const Header& h, TesselModule& song, std::vector<ItSampleSource>& sources,
                       ItLog& log)
{
    for (size_t i = 0; i < sources.size(); ++i) {
        const uint32_t at = file.u32(h.sampleTable() + 4 * i);
        if (!file.hasTag(at, "IMPS"))
            return false;
        sources[i] = readItSampleHeader(file, at, song.samples[i], log);
    }
    if (!tagsPresent(file, h.sampleTable(), static_cast<int>(sources.size()), h.samples, "IMPS"))
        return false;
    if (h.samples > kSamples)
        log.warn("samples beyond 99 dropped");
    return true;
}

void readPatterns(const ItView& file, const Header& h, TesselModule& song, ItLog& log)
{
    for (int p = 0; p < std::min<int>(h.patterns, kPatterns); ++p) {
        const uint32_t at = file.u32(h.patternTable() + 4 * static_cast<size_t>(p));
        if (at == 0)
            continue;
        TesselPattern& pattern = song.patterns[static_cast<size_t>(p)];
        // Zero steps would leave the editor nothing to divide by: such a file keeps the defaults.
        if (h.rowsPerMeasure != 0 && h.rowsPerBeat != 0) {
            pattern.majorStep = h.rowsPerMeasure;
            pattern.minorStep = h.rowsPerBeat;
        }
        readItPattern(file, at, pattern, log);
    }
    for (int p = kPatterns; p < h.patterns; ++p) {
        if (file.u32(h.patternTable() + 4 * static_cast<size_t>(p)) != 0) {
            log.warn("patterns beyond 200 dropped");
            return;
        }
    }
}

int importImage(const ItView& file, TesselModule& song, TesselImportReport* report)
{
    if (!file.hasTag(0, "IMPM")) {
        platform::setStatusText("Error: File is not Impulse Tracker format.");
        return kImportUnreadable;
    }
    ItLog log;
    auto finish = [&](int result) {
        if (report)
            report->warnings = std::move(log.warnings);
        return result;
    };
    const Header h = readHeader(file);
    readSong(file, h, song, log);
    if (!readInstruments(file, h, song, log)) {
        platform::setStatusText("Error: Impulse Tracker instrument(s) not found.");
        return finish(kImportHeaderMissing);
    }
    std::vector<ItSampleSource> sources(static_cast<size_t>(std::min<int>(h.samples, kSamples)));
    if (!readSampleHeaders(file, h, song, sources, log)) {
        // The headers read stay, but lengths and loops without audio behind
        // them would lead playback off a missing buffer.
        for (size_t i = 0; i < sources.size(); ++i)
            dropItSampleAudio(song.samples[i]);
        return finish(kImportHeaderMissing);
    }
    readPatterns(file, h, song, log);
    song.convertImportedEffects();
    for (size_t i = 0; i < sources.size(); ++i)
        readItSampleData(file, sources[i], h.compatible == kIntegrateTwice, song.samples[i], log);
    return finish(kImportLoaded);
}

} // namespace

bool ItView::hasTag(size_t at, const char* tag) const
{
    const size_t n = std::strlen(tag);
    return available(at) >= n && std::memcmp(data + at, tag, n) == 0;
}

std::string ItView::text(size_t at, size_t n) const
{
    std::string s;
    for (size_t i = 0; i < n && at + i < size && data[at + i] != 0; ++i)
        s.push_back(static_cast<char>(data[at + i]));
    return s;
}

int importImpulseTracker(const uint8_t* data, size_t size, TesselModule& song, TesselImportReport* report)
{
    song.reset(120.0, 6.0, 4);
    return importImage(ItView{data, size}, song, report);
}

int importImpulseTracker(const std::string& path, TesselModule& song, TesselImportReport* report)
{
    song.reset(120.0, 6.0, 4);
    TesselMemoryFile file;
    if (!file.load(path) || file.size == 0) {
        platform::setStatusText("Error: File is not Impulse Tracker format.");
        return kImportUnreadable;
    }
    return importImage(ItView{file.data, file.size}, song, report);
}
