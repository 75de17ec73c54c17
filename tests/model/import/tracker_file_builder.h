#pragma once
// Scream Tracker 3 and MOD file images built from the formats' published
// layouts, for the importer tests and the fuzz seeds.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tracker_file {

using Bytes = std::vector<uint8_t>;

inline void put16le(Bytes& b, size_t at, uint32_t v)
{
    if (b.size() < at + 2)
        b.resize(at + 2);
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}

inline void put16be(Bytes& b, size_t at, uint32_t v)
{
    b[at] = static_cast<uint8_t>(v >> 8);
    b[at + 1] = static_cast<uint8_t>(v);
}

inline void putText(Bytes& b, size_t at, const std::string& text)
{
    if (b.size() < at + text.size())
        b.resize(at + text.size());
    for (size_t i = 0; i < text.size(); ++i)
        b[at + i] = static_cast<uint8_t>(text[i]);
}

inline void alignParagraph(Bytes& b) { b.resize((b.size() + 15) / 16 * 16); }

inline std::string asString(const Bytes& b) { return std::string(b.begin(), b.end()); }

// One packed S3M pattern: entries per row, each row ended by a zero byte.
struct S3mPattern {
    std::array<Bytes, 64> rows;
    // What: 0x20 note and instrument, 0x40 volume, 0x80 command and info.
    void add(int row, int channel, int what, uint8_t note, uint8_t instrument, uint8_t volume, uint8_t command,
             uint8_t info)
    {
        Bytes& r = rows[static_cast<size_t>(row)];
        r.push_back(static_cast<uint8_t>(what | channel));
        if (what & 0x20) {
            r.push_back(note);
            r.push_back(instrument);
        }
        if (what & 0x40)
            r.push_back(volume);
        if (what & 0x80) {
            r.push_back(command);
            r.push_back(info);
        }
    }
    void note(int row, int channel, uint8_t n, uint8_t instrument) { add(row, channel, 0x20, n, instrument, 0, 0, 0); }
    void effect(int row, int channel, uint8_t command, uint8_t info) { add(row, channel, 0x80, 0, 0, 0, command, info); }
    Bytes packed() const
    {
        Bytes data;
        for (const Bytes& r : rows) {
            data.insert(data.end(), r.begin(), r.end());
            data.push_back(0);
        }
        return data;
    }
};

struct S3mSample {
    uint8_t type = 1;
    std::string fileName = "SAMPLE.SMP";
    std::string name = "a sample";
    uint16_t length = 0;       // frames
    uint16_t loopBegin = 0;
    uint16_t loopEnd = 0;
    uint8_t volume = 64;
    uint8_t packing = 0;
    uint8_t flags = 0;         // 1 loop, 2 stereo, 4 16-bit
    uint16_t c2spd = 8363;
    Bytes data;                // as stored in the file
    uint8_t pointerHigh = 0;   // junk for the data position's high byte
};

struct S3mFile {
    std::string name = "generated song";
    uint16_t format = 2;   // 1 signed, 2 unsigned samples
    uint8_t speed = 6;
    uint8_t tempo = 125;
    std::array<uint8_t, 32> channels{};
    Bytes orders = {0};
    std::vector<S3mSample> samples;
    std::vector<Bytes> patterns;   // packed data; empty: no pattern (pointer 0)

    S3mFile()
    {
        channels.fill(255);
        for (size_t c = 0; c < 4; ++c)
            channels[c] = static_cast<uint8_t>(c < 2 ? c : c + 6);
    }

    Bytes build() const
    {
        Bytes b(96, 0);
        putText(b, 0, name.substr(0, 27));
        b[28] = 0x1A;
        b[29] = 16;
        put16le(b, 32, static_cast<uint32_t>(orders.size()));
        put16le(b, 34, static_cast<uint32_t>(samples.size()));
        put16le(b, 36, static_cast<uint32_t>(patterns.size()));
        put16le(b, 40, 0);
        put16le(b, 42, format);
        putText(b, 44, "SCRM");
        b[48] = 64;
        b[49] = speed;
        b[50] = tempo;
        for (size_t c = 0; c < 32; ++c)
            b[64 + c] = channels[c];
        b.insert(b.end(), orders.begin(), orders.end());
        const size_t sampleTable = b.size();
        const size_t patternTable = sampleTable + 2 * samples.size();
        b.resize(patternTable + 2 * patterns.size());
        alignParagraph(b);

        std::vector<size_t> headers;
        for (size_t i = 0; i < samples.size(); ++i) {
            headers.push_back(b.size());
            put16le(b, sampleTable + 2 * i, static_cast<uint32_t>(b.size() / 16));
            b.resize(b.size() + 80);
            alignParagraph(b);
        }
        for (size_t p = 0; p < patterns.size(); ++p) {
            if (patterns[p].empty())
                continue;
            put16le(b, patternTable + 2 * p, static_cast<uint32_t>(b.size() / 16));
            put16le(b, b.size(), static_cast<uint32_t>(patterns[p].size()));
            b.insert(b.end(), patterns[p].begin(), patterns[p].end());
            alignParagraph(b);
        }
        for (size_t i = 0; i < samples.size(); ++i) {
            const S3mSample& s = samples[i];
            const size_t at = headers[i];
            const size_t paragraph = b.size() / 16;
            b[at] = s.type;
            putText(b, at + 1, s.fileName.substr(0, 12));
            b[at + 13] = static_cast<uint8_t>(s.pointerHigh ? s.pointerHigh : paragraph >> 16);
            put16le(b, at + 14, static_cast<uint32_t>(paragraph & 0xFFFF));
            put16le(b, at + 16, s.length);
            put16le(b, at + 20, s.loopBegin);
            put16le(b, at + 24, s.loopEnd);
            b[at + 28] = s.volume;
            b[at + 30] = s.packing;
            b[at + 31] = s.flags;
            put16le(b, at + 32, s.c2spd);
            putText(b, at + 48, s.name.substr(0, 27));
            putText(b, at + 76, s.type == 1 ? "SCRS" : "");
            b.insert(b.end(), s.data.begin(), s.data.end());
            alignParagraph(b);
        }
        return b;
    }
};

struct ModSample {
    std::string name = "mod sample";
    uint16_t words = 0;
    uint8_t finetune = 0;
    uint8_t volume = 64;
    uint16_t loopStartWords = 0;
    uint16_t loopWords = 1;
    Bytes data;   // signed bytes as stored; shorter than 2 x words for a cut file
};

struct ModFile {
    std::string name = "generated mod";
    std::string tag = "M.K.";
    int channels = 4;
    uint8_t songLength = 1;
    std::array<uint8_t, 128> orders{};
    std::array<ModSample, 31> samples;
    std::vector<Bytes> patterns;   // 64 x channels x 4 bytes each; shorter ones are padded

    // A pattern of empty cells, and one cell of it.
    Bytes emptyPattern() const { return Bytes(static_cast<size_t>(64 * channels * 4), 0); }
    void setCell(Bytes& pattern, int row, int channel, std::array<uint8_t, 4> cell) const
    {
        const size_t at = static_cast<size_t>((row * channels + channel) * 4);
        for (size_t i = 0; i < 4; ++i)
            pattern[at + i] = cell[i];
    }

    Bytes build() const
    {
        Bytes b(1084, 0);
        putText(b, 0, name.substr(0, 20));
        for (size_t i = 0; i < 31; ++i) {
            const ModSample& s = samples[i];
            const size_t at = 20 + 30 * i;
            putText(b, at, s.name.substr(0, 22));
            put16be(b, at + 22, s.words);
            b[at + 24] = s.finetune;
            b[at + 25] = s.volume;
            put16be(b, at + 26, s.loopStartWords);
            put16be(b, at + 28, s.loopWords);
        }
        b[950] = songLength;
        b[951] = 127;
        for (size_t i = 0; i < 128; ++i)
            b[952 + i] = orders[i];
        putText(b, 1080, tag.substr(0, 4));
        for (const Bytes& p : patterns) {
            Bytes padded = p;
            padded.resize(static_cast<size_t>(64 * channels * 4));
            b.insert(b.end(), padded.begin(), padded.end());
        }
        for (const ModSample& s : samples)
            b.insert(b.end(), s.data.begin(), s.data.end());
        return b;
    }
};

} // namespace tracker_file
