// Instruments in the new layout (three envelopes of 25 nodes) and the old one
// (a volume envelope only, with its node list ended by tick 255).

#include "model/import/it_import_parts.h"
#include "model/instrument/instrument.h"

#include <algorithm>

namespace {

constexpr int kFileNodes = 25;
constexpr int kEnvelopeTop = 64;
constexpr uint8_t kNoteCut = 254;
constexpr size_t kKeyTable = 64;
constexpr size_t kNewEnvelopes = 304;
constexpr size_t kEnvelopeSize = 82;
constexpr size_t kOldNodes = 504;

enum EnvelopeFlags : uint8_t { kEnabled = 1, kLoop = 2, kSustain = 4, kCarry = 8, kFilter = 0x80 };

void readKeyTable(const ItView& file, size_t at, TesselInstrument& instrument, ItLog& log,
                  const std::string& name)
{
    bool badNote = false;
    for (int key = 0; key < kKeys; ++key) {
        const uint8_t note = file.u8(at + 2 * static_cast<size_t>(key));
        const uint8_t sample = file.u8(at + 2 * static_cast<size_t>(key) + 1);
        TesselRow& row = instrument.keymap.getRow(key);
        // Unused keys (sample 0) often carry 253 or 254. A row holds a note
        // cut or off like any note; other values past 119 become the key's
        // own note, worth a warning only where the key plays a sample.
        const bool usable = note < kKeys || note >= kNoteCut;
        badNote = badNote || (!usable && sample != 0);
        row.pitch = static_cast<int16_t>(usable ? note : key);
        row.instrument = static_cast<int16_t>(sample < 100 ? sample : 0);
    }
    if (badNote)
        log.warn(name + ": key table notes 120..253 replaced by the key's own note");
}

// Node indexes that the nodes do not reach would send the envelope off its
// node array; they are brought inside it.
void boundLoop(TesselLoop& loop, int count, bool& clamped)
{
    const int last = std::max(count - 1, 0);
    const int begin = std::min(loop.begin, last);
    const int end = std::clamp(loop.end, begin, last);
    if (loop.type != 0 && (begin != loop.begin || end != loop.end))
        clamped = true;
    loop.setBegin(begin);
    loop.setEnd(end);
}

void finishEnvelope(TesselEnvelope& envelope, ItLog& log, const std::string& name)
{
    bool clamped = false;
    boundLoop(envelope.loop, static_cast<int>(envelope.nodeCount), clamped);
    boundLoop(envelope.sustain, static_cast<int>(envelope.nodeCount), clamped);
    if (clamped)
        log.warn(name + ": envelope loop points beyond its nodes brought inside");
    envelope.computeSlopes();
}

int boundedCount(int count, ItLog& log, const std::string& name)
{
    if (count <= kFileNodes)
        return count;
    log.warn(name + ": " + std::to_string(count) + " envelope nodes cut to 25");
    return kFileNodes;
}

// Both layouts: a flags byte, and loop and sustain node numbers in four bytes.
uint8_t readFlagsAndLoops(const ItView& file, size_t flagsAt, size_t loopsAt, TesselEnvelope& envelope)
{
    const uint8_t flags = file.u8(flagsAt);
    envelope.enabled = (flags & kEnabled) ? TesselEnvelope::Ticks : TesselEnvelope::Off;
    envelope.loop.type = (flags & kLoop) ? 1 : 0;
    envelope.sustain.type = (flags & kSustain) ? 1 : 0;
    envelope.loop.setBegin(file.u8(loopsAt));
    envelope.loop.setEnd(file.u8(loopsAt + 1));
    envelope.sustain.setBegin(file.u8(loopsAt + 2));
    envelope.sustain.setEnd(file.u8(loopsAt + 3));
    return flags;
}

void readEnvelope(const ItView& file, size_t at, bool centred, TesselEnvelope& envelope, ItLog& log,
                  const std::string& name)
{
    envelope.carry = (readFlagsAndLoops(file, at, at + 2, envelope) & kCarry) ? 1 : 0;
    const int count = boundedCount(file.u8(at + 1), log, name);
    envelope.nodeCount = static_cast<uint32_t>(count);
    bool clamped = false;
    for (int i = 0; i < count; ++i) {
        const size_t node = at + 6 + 3 * static_cast<size_t>(i);
        // Panning and pitch values are -32..32 in the file; 32 is the centre here.
        const int value = centred ? static_cast<int8_t>(file.u8(node)) + 32 : file.u8(node);
        const uint16_t tick = file.u16(node + 1);
        clamped = clamped || tick > kMaxEnvelopeTick || value < 0 || value > kEnvelopeTop;
        envelope.node(i).tick = static_cast<uint16_t>(std::min<int>(tick, kMaxEnvelopeTick));
        envelope.node(i).value = static_cast<uint16_t>(std::clamp(value, 0, kEnvelopeTop));
    }
    if (clamped)
        log.warn(name + ": envelope nodes outside 0..64 or beyond tick 30000 brought inside");
    finishEnvelope(envelope, log, name);
}

void readNewLayout(const ItView& file, size_t at, TesselInstrument& instrument, ItLog& log, const std::string& name)
{
    instrument.newNoteAction = file.u8(at + 17);
    instrument.duplicateCheckType = file.u8(at + 18);
    instrument.duplicateAction = file.u8(at + 19);
    instrument.fadeOut = file.u16(at + 20);
    instrument.pitchSeparation = file.u8(at + 22);
    instrument.pitchCentre = file.u8(at + 23);
    instrument.globalVolume = file.u8(at + 24);
    const uint8_t pan = file.u8(at + 25);
    instrument.defaultPan = (pan & 0x80) ? -1 : std::min(pan & 0x7F, 64);
    const uint8_t channel = file.u8(at + 60);
    instrument.midiChannel = channel == 17 ? 0 : channel == 0 ? 1 : channel > 15 ? 16 : channel;
    instrument.midiOut = channel != 0 ? 1 : 0;
    auto midiByte = [&](size_t offset) { const uint8_t b = file.u8(at + offset); return b == 255 ? 0 : b; };
    instrument.midiProgram = midiByte(61);
    instrument.midiBankMsb = midiByte(62);
    instrument.midiBankLsb = midiByte(63);
    for (int e = 0; e < 3; ++e) {
        readEnvelope(file, at + kNewEnvelopes + kEnvelopeSize * static_cast<size_t>(e), e != kVolumeEnvelope,
                     instrument.envelopes[static_cast<size_t>(e)], log, name);
    }
    // A filter envelope in the pitch slot is not a pitch envelope.
    if (file.u8(at + kNewEnvelopes + 2 * kEnvelopeSize) & kFilter)
        instrument.pitchEnvelope().enabled = TesselEnvelope::Off;
}

void readOldLayout(const ItView& file, size_t at, TesselInstrument& instrument, ItLog& log, const std::string& name)
{
    TesselEnvelope& volume = instrument.volumeEnvelope();
    readFlagsAndLoops(file, at + 17, at + 18, volume);
    int count = boundedCount(file.u8(at + 22), log, name);
    for (int i = 0; i < count; ++i) {
        const uint8_t tick = file.u8(at + kOldNodes + 2 * static_cast<size_t>(i));
        if (tick == 255) {
            count = i;
            break;
        }
        volume.node(i).tick = tick;
        volume.node(i).value = std::min<uint16_t>(file.u8(at + kOldNodes + 2 * static_cast<size_t>(i) + 1), kEnvelopeTop);
    }
    volume.nodeCount = static_cast<uint32_t>(count);
    finishEnvelope(volume, log, name);
    instrument.fadeOut = file.u16(at + 24);
    instrument.newNoteAction = file.u8(at + 26);
    instrument.duplicateCheckType = file.u8(at + 27) != 0 ? 1 : 0;
    instrument.duplicateAction = 0;
}

} // namespace

void readItInstrument(const ItView& file, size_t at, bool newLayout, TesselInstrument& instrument, ItLog& log)
{
    const std::string name = "instrument " + std::to_string(instrument.index + 1);
    instrument.setName(file.text(at + 32, 26).c_str());
    readKeyTable(file, at + kKeyTable, instrument, log, name);
    if (newLayout)
        readNewLayout(file, at, instrument, log, name);
    else
        readOldLayout(file, at, instrument, log, name);
}
