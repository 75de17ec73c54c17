#include "editor/sample_list/sample_texts.h"

#include "model/sample/sample.h"
#include "resources/resource_ids.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr const char* kNoteNames[12] = {"C-", "C#", "D-", "D#", "E-", "F-", "F#", "G-", "G#", "A-", "A#", "B-"};
constexpr size_t kValueTextLimit = 16;

} // namespace

std::string sampleFormatText(const TesselSample& sample)
{
    if (sample.bits == 0)
        return "No sample";
    char text[48];
    std::snprintf(text, sizeof text, "%u%c%c/%.1f%c%c", static_cast<unsigned>(sample.bits),
                  resources::kGlyphBitLeft, resources::kGlyphBitRight,
                  static_cast<double>(static_cast<uint32_t>(sample.fileRate)) * 0.001, resources::kGlyphKiloHertzLeft,
                  resources::kGlyphKiloHertzRight);
    return text;
}

std::string sampleLengthText(const TesselSample& sample)
{
    if (sample.length == 0)
        return "";
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(sample.length));
    return text;
}

std::string sampleNoteText(int32_t note)
{
    const int32_t name = ((note % 12) + 12) % 12;
    char text[24];
    std::snprintf(text, sizeof text, "@ %s%d", kNoteNames[name], static_cast<int>(note / 12));
    return text;
}

std::string sampleValueText(float value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%+.0f", static_cast<double>(value));
    std::string shown = text;
    if (shown.size() > kValueTextLimit)
        shown.resize(kValueTextLimit);
    return shown;
}

int32_t loopDigits(int32_t length)
{
    int32_t digits = 1;
    for (int64_t power = 10; power <= std::max<int64_t>(length, 0); power *= 10)
        ++digits;
    return std::clamp(digits, 6, 9);
}
