#pragma once
// The layout of a canonical WAV header and the conversion of sample values
// between file integers and the in-memory scale (8-bit -128..127, 16-bit and
// 24-bit on their own integer scale, 32-bit sources at half full scale).

#include <array>
#include <cstddef>
#include <cstdint>

constexpr size_t kWavHeaderSize = 44;
constexpr uint16_t kWavFormatPcm = 1;
constexpr uint16_t kWavFormatFloat = 3;
// WAVE_FORMAT_EXTENSIBLE: the format is the sub-format GUID of the chunk's
// extension (what most programs write for more than 16 bits or two channels).
constexpr uint16_t kWavFormatExtensible = 0xFFFE;

struct WavHeaderFields {
    uint16_t formatTag = kWavFormatPcm;
    uint16_t channels = 0;
    uint32_t rate = 0;
    uint16_t bits = 0;
    uint32_t dataBytes = 0;
};

using WavHeader = std::array<uint8_t, kWavHeaderSize>;

// "RIFF", size dataBytes + 36, "WAVEfmt ", a 16-byte format chunk (block
// align channels x bits / 8, byte rate rate x block align), "data", dataBytes.
WavHeader makeWavHeader(const WavHeaderFields& fields);

// A PCM value of 1..4 little-endian bytes as read from a file. 8-bit data is
// unsigned; wider data is signed unless isUnsigned says otherwise (some
// tracker formats store unsigned 16-bit samples, centred at 32768).
float pcmValue(uint32_t raw, int bytes, bool isUnsigned = false);

// Float files hold full scale as 1.0; mixes and renders may run a few times
// over it, no real recording 16 times (24 dB). Beyond that a value is damage,
// and one near the float's limit would overflow the mixer's sums to infinity.
constexpr float kMaxFloatSample = 16.0f;

// A 4-byte IEEE float sample: not a number and infinities are silence, other
// values are kept within +-kMaxFloatSample.
float floatValue(uint32_t raw);

// 24-bit samples left-justified in a 4-byte container, on the 24-bit scale.
float pcm24In32Value(uint32_t raw);

// The integer that the WAV writer stores in bits / 8 bytes for a value:
// truncated and clamped to the range of the width (8-bit offset by 128,
// 32-bit scaled by 2^32). NaN is written as silence.
int64_t wavOutputValue(float value, int bits);
