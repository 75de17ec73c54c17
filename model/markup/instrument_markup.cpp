// The instrument element: general settings with the key map, the volume,
// panning, filter and pitch groups, each with its envelope.

#include "model/instrument/instrument.h"
#include "model/markup/document_fields.h"
#include "model/model_globals.h"

#include <array>

namespace {

// Colours of documents older than 1.003, which stored a palette index.
constexpr std::array<uint32_t, 5> kOldPalette = {0xFFFFFF, 0x8080FF, 0x80FF80, 0x80FFFF, 0xFFA591};
constexpr double kPaletteColoursUntil = 1.003;

// The ranges of the numbers, as wide as the importers fill them (volumes and
// pitch settings are bytes in the files they come from, fade-out a 16-bit
// word); the engine multiplies them together in 32 bits.
constexpr int32_t kMaxByte = 255;
constexpr int32_t kMaxFadeOut = 65535;
constexpr int32_t kMaxSwingPercent = 100;
constexpr int32_t kMaxPan = 64;
constexpr int32_t kMaxFilterValue = 127;
constexpr uint8_t kHighestFilterRange = 2;

void writeEnvelopeIn(FILE* file, const TesselEnvelope& envelope)
{
    if (!envelope.isEmpty())
        envelope.writeXml(file);
}

// A group's children up to its closing element: its envelope, and for
// "general" the key map. A self-contained group has none.
bool readGroup(TesselMemoryFile& buffer, const TesselElement& group, const char* longName, const char* shortName,
               TesselEnvelope* envelope, TesselInstrument* keymapOwner)
{
    if (group.kind == kElementSelf)
        return true;
    return readChildren(buffer, longName, shortName, [&](const TesselElement& child) {
        if (envelope && child.is("envelope", "en", kElementAny))
            envelope->readXml(buffer, child);
        else if (keymapOwner && child.is("keymap", "ke", kElementAny))
            keymapOwner->keymap.readXml(buffer, child, keymapOwner->index);
    });
}

} // namespace

void TesselInstrument::writeXml(int slot, FILE* file) const
{
    TesselElement element("instrument", kElementOpen);
    element.addInt("index", slot);
    element.add("name", nameText().c_str());
    element.add("label", label);
    element.addInt("colour", colour);
    writeElement(file, element, true, true);

    TesselElement general("general", kElementOpen);
    general.addInt("newNoteAction", newNoteAction, newNoteAction != 0);
    general.addInt("duplicateCheckType", duplicateCheckType, duplicateCheckType != 0);
    general.addInt("duplicateAction", duplicateAction, duplicateAction != 0);
    writeElement(file, general, true, true);
    if (!keymap.isDefault(slot))
        keymap.writeXml(file, slot);
    writeClose(file, "general");

    TesselElement volume("volume", kElementOpen);
    volume.addInt("global", globalVolume, globalVolume != 64);
    volume.addInt("fadeOut", fadeOut, fadeOut != 0);
    volume.addInt("swing", volumeSwing, volumeSwing != 0);
    writeElement(file, volume, true, true);
    writeEnvelopeIn(file, envelopes[kVolumeEnvelope]);
    writeClose(file, "volume");

    TesselElement panning("panning", kElementOpen);
    panning.addInt("default", defaultPan, defaultPan != -1);
    panning.addInt("pitchCentre", pitchCentre, pitchCentre != 60);
    panning.addInt("pitchSeparation", pitchSeparation, pitchSeparation != 0);
    panning.addInt("swing", panningSwing, panningSwing != 0);
    writeElement(file, panning, true, true);
    writeEnvelopeIn(file, envelopes[kPanningEnvelope]);
    writeClose(file, "panning");

    TesselElement filter("filter", kElementOpen);
    filter.addInt("cutoff", filterCutoff, filterCutoff != -1);
    filter.addInt("resonance", filterResonance, filterResonance != -1);
    filter.addInt("range", filterRange, filterRange != 2);
    writeElement(file, filter, true, true);
    writeEnvelopeIn(file, envelopes[kFilterEnvelope]);
    writeClose(file, "filter");

    TesselElement pitch("pitch", kElementOpen);
    addMidiAttributes(pitch);
    writeElement(file, pitch, true, true);
    writeEnvelopeIn(file, envelopes[kPitchEnvelope]);
    writeClose(file, "pitch");

    writeClose(file, "instrument");
}

bool TesselInstrument::readXml(TesselMemoryFile& buffer, const TesselElement& element)
{
    int32_t number = -1;
    element.getInt("index", "i", number);
    index = (number >= 0 && number < kInstruments) ? number : -1;
    reset();
    char text[kMarkupValueSize] = {};
    if (element.getString("name", "n", text, sizeof text, false))
        setName(text);
    if (element.getString("label", "l", text, sizeof text, false))
        setLabel(text);
    int32_t value = 0;
    if (element.getInt("colour", "c", value)) {
        if (static_cast<double>(documentVersion()) >= kPaletteColoursUntil)
            colour = static_cast<uint32_t>(value);
        else if (value >= 0 && value < static_cast<int32_t>(kOldPalette.size()))
            colour = kOldPalette[static_cast<size_t>(value)];
    }
    if (element.kind == kElementSelf)
        return true;
    // Groups may come in any order; a self-contained one is passed over.
    return readChildren(buffer, "instrument", "in", [&](const TesselElement& child) {
        if (child.is("general", "ge", kElementAny)) {
            // Actions the engine does not know are passed over by it, as the
            // importers leave them.
            readByte(child, "newNoteAction", "n", newNoteAction);
            readByte(child, "duplicateCheckType", "c", duplicateCheckType);
            readByte(child, "duplicateAction", "a", duplicateAction);
            readGroup(buffer, child, "general", "ge", nullptr, this);
        } else if (child.is("volume", "vo", kElementAny)) {
            readIntWithin(child, "global", "g", globalVolume, 0, kMaxByte);
            readIntWithin(child, "fadeOut", "f", fadeOut, 0, kMaxFadeOut);
            readIntWithin(child, "swing", "s", volumeSwing, 0, kMaxSwingPercent);
            readGroup(buffer, child, "volume", "vo", &envelopes[kVolumeEnvelope], nullptr);
        } else if (child.is("panning", "pa", kElementAny)) {
            readIntWithin(child, "default", "d", defaultPan, -1, kMaxPan);
            readIntWithin(child, "pitchCentre", "c", pitchCentre, 0, kMaxByte);
            readIntWithin(child, "pitchSeparation", "p", pitchSeparation, -kMaxByte, kMaxByte);
            readIntWithin(child, "swing", "s", panningSwing, 0, kMaxPan);
            readGroup(buffer, child, "panning", "pa", &envelopes[kPanningEnvelope], nullptr);
        } else if (child.is("filter", "fi", kElementAny)) {
            readIntWithin(child, "cutoff", "c", filterCutoff, -1, kMaxFilterValue);
            readIntWithin(child, "resonance", "z", filterResonance, -1, kMaxFilterValue);
            readByteWithin(child, "range", "r", filterRange, 0, kHighestFilterRange);
            readGroup(buffer, child, "filter", "fi", &envelopes[kFilterEnvelope], nullptr);
        } else if (child.is("pitch", "pi", kElementAny)) {
            readMidiAttributes(child);
            readGroup(buffer, child, "pitch", "pi", &envelopes[kPitchEnvelope], nullptr);
        }
    });
}
