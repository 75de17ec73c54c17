// Sample slots, their loops and auto-vibrato in the song document.

#include "model/zip/zip_archive.h"
#include "model/markup/document_fields.h"
#include "model/sample/sample.h"
#include "model/sample/sample_audio_entry.h"

#include <algorithm>
#include <climits>
#include <string>

namespace {

constexpr int32_t kMaxVolume = 64;
constexpr int32_t kMaxPan = 64;
constexpr uint8_t kHighestNote = 119;
// Auto-vibrato fields are bytes in every file that has them; the waveforms
// are sine, square, ramp down and triangle.
constexpr int32_t kMaxVibratoByte = 255;
constexpr int32_t kMaxVibratoWaveform = 3;

// The open form's text content: references, doubled backslashes and line feeds undone.
std::string decodeFileNameText(char* text)
{
    std::string name(text);
    static const char* const kReferences[][2] = {
        {"&quot;", "\""}, {"&apos;", "'"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}, {"\\\\", "\\"},
    };
    for (const auto& reference : kReferences) {
        const std::string from = reference[0];
        for (size_t at = name.find(from); at != std::string::npos; at = name.find(from, at + 1))
            name.replace(at, from.size(), reference[1]);
    }
    std::erase(name, '\n');
    return name;
}

} // namespace

void TesselLoop::writeXml(FILE* file, bool sustainLoop) const
{
    TesselElement element(sustainLoop ? "sustain" : "loop", kElementSelf);
    element.addInt("type", type);
    element.addInt("begin", begin);
    element.addInt("end", end);
    writeElement(file, element, true, true);
}

void TesselLoop::readXml(const TesselElement& element)
{
    reset();
    int32_t value = 0;
    element.getInt("type", "t", type);
    if (element.getInt("begin", "b", value))
        setBegin(value);
    if (element.getInt("end", "e", value))
        setEnd(value);
}

void TesselVibrato::writeXml(FILE* file) const
{
    std::fprintf(file, "  <vi s=\"%d\" w=\"%d\" r=\"%d\" d=\"%d\"/>\n", speed, waveform, rate, depth);
}

void TesselVibrato::readXml(const TesselElement& element)
{
    *this = TesselVibrato{};
    readIntWithin(element, "speed", "s", speed, 0, kMaxVibratoByte);
    readIntWithin(element, "waveform", "w", waveform, 0, kMaxVibratoWaveform);
    readIntWithin(element, "rate", "r", rate, 0, kMaxVibratoByte);
    readIntWithin(element, "depth", "d", depth, 0, kMaxVibratoByte);
}

bool TesselSample::writeDataXml(FILE* file, const std::string& zipPath, int slot, bool storeAudio) const
{
    TesselElement element("samplefile", kElementSelf);
    element.addInt("speed", speed, speed != 0);
    element.addInt("pitch", pitch, pitch != 60);
    element.add("filename", filename.c_str(), !filename.empty());
    writeElement(file, element, false, false);
    if (storeAudio)
        storeSampleAudio(*this, zipPath, slot);
    return true;
}

void TesselSample::writeXml(int slot, FILE* file, const std::string& zipPath, bool storeAudio) const
{
    TesselElement element("sample", kElementOpen);
    element.addInt("index", slot);
    element.add("name", nameText().c_str());
    element.addInt("defaultVolume", defaultVolume);
    element.addInt("globalVolume", globalVolume);
    element.addInt("defaultPan", defaultPan);
    writeElement(file, element, true, true);
    writeDataXml(file, zipPath, slot, storeAudio);
    loop.writeXml(file, false);
    sustain.writeXml(file, true);
    vibrato.writeXml(file);
    writeClose(file, "sample");
}

bool TesselSample::readDataXml(TesselMemoryFile& buffer, const TesselElement& element)
{
    // A rate below 0 Hz would walk the sample backwards from its start.
    readIntWithin(element, "speed", "s", speed, 0, INT32_MAX);
    int8_t basePitch = 0;
    if (readSignedByte(element, "pitch", "p", basePitch))
        pitch = std::min(static_cast<uint8_t>(basePitch), kHighestNote);
    char text[kMarkupValueSize] = {};
    if (element.getString("filename", "f", text, sizeof text, false))
        filename = text;
    if (element.kind == kElementSelf)
        return true;
    char content[kMarkupValueSize * 4] = {};
    buffer.readUntil(content, '<', sizeof content);
    filename = decodeFileNameText(content);
    return readChildren(buffer, "samplefile", "sf", [](const TesselElement&) {});
}

bool TesselSample::readXml(TesselMemoryFile& buffer, ZipArchive* archive, const TesselElement& element)
{
    int32_t number = -1;
    element.getInt("index", "i", number);
    index = (number >= 0 && number < kSamples) ? number : -1;
    reset();
    char text[kMarkupValueSize] = {};
    if (element.getString("name", "n", text, sizeof text, false))
        setName(text);
    readIntWithin(element, "defaultVolume", "v", defaultVolume, 0, kMaxVolume);
    readIntWithin(element, "globalVolume", "V", globalVolume, 0, kMaxVolume);
    readIntWithin(element, "defaultPan", "p", defaultPan, -1, kMaxPan);
    if (index >= 0 && archive)
        loadSampleAudio(*this, *archive, index);
    if (element.kind == kElementSelf)
        return true;
    const bool closed = readChildren(buffer, "sample", "sa", [&](const TesselElement& child) {
        if (child.is("samplefile", "sf", kElementAny))
            readDataXml(buffer, child);
        else if (child.is("loop", "lo", kElementAny))
            loop.readXml(child);
        else if (child.is("sustain", "su", kElementAny))
            sustain.readXml(child);
        else if (child.is("vibrato", "vi", kElementAny))
            vibrato.readXml(child);
    });
    // Loop points inside the audio when it is there (a song whose audio entry
    // is missing keeps them), and never beyond what the voice walk can hold.
    const int32_t last = length > 0 ? std::min(length, kMaxLoopFrame) : kMaxLoopFrame;
    loop.keepWithin(last);
    sustain.keepWithin(last);
    return closed;
}
