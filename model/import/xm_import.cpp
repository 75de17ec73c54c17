// Signature, header and orders, then the patterns and instruments in the
// file's order.

#include "model/import/xm_import.h"

#include "model/import/import_reading.h"

#include "model/audio_files/memory_file.h"
#include "model/import/xm_import_parts.h"
#include "model/song/module.h"
#include "platform/status_text.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr char kSignature[] = "Extended Module: ";
constexpr size_t kSignatureLength = sizeof kSignature - 1;
constexpr size_t kSongName = 17;
constexpr size_t kSongNameLength = 20;
constexpr size_t kMarker = 37;
constexpr uint8_t kMarkerByte = 0x1A;
constexpr size_t kVersion = 58;
constexpr size_t kHeaderSize = 60;
constexpr size_t kOrders = 80;

XmHeader readHeader(TesselMemoryFile& file)
{
    XmHeader h;
    h.headerSize = readLittleAt(file, kHeaderSize, 4);
    h.songLength = static_cast<uint16_t>(readLittleAt(file, 64, 2));
    h.channels = static_cast<uint16_t>(readLittleAt(file, 68, 2));
    h.patterns = static_cast<uint16_t>(readLittleAt(file, 70, 2));
    h.instruments = static_cast<uint16_t>(readLittleAt(file, 72, 2));
    h.speed = static_cast<uint16_t>(readLittleAt(file, 76, 2));
    h.tempo = static_cast<uint16_t>(readLittleAt(file, 78, 2));
    return h;
}

void readSong(TesselMemoryFile& file, const XmHeader& h, TesselModule& song)
{
    file.seek(kSongName);
    const std::string name = readXmText(file, kSongNameLength);
    std::memcpy(song.text, name.c_str(), name.size() + 1);

    // Rows keep the file's length at any speed only in the speed timing mode.
    song.timingMode = TesselModule::Speed;
    // A speed or tempo of 0 would stop the song's clock: the defaults stay.
    // The header's fields are 16 bits wide; the format's own range is far
    // narrower, and more would only make the audio thread run without end.
    if (h.speed != 0)
        song.resolution = std::min<double>(h.speed, kMaxSongSpeed);
    if (h.tempo != 0)
        song.tempo = std::min<double>(h.tempo, kMaxSongTempo);

    const int used = std::min<int>(h.songLength, kOrderEntries);
    file.seek(kOrders);
    for (int i = 0; i < used; ++i) {
        const auto p = static_cast<int32_t>(file.readUInt(1));
        song.orderList.entries[static_cast<size_t>(i)].pattern = p < kPatterns ? p : kOrderEmpty;
    }
    song.orderList.updateLength();
}

} // namespace

std::string readXmText(TesselMemoryFile& file, size_t n)
{
    std::string text;
    const size_t end = file.offset() + n;
    for (size_t i = 0; i < n; ++i) {
        const auto c = static_cast<char>(file.readUInt(1));
        if (c == '\0')
            break;
        text.push_back(c);
    }
    file.seek(end);
    return text;
}

int importFastTracker(TesselMemoryFile& file, TesselModule& song)
{
    song.reset(120.0, 6.0, 4);
    if (!file.data || file.size < kSignatureLength ||
        std::memcmp(file.data, kSignature, kSignatureLength) != 0) {
        platform::setStatusText("Error: File is not Fast Tracker format.");
        return kXmNotLoaded;
    }
    if (readLittleAt(file, kMarker, 1) != kMarkerByte)
        return kXmNotLoaded;
    if (readLittleAt(file, kVersion, 2) != 0x0104) {
        platform::setStatusText("Error: Older XM format (<v1.04) not supported.");
        return kXmNotLoaded;
    }

    const XmHeader header = readHeader(file);
    readSong(file, header, song);
    file.seek(kHeaderSize + size_t{header.headerSize});
    readXmPatterns(file, header, song);
    song.convertImportedEffects();
    const bool dropped = readXmInstruments(file, header.instruments, song);
    return dropped ? kXmLoadedWithWarning : kXmLoaded;
}

int importFastTracker(const std::string& path, TesselModule& song)
{
    TesselMemoryFile file;
    if (!file.load(path)) {
        song.reset(120.0, 6.0, 4);
        return kXmNotLoaded;
    }
    return importFastTracker(file, song);
}
