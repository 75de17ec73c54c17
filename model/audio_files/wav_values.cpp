#include "model/audio_files/wav_values.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>

namespace {

void put16(uint8_t* p, uint32_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}

void put32(uint8_t* p, uint32_t v)
{
    put16(p, v);
    put16(p + 2, v >> 16);
}

// Truncates toward zero into [low, high] without the undefined behaviour of
// converting an out-of-range or NaN float.
int64_t truncateClamped(double value, int64_t low, int64_t high)
{
    if (std::isnan(value))
        return 0;
    if (value <= double(low))
        return low;
    if (value >= double(high))
        return high;
    return int64_t(value);
}

} // namespace

WavHeader makeWavHeader(const WavHeaderFields& fields)
{
    WavHeader h{};
    const uint32_t blockAlign = uint32_t(fields.channels) * (fields.bits / 8u);
    std::copy_n("RIFF", 4, h.begin());
    put32(&h[4], fields.dataBytes + 36);
    std::copy_n("WAVEfmt ", 8, h.begin() + 8);
    put32(&h[16], 16);
    put16(&h[20], fields.formatTag);
    put16(&h[22], fields.channels);
    put32(&h[24], fields.rate);
    put32(&h[28], fields.rate * blockAlign);
    put16(&h[32], blockAlign);
    put16(&h[34], fields.bits);
    std::copy_n("data", 4, h.begin() + 36);
    put32(&h[40], fields.dataBytes);
    return h;
}

float pcmValue(uint32_t raw, int bytes, bool isUnsigned)
{
    switch (bytes) {
    case 1:
        return float(int(raw & 0xFF) - 128);
    case 2:
        return isUnsigned ? float(int(raw & 0xFFFF) - 32768) : float(int16_t(raw));
    case 3: {
        const int32_t v = int32_t(raw << 8) >> 8;
        return float(v);
    }
    case 4:
        return float(double(int32_t(raw)) / 4294967296.0);
    default:
        return 0.0f;
    }
}

float floatValue(uint32_t raw)
{
    const float value = std::bit_cast<float>(raw);
    if (!std::isfinite(value))
        return 0.0f;
    return std::clamp(value, -kMaxFloatSample, kMaxFloatSample);
}

float pcm24In32Value(uint32_t raw)
{
    return float(double(int32_t(raw)) / 256.0);
}

int64_t wavOutputValue(float value, int bits)
{
    if (bits == 8)
        return truncateClamped(value, -128, 127) + 128;
    if (bits == 32)
        return truncateClamped(double(value) * 4294967296.0, INT32_MIN, INT32_MAX);
    if (bits < 8 || bits > 32)
        return 0;
    const int64_t top = int64_t(1) << (bits - 1);
    return truncateClamped(value, -top, top - 1);
}
