#include "library/song_bytes.h"

#include <cstdio>

namespace {

void put(std::string& bytes, uint32_t value, int n)
{
    for (int i = 0; i < n; ++i)
        bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::string wavHeader(uint16_t channels, uint16_t bits, uint32_t dataBytes)
{
    const uint32_t frameBytes = channels * bits / 8u;
    std::string wav = "RIFF";
    put(wav, 36 + dataBytes, 4);
    wav += "WAVEfmt ";
    put(wav, 16, 4);
    put(wav, 1, 2);
    put(wav, channels, 2);
    put(wav, 44100, 4);
    put(wav, 44100 * frameBytes, 4);
    put(wav, frameBytes, 2);
    put(wav, bits, 2);
    wav += "data";
    put(wav, dataBytes, 4);
    return wav;
}

} // namespace

std::string noiseWav(uint32_t frames)
{
    const uint32_t bytes = frames * 4;
    std::string wav = wavHeader(2, 16, bytes);
    uint32_t state = 12345;
    for (uint32_t i = 0; i < bytes; ++i) {
        state = state * 1664525u + 1013904223u;
        wav.push_back(static_cast<char>(state >> 24));
    }
    return wav;
}

std::string silentWav8(uint32_t frames)
{
    return wavHeader(1, 8, frames) + std::string(frames, '\x80');
}

std::string moduleWithSamples(int count)
{
    std::string document = "<module version=\"1.000000\" tempo=\"120.000000\" speed=\"6\" midiIn=\"1\" "
                           "rowsPerQuarter=\"4\">\n";
    for (int slot = 0; slot < count; ++slot) {
        char element[128];
        std::snprintf(element, sizeof element,
                      "<sample index=\"%d\" name=\"s%d\" defaultVolume=\"64\" globalVolume=\"64\" "
                      "defaultPan=\"-1\">\n</sample>\n",
                      slot, slot);
        document += element;
    }
    return document + "</module>\n";
}

std::string sampleEntry(int slot)
{
    char name[32];
    std::snprintf(name, sizeof name, "Sample %.3d.wav", slot);
    return name;
}

std::string sparseText(int lettersPerTenThousand)
{
    std::string text(size_t{1} << 20, ' ');
    uint32_t state = 7;
    for (char& c : text) {
        state = state * 1664525u + 1013904223u;
        if ((state >> 8) % 10000 < static_cast<uint32_t>(lettersPerTenThousand))
            c = static_cast<char>('a' + (state >> 24) % 26);
    }
    return text;
}

std::vector<std::pair<std::string, std::string>> samplesAndDocument(int count, const std::string& wav)
{
    std::vector<std::pair<std::string, std::string>> entries;
    for (int slot = 0; slot < count; ++slot)
        entries.emplace_back(sampleEntry(slot), wav);
    entries.emplace_back("Module.xml", moduleWithSamples(count));
    return entries;
}
