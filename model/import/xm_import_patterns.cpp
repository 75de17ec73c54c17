// Packed patterns: a header found again when its length field is not
// plausible, then cells row by row, each channel in turn.

#include "model/audio_files/memory_file.h"
#include "model/import/xm_effects.h"
#include "model/import/xm_import_parts.h"
#include "model/song/module.h"
#include "platform/status_text.h"

#include <algorithm>

namespace {

constexpr uint32_t kMaxHeaderLength = 256;
constexpr uint32_t kPlainHeaderLength = 9;
constexpr int kDefaultRows = 64;
constexpr int kMaxInstrument = 99;
constexpr uint8_t kPackedCell = 0x80;
enum PackedFields : uint8_t { kNote = 1, kInstrument = 2, kVolume = 4, kEffect = 8, kParameter = 16 };
constexpr int kNoteOff = 97;
constexpr int kVolumeFirst = 0x10;
constexpr int kVolumeLast = 0x50;

// The packed data of one pattern; bytes beyond it read as absent.
class PackedData {
public:
    PackedData(TesselMemoryFile& file, size_t size) : file_(file), left_(std::min(size, file.remaining())) {}

    bool more() const { return left_ != 0; }
    // The next byte, or -1 when the pattern's data are used up.
    int next()
    {
        if (left_ == 0)
            return -1;
        --left_;
        return static_cast<int>(file_.readUInt(1));
    }

private:
    TesselMemoryFile& file_;
    size_t left_;
};

struct Cell {
    int note = -1;
    int instrument = -1;
    int volume = -1;
    int effect = -1;
    int parameter = -1;
};

Cell readCell(PackedData& data)
{
    Cell cell;
    const int u = data.next();
    if (u < 0)
        return cell;
    if (u & kPackedCell) {
        if (u & kNote)
            cell.note = data.next();
        if (u & kInstrument)
            cell.instrument = data.next();
        if (u & kVolume)
            cell.volume = data.next();
        if (u & kEffect)
            cell.effect = data.next();
        if (u & kParameter)
            cell.parameter = data.next();
    } else {
        cell.note = u;
        cell.instrument = data.next();
        cell.volume = data.next();
        cell.effect = data.next();
        cell.parameter = data.next();
    }
    return cell;
}

// The volume column's effects (slides, fine slides, panning, vibrato and
// tone portamento), as the effect column would give them. A cell has one
// effect: these take it only when the effect column leaves it empty. A
// slide by 0 does nothing in the format, where the effect would slide by its
// last value.
void convertVolumeColumn(TesselSubrowData& data, int v)
{
    const int kind = v >> 4, y = v & 0x0F;
    if (kind == 0xC) {
        data.panning = static_cast<int16_t>(y * 4);
        return;
    }
    if (data.effect.command != '.')
        return;
    struct Mapping {
        int kind, effect, parameter;
        bool needsAmount;
    };
    const Mapping mappings[] = {
        {0x6, 0xA, y, true},        {0x7, 0xA, y << 4, true},   // volume slide down, up
        {0x8, 0xE, 0xB0 | y, true}, {0x9, 0xE, 0xA0 | y, true}, // fine volume slide down, up
        {0xB, 0x4, y, false},                                   // vibrato depth
        {0xD, 25, y, true},         {0xE, 25, y << 4, true},    // panning slide left, right
        {0xF, 0x3, y << 4, false},                              // tone portamento
    };
    for (const Mapping& m : mappings)
        if (m.kind == kind && (y != 0 || !m.needsAmount))
            convertXmEffect(data, m.effect, m.parameter);
}

int16_t pitchOf(int note)
{
    if (note == kNoteOff)
        return 255;
    // 98 and above lie outside the format: no note.
    return static_cast<int16_t>(note >= 1 && note < kNoteOff ? note + 11 : -1);
}

void storeCell(const Cell& cell, TesselPattern& pattern, int channel, int row)
{
    if (channel >= kChannels || cell.instrument > kMaxInstrument)
        return;
    TesselSubrowData data;
    data.pitch = pitchOf(cell.note);
    data.instrument = static_cast<int16_t>(std::max(cell.instrument, 0));
    if (cell.volume >= kVolumeFirst && cell.volume <= kVolumeLast)
        data.volume = static_cast<int16_t>(cell.volume - kVolumeFirst);
    if (cell.effect >= 0)
        convertXmEffect(data, cell.effect, std::max(cell.parameter, 0), cell.parameter >= 0);
    if (cell.volume > kVolumeLast)
        convertVolumeColumn(data, cell.volume);
    if (data.pitch == -1 && data.instrument == 0 && data.volume == -1 && data.panning == -1 &&
        data.effect.command == '.')
        return;
    pattern.tracks.getTrack(channel).getRow(row).TesselSubrow::assign(data);
}

void readCells(TesselMemoryFile& file, size_t packedSize, int rows, int channels, TesselPattern& pattern)
{
    pattern.setLength(rows);
    PackedData data(file, packedSize);
    for (int row = 0; row < rows && data.more(); ++row)
        for (int channel = 0; channel < channels && data.more(); ++channel)
            storeCell(readCell(data), pattern, channel, row);
}

// The header length of the next pattern; a damaged one is searched for byte
// by byte. False when the file ends first.
bool findHeader(TesselMemoryFile& file, uint32_t& length)
{
    for (;;) {
        if (!file.canRead(4))
            return false;
        length = file.readUInt(4);
        const size_t after = file.offset();
        if (length < kMaxHeaderLength && after + length < size_t{file.size} + kPlainHeaderLength)
            return true;
        file.seek(after - 3);
    }
}

} // namespace

void readXmPatterns(TesselMemoryFile& file, const XmHeader& header, TesselModule& song)
{
    for (int p = 0; p < header.patterns; ++p) {
        uint32_t length = 0;
        if (!findHeader(file, length))
            return;
        const size_t headerStart = file.offset() - 4;
        file.skip(1);   // packing type
        int rows = static_cast<int>(file.readUInt(2));
        if (rows == 0 || rows > kMaxRows)
            rows = kDefaultRows;
        const uint32_t packedSize = file.readUInt(2);
        // Data follow the header by its own length.
        file.seek(headerStart + std::max(length, kPlainHeaderLength));
        const size_t dataStart = file.offset();
        if (p >= kPatterns) {
            platform::setStatusText(kXmTooManyPatterns);
        } else if (packedSize != 0) {
            readCells(file, packedSize, rows, header.channels, song.patterns[static_cast<size_t>(p)]);
        }
        file.seek(dataStart + packedSize);
    }
}
