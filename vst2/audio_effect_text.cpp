// Number formatting for parameter displays, kept for the interface: each
// writes at most eight characters and a terminator.
#include "vst2/audio_effect.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kDisplayLength = 8;

void writeHuge(char* text)
{
    std::strcpy(text, "Huge!");
}

void cutToDisplay(const char* from, char* text)
{
    std::size_t n = std::strlen(from);
    if (n > kDisplayLength)
        n = kDisplayLength;
    std::memcpy(text, from, n);
    text[n] = 0;
}

} // namespace

void AudioEffect::dB2string(float value, char* text)
{
    if (!text)
        return;
    if (value <= 0.0f)
        std::strcpy(text, "-oo");
    else
        float2string(20.0f * std::log10(value), text);
}

void AudioEffect::Hz2string(float samples, char* text)
{
    if (text)
        float2string(samples == 0.0f ? 0.0f : sampleRate / samples, text);
}

void AudioEffect::ms2string(float samples, char* text)
{
    if (text)
        float2string(sampleRate > 0.0f ? samples * 1000.0f / sampleRate : 0.0f, text);
}

void AudioEffect::float2string(float value, char* text)
{
    if (!text)
        return;
    double magnitude = std::fabs(static_cast<double>(value));
    if (!std::isfinite(value) || magnitude >= 1e8 || (value < 0 && magnitude >= 1e7)) {
        writeHuge(text);
        return;
    }
    int integralDigits = 1;
    for (double v = std::trunc(magnitude); v >= 10.0; v /= 10.0)
        ++integralDigits;
    if (value < 0)
        ++integralDigits;
    int decimals = kDisplayLength - integralDigits - 1;
    if (decimals < 0)
        decimals = 0;
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, static_cast<double>(value));
    cutToDisplay(buffer, text);
}

void AudioEffect::long2string(VstInt32 value, char* text)
{
    if (!text)
        return;
    if (value > 99999999) {
        writeHuge(text);
        return;
    }
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%7d", value);
    cutToDisplay(buffer, text);
}
