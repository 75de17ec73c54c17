#include "model/audio_files/wav_test_support.h"

namespace testfiles {

namespace {

void appendChunk(Bytes& out, const std::string& id, const Bytes& body, uint32_t size)
{
    append(out, id);
    append32(out, size);
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() & 1)
        out.push_back(0);
}

} // namespace

Bytes makeWav(const WavLayout& layout, const Bytes& data)
{
    Bytes format;
    append16(format, layout.format);
    append16(format, layout.channels);
    append32(format, layout.rate);
    const uint16_t align = layout.blockAlign ? layout.blockAlign : uint16_t(layout.channels * (layout.bits / 8));
    append32(format, layout.rate * align);
    append16(format, align);
    append16(format, layout.bits);
    format.insert(format.end(), layout.formatExtra.begin(), layout.formatExtra.end());

    Bytes body;
    append(body, "WAVE");
    appendChunk(body, "fmt ", format, uint32_t(format.size()));
    for (const auto& [id, chunk] : layout.before)
        appendChunk(body, id, chunk, uint32_t(chunk.size()));
    appendChunk(body, "data", data, layout.dataSizeOverride ? layout.dataSizeOverride : uint32_t(data.size()));
    for (const auto& [id, chunk] : layout.after)
        appendChunk(body, id, chunk, uint32_t(chunk.size()));

    Bytes out;
    append(out, "RIFF");
    append32(out, uint32_t(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

Bytes smplChunk(uint32_t unityNote, uint32_t samplePeriod, const std::vector<std::array<uint32_t, 3>>& loops,
                const Bytes& samplerData, uint32_t loopCountOverride)
{
    Bytes b;
    append32(b, 0x47);          // manufacturer
    append32(b, 0);             // product
    append32(b, samplePeriod);
    append32(b, unityNote);
    append32(b, 0);             // pitch fraction
    append32(b, 0);             // SMPTE format
    append32(b, 0);             // SMPTE offset
    append32(b, loopCountOverride ? loopCountOverride : uint32_t(loops.size()));
    append32(b, uint32_t(samplerData.size()));
    uint32_t id = 0;
    for (const auto& [type, start, end] : loops) {
        append32(b, id++);
        append32(b, type);
        append32(b, start);
        append32(b, end);
        append32(b, 0);
        append32(b, 0);
    }
    b.insert(b.end(), samplerData.begin(), samplerData.end());
    return b;
}

} // namespace testfiles
