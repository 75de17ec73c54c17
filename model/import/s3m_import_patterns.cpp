// Packed patterns: 64 rows of entries, each naming its channel and the parts
// that follow; a zero byte ends the row.

#include "model/audio_files/memory_file.h"
#include "model/import/import_reading.h"
#include "model/import/s3m_import_parts.h"
#include "model/instrument/instrument.h"
#include "model/song/pattern.h"

namespace {

constexpr int kRows = 64;
constexpr uint8_t kChannelMask = 31;
constexpr uint8_t kNotePresent = 0x20;
constexpr uint8_t kVolumePresent = 0x40;
constexpr uint8_t kEffectPresent = 0x80;
constexpr uint8_t kNoteCut = 254;
constexpr uint8_t kNoNote = 255;
constexpr int kHighestPitch = 119;
constexpr uint8_t kLastCommand = 26;   // 'Z'

// Octave in the high nibble, semitone in the low one.
int16_t pitchOf(uint32_t note)
{
    if (note == kNoteCut)
        return kNoteCut;
    if (note == kNoNote)
        return -1;
    const int pitch = static_cast<int>(note >> 4) * 12 + static_cast<int>(note & 15) + 12;
    return pitch <= kHighestPitch ? static_cast<int16_t>(pitch) : -1;
}

} // namespace

void readS3mPattern(TesselMemoryFile& file, size_t at, TesselPattern& pattern)
{
    pattern.setLength(kRows);
    const size_t dataEnd = at + 2 + readLittleAt(file, at, 2);
    int row = 0;
    while (row < kRows && file.offset() < dataEnd && !file.atEnd()) {
        const uint32_t g = file.readUInt(1);
        if (g == 0) {
            ++row;
            continue;
        }
        TesselSubrowData cell;
        cell.pitch = -1;
        if (g & kNotePresent) {
            cell.pitch = pitchOf(file.readUInt(1));
            const uint32_t instrument = file.readUInt(1);
            // Beyond the song's instrument slots the number cannot be played.
            cell.instrument = instrument <= kInstruments ? static_cast<int16_t>(instrument) : 0;
        }
        if (g & kVolumePresent)
            cell.volume = static_cast<int16_t>(file.readUInt(1));
        if (g & kEffectPresent) {
            const uint32_t command = file.readUInt(1);
            const uint32_t info = file.readUInt(1);
            if (command != 0 && command <= kLastCommand) {
                cell.effect.command = static_cast<char>('@' + command);
                cell.effect.parameter = static_cast<int16_t>(info);
            }
        }
        if (cell.pitch == -1 && cell.instrument == 0 && cell.volume == -1 && cell.effect.command == '.')
            continue;
        TesselRow& target = pattern.tracks.getTrack(static_cast<int>(g & kChannelMask)).getRow(row);
        if (cell.pitch != -1)
            target.pitch = cell.pitch;
        if (cell.instrument != 0)
            target.instrument = cell.instrument;
        if (cell.volume != -1)
            target.volume = cell.volume;
        if (cell.effect.command != '.')
            target.effect = cell.effect;
    }
}
