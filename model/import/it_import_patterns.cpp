// Packed patterns: per channel a mask byte says which of note, instrument,
// volume column and effect follow, and which repeat the channel's last ones.

#include "model/import/it_import_parts.h"
#include "model/song/pattern.h"

#include <algorithm>
#include <array>

namespace {

constexpr uint8_t kNote = 0x01, kInstrument = 0x02, kVolumeColumn = 0x04, kEffect = 0x08;
constexpr int kLastNote = 4;   // bits 4..7 repeat the last value of bits 0..3
constexpr uint16_t kDefaultRows = 64;

struct LastCell {
    int16_t note = -1;
    int16_t instrument = 0;
    int16_t volumeColumn = -1;
    char command = '.';
    int16_t parameter = 0;
};

int16_t itNote(uint8_t n)
{
    if (n < 120 || n >= 254)
        return n;   // pitch, or 254 note cut and 255 note off
    return -1;
}

void setEffect(LastCell& cell, uint8_t command, uint8_t parameter)
{
    cell.command = '.';
    cell.parameter = 0;
    // Commands past 'Z' have no letter.
    if (command == 0 || command > 26)
        return;
    const char letter = static_cast<char>('@' + command);
    if (letter == 'S' && parameter == 0x91)
        return;
    // T0x and T1x are tempo slides, not tempos of 0 to 31.
    if (letter == 'T' && parameter < 0x20)
        return;
    cell.command = letter;
    cell.parameter = parameter;
}

void applyVolumeColumn(TesselRow& row, int16_t value)
{
    if (value >= 0 && value <= 64)
        row.volume = value;
    else if (value >= 128 && value <= 192)
        row.panning = static_cast<int16_t>(value - 128);
}

} // namespace

void readItPattern(const ItView& file, size_t at, TesselPattern& pattern, ItLog& log)
{
    const uint16_t packed = file.u16(at);
    if (packed == 0)
        return;
    const std::string name = "pattern " + std::to_string(pattern.index);
    int rows = file.u16(at + 2);
    if (rows > kMaxRows) {
        log.warn(name + ": " + std::to_string(rows) + " rows cut to 256");
        rows = kMaxRows;
    } else if (rows == 0) {
        log.warn(name + ": no rows, given 64");
        rows = kDefaultRows;
    }
    pattern.setLength(rows);
    if (file.available(at + 8) < packed)
        log.warn(name + ": packed data cut short by the end of the file");

    std::array<uint8_t, kChannels> masks{};
    std::array<LastCell, kChannels> last{};
    const size_t end = at + 8 + std::min<size_t>(packed, file.available(at + 8));
    size_t position = at + 8;
    int row = 0;
    bool pastEnd = false;
    while (position < end) {
        const uint8_t c = file.u8(position++);
        if (c == 0) {
            ++row;
            continue;
        }
        const int channel = (c - 1) & (kChannels - 1);
        if (c & 0x80)
            masks[channel] = file.u8(position++);
        const uint8_t mask = masks[channel];
        LastCell& cell = last[channel];
        if (mask & kNote)
            cell.note = itNote(file.u8(position++));
        if (mask & kInstrument)
            cell.instrument = std::min<int16_t>(file.u8(position++), 99);
        if (mask & kVolumeColumn)
            cell.volumeColumn = file.u8(position++);
        if (mask & kEffect) {
            const uint8_t command = file.u8(position++);
            setEffect(cell, command, file.u8(position++));
        }
        if (mask == 0)
            continue;
        if (row >= rows) {
            pastEnd = true;
            continue;
        }
        TesselRow& target = pattern.tracks.getTrack(channel).getRow(row);
        if (mask & (kNote | kNote << kLastNote))
            target.pitch = cell.note;
        if (mask & (kInstrument | kInstrument << kLastNote))
            target.instrument = cell.instrument;
        if (mask & (kVolumeColumn | kVolumeColumn << kLastNote))
            applyVolumeColumn(target, cell.volumeColumn);
        if (mask & (kEffect | kEffect << kLastNote)) {
            target.effect.cellIndex = 0;
            target.effect.command = cell.command;
            target.effect.parameter = cell.parameter;
        }
    }
    if (pastEnd)
        log.warn(name + ": cells beyond row " + std::to_string(rows) + " dropped");
}
