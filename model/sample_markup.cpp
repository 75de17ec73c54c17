// Sample slots, their loops and auto-vibrato in the song document.

#include "model/zip_archive.h"
#include "model/document_fields.h"
#include "model/sample.h"
#include "model/sample_audio_entry.h"

#include <string>

namespace {

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
    element.getInt("speed", "s", speed);
    element.getInt("waveform", "w", waveform);
    element.getInt("rate", "r", rate);
    element.getInt("depth", "d", depth);
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
    element.getInt("speed", "s", speed);
    int8_t basePitch = 0;
    if (readSignedByte(element, "pitch", "p", basePitch))
        pitch = static_cast<uint8_t>(basePitch);
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
    element.getInt("defaultVolume", "v", defaultVolume);
    element.getInt("globalVolume", "V", globalVolume);
    element.getInt("defaultPan", "p", defaultPan);
    if (index >= 0 && archive)
        loadSampleAudio(*this, *archive, index);
    if (element.kind == kElementSelf)
        return true;
    return readChildren(buffer, "sample", "sa", [&](const TesselElement& child) {
        if (child.is("samplefile", "sf", kElementAny))
            readDataXml(buffer, child);
        else if (child.is("loop", "lo", kElementAny))
            loop.readXml(child);
        else if (child.is("sustain", "su", kElementAny))
            sustain.readXml(child);
        else if (child.is("vibrato", "vi", kElementAny))
            vibrato.readXml(child);
    });
}
