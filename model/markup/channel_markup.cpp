// Channel settings in the song document.

#include "model/markup/document_fields.h"
#include "model/song/channel.h"
#include "model/song/pattern.h"

namespace {

constexpr int32_t kMaxPanning = 64;
constexpr int32_t kMaxVolume = 64;
constexpr int32_t kMaxFilterValue = 127;

} // namespace

void TesselChannel::writeXml(FILE* file) const
{
    TesselElement element("channel", kElementSelf);
    element.addInt("index", index);
    element.addInt("panning", panning, panning != 32);
    element.addInt("volume", volume, volume != 64);
    element.addInt("cutoff", cutoff, cutoff != 127);
    element.addInt("resonance", resonance, resonance != 0);
    element.addInt("mute", mute, mute != 0);
    element.addInt("solo", solo, solo != 0);
    element.add("name", name);
    element.addInt("colour", colour, colour != 0xFFFFFF);
    writeElement(file, element, true, true);
}

bool TesselChannel::readXml(TesselMemoryFile& buffer, const TesselElement& element)
{
    int32_t number = -1;
    element.getInt("index", "i", number);
    index = (number >= 0 && number < kChannels) ? number : -1;
    reset();
    readIntWithin(element, "panning", "p", panning, 0, kMaxPanning);
    readIntWithin(element, "volume", "v", volume, 0, kMaxVolume);
    readIntWithin(element, "cutoff", "f", cutoff, 0, kMaxFilterValue);
    readIntWithin(element, "resonance", "r", resonance, 0, kMaxFilterValue);
    readByte(element, "mute", "m", mute);
    readByte(element, "solo", "s", solo);
    char text[kMarkupValueSize] = {};
    if (element.getString("name", "n", text, sizeof text, false))
        setName(text);
    int32_t value = 0;
    if (element.getInt("colour", "c", value))
        colour = static_cast<uint32_t>(value);
    if (element.kind == kElementSelf)
        return true;
    return readChildren(buffer, "channel", "ch", [](const TesselElement&) {});
}
