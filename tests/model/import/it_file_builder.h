#pragma once
// Builds Impulse Tracker files byte by byte from the format's published
// layout: a 192-byte header, orders, three offset tables, then instruments,
// sample headers, packed patterns and sample data.

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace ittest {

using Bytes = std::vector<uint8_t>;

inline void put8(Bytes& b, size_t at, uint32_t v)
{
    if (b.size() <= at)
        b.resize(at + 1);
    b[at] = static_cast<uint8_t>(v);
}
inline void put16(Bytes& b, size_t at, uint32_t v) { put8(b, at, v); put8(b, at + 1, v >> 8); }
inline void put32(Bytes& b, size_t at, uint32_t v) { put16(b, at, v); put16(b, at + 2, v >> 16); }
inline void putText(Bytes& b, size_t at, const std::string& s)
{
    for (size_t i = 0; i < s.size(); ++i)
        put8(b, at + i, static_cast<uint8_t>(s[i]));
}

struct Envelope {
    uint8_t flags = 0;
    std::vector<std::pair<int8_t, uint16_t>> nodes;   // value, tick
    uint8_t count = 0xFF;                              // 0xFF: nodes.size()
    uint8_t loopBegin = 0, loopEnd = 0, sustainBegin = 0, sustainEnd = 0;
};

// 554 bytes in the layout of compatible version 0x200 and above.
inline Bytes newInstrument(const std::string& name, const std::array<Envelope, 3>& envelopes)
{
    Bytes b(554, 0);
    putText(b, 0, "IMPI");
    putText(b, 4, "INSTFILE.ITI");
    putText(b, 32, name);
    for (int k = 0; k < 120; ++k) {
        put8(b, 64 + 2 * static_cast<size_t>(k), static_cast<uint32_t>(k));
        put8(b, 65 + 2 * static_cast<size_t>(k), 1);
    }
    for (size_t e = 0; e < 3; ++e) {
        const Envelope& env = envelopes[e];
        const size_t at = 304 + 82 * e;
        put8(b, at, env.flags);
        put8(b, at + 1, env.count == 0xFF ? env.nodes.size() : env.count);
        put8(b, at + 2, env.loopBegin);
        put8(b, at + 3, env.loopEnd);
        put8(b, at + 4, env.sustainBegin);
        put8(b, at + 5, env.sustainEnd);
        for (size_t i = 0; i < env.nodes.size() && i < 25; ++i) {
            put8(b, at + 6 + 3 * i, static_cast<uint8_t>(env.nodes[i].first));
            put16(b, at + 7 + 3 * i, env.nodes[i].second);
        }
    }
    return b;
}

// 554 bytes in the layout before 0x200: volume envelope only.
inline Bytes oldInstrument(const std::string& name, uint8_t flags,
                           const std::vector<std::pair<uint8_t, uint8_t>>& nodes /* tick, value */)
{
    Bytes b(554, 0);
    putText(b, 0, "IMPI");
    put8(b, 17, flags);
    put8(b, 22, nodes.size());
    putText(b, 32, name);
    for (int k = 0; k < 120; ++k) {
        put8(b, 64 + 2 * static_cast<size_t>(k), static_cast<uint32_t>(k));
        put8(b, 65 + 2 * static_cast<size_t>(k), 1);
    }
    for (size_t i = 0; i < 25; ++i) {
        put8(b, 504 + 2 * i, i < nodes.size() ? nodes[i].first : 0xFF);
        put8(b, 505 + 2 * i, i < nodes.size() ? nodes[i].second : 0);
    }
    return b;
}

struct Sample {
    Bytes header = Bytes(80, 0);   // "IMPS" record; offset 72 is filled in by the file
    Bytes data;
};

enum SampleFlag : uint8_t { kHasData = 1, k16Bit = 2, kCompressedData = 8, kLoopOn = 0x10, kSustainOn = 0x20,
                            kPingPongLoop = 0x40, kPingPongSustain = 0x80 };

inline Sample makeSample(const std::string& name, uint8_t flags, uint8_t convert, uint32_t length, Bytes data)
{
    Sample s;
    putText(s.header, 0, "IMPS");
    putText(s.header, 4, "SAMPLE.WAV");
    put8(s.header, 17, 64);
    put8(s.header, 18, flags);
    put8(s.header, 19, 48);
    putText(s.header, 20, name);
    put8(s.header, 46, convert);
    put32(s.header, 48, length);
    put32(s.header, 60, 8363);
    s.data = std::move(data);
    return s;
}

struct Pattern {
    uint16_t rows = 64;
    Bytes packed;
};

struct File {
    std::string name = "Test song";
    uint8_t rowsPerBeat = 4, rowsPerMeasure = 16;
    uint16_t compatible = 0x214;
    uint16_t flags = 0x0D;
    uint8_t speed = 6, tempo = 125, pitchWheelDepth = 0;
    std::array<uint8_t, 64> pan{};
    std::array<uint8_t, 64> volume{};
    Bytes orders{0, 255};
    std::vector<Bytes> instruments;
    std::vector<Sample> samples;
    std::vector<Pattern> patterns;

    File()
    {
        pan.fill(32);
        volume.fill(64);
    }

    Bytes build() const
    {
        Bytes b(192, 0);
        putText(b, 0, "IMPM");
        putText(b, 4, name);
        put8(b, 30, rowsPerBeat);
        put8(b, 31, rowsPerMeasure);
        put16(b, 32, orders.size());
        put16(b, 34, instruments.size());
        put16(b, 36, samples.size());
        put16(b, 38, patterns.size());
        put16(b, 40, 0x214);
        put16(b, 42, compatible);
        put16(b, 44, flags);
        put8(b, 48, 128);
        put8(b, 49, 48);
        put8(b, 50, speed);
        put8(b, 51, tempo);
        put8(b, 52, 128);
        put8(b, 53, pitchWheelDepth);
        for (size_t c = 0; c < 64; ++c) {
            put8(b, 64 + c, pan[c]);
            put8(b, 128 + c, volume[c]);
        }
        b.insert(b.end(), orders.begin(), orders.end());
        const size_t tables = b.size();
        b.resize(tables + 4 * (instruments.size() + samples.size() + patterns.size()), 0);
        size_t slot = tables;
        for (const Bytes& instrument : instruments) {
            put32(b, slot, b.size());
            slot += 4;
            b.insert(b.end(), instrument.begin(), instrument.end());
        }
        std::vector<size_t> headers;
        for (const Sample& sample : samples) {
            put32(b, slot, b.size());
            slot += 4;
            headers.push_back(b.size());
            b.insert(b.end(), sample.header.begin(), sample.header.end());
        }
        for (const Pattern& pattern : patterns) {
            put32(b, slot, b.size());
            slot += 4;
            const size_t at = b.size();
            put16(b, at, pattern.packed.size());
            put16(b, at + 2, pattern.rows);
            put32(b, at + 4, 0);
            b.insert(b.end(), pattern.packed.begin(), pattern.packed.end());
        }
        for (size_t i = 0; i < samples.size(); ++i) {
            put32(b, headers[i] + 72, b.size());
            b.insert(b.end(), samples[i].data.begin(), samples[i].data.end());
        }
        return b;
    }
};

} // namespace ittest
