#include "pagekit/list_entries.h"

#include "model/instrument/instrument.h"
#include "model/sample/sample.h"
#include "resources/resource_ids.h"

#include <bitset>
#include <cstdio>
#include <cstring>

namespace {

constexpr uint8_t kSampleIcon = 3;
constexpr uint8_t kInstrumentIcon = 6;
constexpr uint32_t kWhite = 0xFFFFFF;

std::string trimmedName(const char* name, size_t length)
{
    std::string text(name, strnlen(name, length));
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

// "%02d: " and the name.
std::string numbered(int32_t index, const std::string& name)
{
    char number[16];
    std::snprintf(number, sizeof number, "%02d: ", index + 1);
    return number + name;
}

// The distinct sample numbers that the key rows and the regions name.
int countSamples(const TesselKeymap& keymap)
{
    std::bitset<kSamples + 1> seen;
    auto note = [&seen](int number) {
        if (number >= 1 && number <= kSamples)
            seen.set(static_cast<size_t>(number));
    };
    for (int key = 0; key < kKeys; ++key) {
        note(keymap.keyRow(key).instrument);
        const TesselKeyRegions& regions = keymap.regionsOf(key);
        for (int r = 0; r < regions.count(); ++r)
            note(regions.regions[static_cast<size_t>(r)].value);
    }
    return static_cast<int>(seen.count());
}

// "%s<prefix>%.<digits>d", or the prefix and dashes for a value of -1.
void appendSetting(std::string& text, const char* prefix, int32_t setting, bool none)
{
    char part[32];
    if (none)
        std::snprintf(part, sizeof part, "%s---", prefix);
    else
        std::snprintf(part, sizeof part, "%s%.3d", prefix, setting);
    text += part;
}

} // namespace

TesselListItem sampleListEntry(const TesselSample& sample)
{
    TesselListItem item;
    const std::string name = trimmedName(sample.name, kSampleNameLength);
    item.name = numbered(sample.index, name);
    if (name.empty() && !sample.filename.empty())
        item.name += "(" + sample.filename + ")";
    item.icon = kSampleIcon;
    item.colour = kWhite;
    char detail[96];
    std::snprintf(detail, sizeof detail, "%10d %.7s %.2u%c%c/%.1f%c%c", sample.length, "Sample",
                  static_cast<unsigned>(sample.bits), resources::kGlyphBitLeft, resources::kGlyphBitRight,
                  sample.fileRate / 1000.0, resources::kGlyphKiloHertzLeft, resources::kGlyphKiloHertzRight);
    item.detail = detail;
    return item;
}

TesselListItem instrumentListEntry(const TesselInstrument& instrument)
{
    TesselListItem item;
    item.name = numbered(instrument.index, trimmedName(instrument.name, kInstrumentNameLength));
    item.icon = kInstrumentIcon;
    item.colour = kWhite;
    if (!instrument.midiOut) {
        const int samples = countSamples(instrument.keymap);
        char detail[64];
        std::snprintf(detail, sizeof detail, "   (Audio) Ins. [%d %s]", samples, samples == 1 ? "sample" : "samples");
        item.detail = detail;
        return item;
    }
    std::string detail = "    (MIDI) Ins. ";
    if (instrument.midiChannel < 1) {
        detail += "C--";
    } else {
        char channel[16];
        std::snprintf(channel, sizeof channel, "C%.2d", instrument.midiChannel);
        detail += channel;
    }
    appendSetting(detail, ",#", instrument.midiProgram + 1, instrument.midiProgram == -1);
    appendSetting(detail, ",B", instrument.midiBankMsb, instrument.midiBankMsb == -1);
    appendSetting(detail, "/", instrument.midiBankLsb, instrument.midiBankLsb == -1);
    item.detail = detail;
    return item;
}
