// Instruments: header with key map, envelopes and vibrato, then the sample
// headers of the instrument, then their delta-coded data.

#include "model/audio_files/memory_file.h"
#include "model/import/xm_import_parts.h"
#include "model/import/xm_samples.h"
#include "model/song/module.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int kMaxSamplesPerInstrument = 33;
constexpr int kFileNodes = 12;
constexpr int kFirstKey = 12;
constexpr int kFileKeys = 96;
constexpr size_t kNameLength = 22;
constexpr size_t kSampleHeaderSize = 40;
enum EnvelopeType : uint8_t { kEnabled = 1, kSustain = 2, kLoop = 4 };

// Node indexes beyond the nodes read would send the envelope off its nodes.
void setLoop(TesselLoop& loop, bool on, int begin, int end, uint32_t nodes)
{
    const int last = std::max(static_cast<int>(nodes) - 1, 0);
    begin = std::min(begin, last);
    loop.type = on ? 1 : 0;
    loop.setBegin(begin);
    loop.setEnd(std::clamp(end, begin, last));
}

struct EnvelopeBytes {
    size_t nodes;   // offset of the 12 nodes
    size_t count, sustain, loopBegin, loopEnd, type;
};
constexpr EnvelopeBytes kVolumeBytes{129, 225, 227, 228, 229, 233};
constexpr EnvelopeBytes kPanningBytes{177, 226, 230, 231, 232, 234};

void readEnvelope(TesselMemoryFile& file, size_t at, const EnvelopeBytes& where, TesselEnvelope& envelope)
{
    auto byteAt = [&](size_t offset) {
        file.seek(at + offset);
        return static_cast<int>(file.readUInt(1));
    };
    int count = byteAt(where.count);
    if (count >= kMaxSamplesPerInstrument)
        count = 0;
    // Only 12 nodes are stored; a larger count would read the next fields as nodes.
    envelope.nodeCount = static_cast<uint32_t>(std::min(count, kFileNodes));
    file.seek(at + where.nodes);
    for (uint32_t i = 0; i < envelope.nodeCount; ++i) {
        envelope.node(static_cast<int>(i)).tick = static_cast<uint16_t>(file.readUInt(2));
        envelope.node(static_cast<int>(i)).value = static_cast<uint16_t>(file.readUInt(2));
    }
    const int type = byteAt(where.type);
    envelope.enabled = (type & kEnabled) ? TesselEnvelope::Ticks : TesselEnvelope::Off;
    const int sustain = byteAt(where.sustain);
    setLoop(envelope.sustain, type & kSustain, sustain, sustain, envelope.nodeCount);
    setLoop(envelope.loop, type & kLoop, byteAt(where.loopBegin), byteAt(where.loopEnd), envelope.nodeCount);
    envelope.computeSlopes();
}

// Where an instrument's samples go: a slot each, or -1 for none.
struct SampleSlots {
    std::vector<int> slots;
    int firstSlot = 0;       // where a key naming a sample past the instrument's own points
    bool compacted = false;  // such keys then name no sample
};

// The slot a key's sample byte names, plus one (0: none).
int keySample(const SampleSlots& plan, int fileSample)
{
    if (fileSample < static_cast<int>(plan.slots.size())) {
        const int slot = plan.slots[static_cast<size_t>(fileSample)];
        return slot >= 0 && slot < kSamples ? slot + 1 : 0;
    }
    const int sample = plan.firstSlot + fileSample + 1;
    return !plan.compacted && sample < 100 ? sample : 0;
}

void readKeymap(TesselMemoryFile& file, size_t at, const SampleSlots& plan, TesselInstrument& instrument)
{
    file.seek(at + 33);
    for (int key = 0; key < kKeys; ++key) {
        TesselRow& row = instrument.keymap.getRow(key);
        row.pitch = static_cast<int16_t>(key);
        row.instrument = 0;
        if (key < kFirstKey || key >= kFirstKey + kFileKeys)
            continue;
        row.instrument = static_cast<int16_t>(keySample(plan, static_cast<int>(file.readUInt(1))));
    }
}

// Sample slots for every instrument, read ahead from the instrument headers.
// Each sample takes the next slot while the file's samples fit the song's
// slots. Some files hold far more samples than that, most of them empty
// headers whose names carry the author's notes: then the empty samples that
// no key plays give up their slots, so that every sample with sound keeps
// one. The file's position is left where it was.
std::vector<SampleSlots> planSampleSlots(TesselMemoryFile& file, int count)
{
    struct Planned {
        std::vector<uint32_t> lengths;
        std::vector<bool> played;
    };
    const size_t start = file.offset();
    std::vector<Planned> instruments;
    size_t total = 0;
    for (int i = 0; i < std::min(count, kInstruments); ++i) {
        const size_t at = file.offset();
        const uint32_t headerSize = file.readUInt(4);
        file.seek(at + 27);
        const int samples = static_cast<int>(file.readUInt(2));
        if (samples >= kMaxSamplesPerInstrument)
            break;
        Planned planned;
        planned.played.assign(static_cast<size_t>(samples), false);
        if (samples > 0) {
            file.seek(at + 33);
            for (int key = 0; key < kFileKeys; ++key) {
                const uint32_t k = file.readUInt(1);
                if (k < static_cast<uint32_t>(samples))
                    planned.played[k] = true;
            }
        }
        size_t next = at + headerSize;
        for (int s = 0; s < samples; ++s) {
            file.seek(at + headerSize + static_cast<size_t>(s) * kSampleHeaderSize);
            planned.lengths.push_back(std::min(file.readUInt(4), file.size));
            next += kSampleHeaderSize + planned.lengths.back();
        }
        total += static_cast<size_t>(samples);
        instruments.push_back(std::move(planned));
        file.seek(next);
    }
    file.seek(start);

    const bool compact = total > static_cast<size_t>(kSamples);
    std::vector<SampleSlots> plans;
    int slot = 0;
    for (const Planned& planned : instruments) {
        SampleSlots plan;
        plan.firstSlot = slot;
        plan.compacted = compact;
        for (size_t s = 0; s < planned.lengths.size(); ++s) {
            const bool needed = !compact || planned.lengths[s] != 0 || planned.played[s];
            plan.slots.push_back(needed ? slot++ : -1);
        }
        plans.push_back(std::move(plan));
    }
    return plans;
}

struct Vibrato {
    int waveform = 0;
    int depth = 0;
    int rate = 0;
};

Vibrato readInstrument(TesselMemoryFile& file, size_t at, const SampleSlots& plan, TesselInstrument& instrument)
{
    readKeymap(file, at, plan, instrument);
    readEnvelope(file, at, kVolumeBytes, instrument.volumeEnvelope());
    readEnvelope(file, at, kPanningBytes, instrument.panningEnvelope());
    Vibrato v;
    file.seek(at + 235);
    v.waveform = static_cast<int>(file.readUInt(1));
    file.skip(1);   // sweep
    v.depth = static_cast<int>(file.readUInt(1));
    v.rate = static_cast<int>(file.readUInt(1));
    instrument.fadeOut = static_cast<int32_t>(file.readUInt(2) / 16);
    return v;
}

} // namespace

bool readXmInstruments(TesselMemoryFile& file, int count, TesselModule& song)
{
    bool dropped = false;
    const std::vector<SampleSlots> plans = planSampleSlots(file, count);
    for (int i = 0; i < std::min(count, kInstruments); ++i) {
        const size_t at = file.offset();
        const uint32_t headerSize = file.readUInt(4);
        TesselInstrument& instrument = song.instruments[static_cast<size_t>(i)];
        const std::string name = readXmText(file, kNameLength);
        file.skip(1);   // type
        const int samples = static_cast<int>(file.readUInt(2));
        if (samples >= kMaxSamplesPerInstrument || static_cast<size_t>(i) >= plans.size())
            break;
        instrument.setName(name.c_str());
        if (samples == 0) {
            // The reset key map would play another instrument's sample.
            for (int key = 0; key < kKeys; ++key)
                instrument.keymap.getRow(key).instrument = 0;
            file.seek(at + headerSize);
            continue;
        }
        const SampleSlots& plan = plans[static_cast<size_t>(i)];
        const Vibrato vibrato = readInstrument(file, at, plan, instrument);
        // Sample headers follow the instrument header by its size field.
        file.seek(at + headerSize);
        std::vector<XmSampleSource> sources;
        std::vector<TesselSample*> targets;
        for (int s = 0; s < samples; ++s) {
            const size_t header = file.offset();
            const int slot = plan.slots[static_cast<size_t>(s)];
            TesselSample* sample = slot >= 0 && slot < kSamples ? &song.samples[static_cast<size_t>(slot)] : nullptr;
            // An empty sample left without a slot on purpose has no data to skip.
            sources.push_back(slot >= 0 ? readXmSampleHeader(file, sample) : XmSampleSource{});
            targets.push_back(sample);
            if (sample)
                sample->vibrato = TesselVibrato{0, vibrato.waveform, vibrato.depth, vibrato.rate};
            file.seek(header + kSampleHeaderSize);
        }
        for (int s = 0; s < samples; ++s)
            if (plan.slots[static_cast<size_t>(s)] >= 0)
                dropped = !readXmSampleData(file, sources[static_cast<size_t>(s)], targets[static_cast<size_t>(s)]) ||
                          dropped;
    }
    return dropped;
}
