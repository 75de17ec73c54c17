#pragma once
// Small XM files written from the format's published layout, for the
// importer's tests and fuzz seeds.

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace xmtest {

using Bytes = std::vector<uint8_t>;

inline void put(Bytes& out, uint32_t value, int n)
{
    for (int i = 0; i < n; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

inline void putText(Bytes& out, const std::string& text, size_t n)
{
    for (size_t i = 0; i < n; ++i)
        out.push_back(i < text.size() ? static_cast<uint8_t>(text[i]) : 0);
}

// An unpacked cell: all five bytes.
inline Bytes cell(uint8_t note, uint8_t instrument = 0, uint8_t volume = 0, uint8_t effect = 0, uint8_t parameter = 0)
{
    return {note, instrument, volume, effect, parameter};
}

// A packed cell: flag byte and the bytes it announces.
inline Bytes packed(uint8_t flags, Bytes fields = {})
{
    Bytes out{static_cast<uint8_t>(0x80 | flags)};
    out.insert(out.end(), fields.begin(), fields.end());
    return out;
}

inline Bytes empty() { return {0x80}; }

inline Bytes join(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

inline Bytes deltas8(const std::vector<int>& values)
{
    Bytes out;
    int last = 0;
    for (int v : values) {
        out.push_back(static_cast<uint8_t>(v - last));
        last = v;
    }
    return out;
}

inline Bytes deltas16(const std::vector<int>& values)
{
    Bytes out;
    int last = 0;
    for (int v : values) {
        put(out, static_cast<uint16_t>(v - last), 2);
        last = v;
    }
    return out;
}

struct Pattern {
    Pattern(uint16_t r, Bytes d) : rows(r), data(std::move(d)) {}
    uint16_t rows = 64;
    Bytes data;
    uint32_t headerLength = 9;
    int32_t packedSize = -1;   // -1: the data's size
};

struct Sample {
    Sample() = default;
    explicit Sample(Bytes d) : data(std::move(d)) {}
    Bytes data;
    int64_t length = -1;   // bytes; -1: the data's size
    uint32_t loopStart = 0;
    uint32_t loopLength = 0;
    uint8_t volume = 64;
    int8_t finetune = 0;
    uint8_t type = 0;
    uint8_t pan = 128;
    int8_t relativeNote = 0;
    uint8_t packedMark = 0;
    std::string name;
};

struct Envelope {
    std::vector<std::pair<uint16_t, uint16_t>> nodes;
    int count = -1;   // -1: the nodes' number
    uint8_t sustain = 0, loopBegin = 0, loopEnd = 0, type = 0;
};

struct Instrument {
    std::string name;
    std::array<uint8_t, 96> keymap{};
    Envelope volume, panning;
    uint8_t vibratoType = 0, vibratoSweep = 0, vibratoDepth = 0, vibratoRate = 0;
    uint16_t fadeOut = 0;
    uint32_t headerSize = 263;
    int sampleCount = -1;   // -1: the samples' number
    std::vector<Sample> samples;
};

struct Module {
    std::string name = "test song";
    std::array<uint8_t, 2> version{0x04, 0x01};
    uint8_t marker = 0x1A;
    std::string signature = "Extended Module: ";
    uint16_t channels = 4;
    uint16_t speed = 6;
    uint16_t bpm = 125;
    std::vector<uint8_t> orders{0};
    int patternCount = -1;      // -1: the patterns' number
    int instrumentCount = -1;   // likewise
    std::vector<Pattern> patterns;
    std::vector<Instrument> instruments;

    std::string build() const;
};

inline void putEnvelope(Bytes& out, const Envelope& e)
{
    for (size_t i = 0; i < 12; ++i) {
        put(out, i < e.nodes.size() ? e.nodes[i].first : 0, 2);
        put(out, i < e.nodes.size() ? e.nodes[i].second : 0, 2);
    }
}

inline void putInstrument(Bytes& out, const Instrument& in)
{
    const size_t start = out.size();
    put(out, in.headerSize, 4);
    putText(out, in.name, 22);
    out.push_back(0);   // type
    const int n = in.sampleCount >= 0 ? in.sampleCount : static_cast<int>(in.samples.size());
    put(out, static_cast<uint32_t>(n), 2);
    put(out, 40, 4);
    out.insert(out.end(), in.keymap.begin(), in.keymap.end());
    putEnvelope(out, in.volume);
    putEnvelope(out, in.panning);
    auto count = [](const Envelope& e) { return static_cast<uint8_t>(e.count >= 0 ? e.count : e.nodes.size()); };
    out.push_back(count(in.volume));
    out.push_back(count(in.panning));
    for (uint8_t b : {in.volume.sustain, in.volume.loopBegin, in.volume.loopEnd, in.panning.sustain,
                      in.panning.loopBegin, in.panning.loopEnd, in.volume.type, in.panning.type, in.vibratoType,
                      in.vibratoSweep, in.vibratoDepth, in.vibratoRate})
        out.push_back(b);
    put(out, in.fadeOut, 2);
    // Reserved bytes up to the header's stated size; a hostile size is only stated.
    if (in.headerSize < 0x10000)
        out.resize(start + in.headerSize);
    if (n == 0)
        return;
    for (const Sample& s : in.samples) {
        put(out, static_cast<uint32_t>(s.length >= 0 ? s.length : static_cast<int64_t>(s.data.size())), 4);
        put(out, s.loopStart, 4);
        put(out, s.loopLength, 4);
        for (uint8_t b : {s.volume, static_cast<uint8_t>(s.finetune), s.type, s.pan,
                          static_cast<uint8_t>(s.relativeNote), s.packedMark})
            out.push_back(b);
        putText(out, s.name, 22);
    }
    for (const Sample& s : in.samples)
        out.insert(out.end(), s.data.begin(), s.data.end());
}

inline std::string Module::build() const
{
    Bytes out;
    putText(out, signature, 17);
    putText(out, name, 20);
    out.push_back(marker);
    putText(out, "test builder", 20);
    out.push_back(version[0]);
    out.push_back(version[1]);
    put(out, 276, 4);
    put(out, static_cast<uint32_t>(orders.size()), 2);
    put(out, 0, 2);   // restart
    put(out, channels, 2);
    put(out, static_cast<uint32_t>(patternCount >= 0 ? patternCount : static_cast<int>(patterns.size())), 2);
    put(out, static_cast<uint32_t>(instrumentCount >= 0 ? instrumentCount : static_cast<int>(instruments.size())), 2);
    put(out, 1, 2);   // linear frequencies
    put(out, speed, 2);
    put(out, bpm, 2);
    for (size_t i = 0; i < 256; ++i)
        out.push_back(i < orders.size() ? orders[i] : 0);
    for (const Pattern& p : patterns) {
        put(out, p.headerLength, 4);
        out.push_back(0);
        put(out, p.rows, 2);
        put(out, static_cast<uint32_t>(p.packedSize >= 0 ? p.packedSize : static_cast<int32_t>(p.data.size())), 2);
        out.insert(out.end(), p.data.begin(), p.data.end());
    }
    for (const Instrument& in : instruments)
        putInstrument(out, in);
    return std::string(out.begin(), out.end());
}

} // namespace xmtest
