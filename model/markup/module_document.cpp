// The song document "Module.xml": the module element and the order in which
// its children are written and read.

#include "model/markup/document_fields.h"
#include "model/song/module.h"
#include "platform/system/version.h"

#include <memory>

namespace {

constexpr double kCarryFlagsSince = 0.935;

// A value outside the range, or not a number, becomes the nearest bound (the
// fallback for not a number).
double keptWithin(double value, double low, double high, double fallback)
{
    if (!(value == value))
        return fallback;
    return value < low ? low : (value > high ? high : value);
}

// The slot of a document index, or null when the index lies outside the table.
template <typename Array>
auto* slotAt(Array& slots, int i)
{
    return (i >= 0 && static_cast<size_t>(i) < slots.size()) ? &slots[static_cast<size_t>(i)] : nullptr;
}

} // namespace

void TesselModule::writeOrderXml(FILE* file) const
{
    writeElement(file, TesselElement("order", kElementOpen), true, true);
    for (const TesselOrderEntry& entry : orderList.entries)
        if (!entry.isEmpty())
            entry.writeXml(file);
    writeClose(file, "order");
}

void TesselModule::writeOutputsXml(FILE* file)
{
    outputBus.name[kStoredOutputBusName] = '\0';
    writeElement(file, TesselElement("outputs", kElementOpen), true, true);
    outputBus.writeXml(file);
    writeClose(file, "outputs");
}

void TesselModule::writeXml(FILE* file, const std::string& zipPath, bool storeAudio)
{
    documentVersion() = platform::programVersion();
    TesselElement element("module", kElementOpen);
    char number[64];
    std::snprintf(number, sizeof number, "%f", static_cast<double>(documentVersion()));
    element.add("version", number);
    std::snprintf(number, sizeof number, "%f", tempo);
    element.add("tempo", number);
    element.addInt(timingMode == Resolution ? "resolution" : "speed", static_cast<long long>(resolution + 0.1));
    element.addInt("midiIn", midiIn);
    element.addInt("rowsPerQuarter", rowsPerQuarter);
    writeElement(file, element, true, true);

    for (int i = 0; i < kSamples; ++i)
        if (!samples[static_cast<size_t>(i)].isEmpty())
            samples[static_cast<size_t>(i)].writeXml(i, file, zipPath, storeAudio);
    for (int i = 0; i < kInstruments; ++i)
        if (!instruments[static_cast<size_t>(i)].isEmpty())
            instruments[static_cast<size_t>(i)].writeXml(i, file);
    for (const TesselChannel& channel : channels)
        channel.writeXml(file);
    if (!orderList.isEmpty())
        writeOrderXml(file);
    if (!outputBus.isDefault())
        writeOutputsXml(file);
    for (const TesselPattern& pattern : patterns)
        if (!pattern.isLeftOutOfDocument())
            pattern.writeXml(file);
    writeClose(file, "module");
}

int TesselModule::readXml(TesselMemoryFile& buffer, ZipArchive* archive, const TesselElement& element)
{
    reset(120.0, 6.0, 4);
    element.getFloat("version", "v", documentVersion());
    // Timing values beyond what the editor, the effects and the importers set
    // would only make the audio thread step ticks and rows without end.
    element.getDouble("tempo", "t", tempo);
    tempo = keptWithin(tempo, kMinSongTempo, kMaxSongTempo, 120.0);
    int32_t whole = 0;
    if (element.getInt("resolution", "r", whole)) {
        timingMode = Resolution;
        if (whole != 0)
            resolution = keptWithin(whole, kMinSongSpeed, kMaxSongSpeed, 6.0);
    } else if (element.getInt("speed", "s", whole)) {
        timingMode = Speed;
        if (whole != 0)
            resolution = keptWithin(whole, kMinSongSpeed, kMaxSongSpeed, 6.0);
    }
    element.getInt("midiIn", "m", midiIn);
    // Rows per quarter divide song positions: a value below 1 is dropped, and
    // the default pattern length (16 of them) must fit the rows of a pattern.
    if (element.getInt("rowsPerQuarter", "R", whole) && whole >= 1)
        rowsPerQuarter = whole < kMaxRowsPerQuarter ? whole : kMaxRowsPerQuarter;
    if (element.kind == kElementSelf)
        return 2;

    // Scratch records are large; one of each for the whole read.
    auto sample = std::make_unique<TesselSample>();
    auto instrument = std::make_unique<TesselInstrument>();
    auto channel = std::make_unique<TesselChannel>();
    auto pattern = std::make_unique<TesselPattern>();
    const bool closed = readChildren(buffer, "module", "mo", [&](const TesselElement& child) {
        if (child.is("sample", "sa", kElementAny)) {
            sample->readXml(buffer, archive, child);
            if (TesselSample* slot = slotAt(samples, sample->index))
                slot->assign(*sample);
        } else if (child.is("instrument", "in", kElementAny)) {
            instrument->readXml(buffer, child);
            if (static_cast<double>(documentVersion()) < kCarryFlagsSince)
                for (TesselEnvelope& envelope : instrument->envelopes)
                    envelope.carry = 0;
            if (TesselInstrument* slot = slotAt(instruments, instrument->index))
                slot->assign(*instrument);
        } else if (child.is("channel", "ch", kElementAny)) {
            channel->readXml(buffer, child);
            if (TesselChannel* slot = slotAt(channels, channel->index))
                slot->assign(*channel);
        } else if (child.is("pattern", "pa", kElementAny)) {
            pattern->readXml(buffer, child);
            if (TesselPattern* slot = slotAt(patterns, pattern->index))
                slot->assign(*pattern);
        } else if (child.is("order", "or", kElementAny)) {
            orderList.readXml(buffer, child);
        } else if (child.is("outputs", "ou", kElementAny)) {
            outputBus.readXml(buffer, child);
        }
    });
    return closed ? 2 : 0;
}
