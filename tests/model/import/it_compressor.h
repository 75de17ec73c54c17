#pragma once
// A compressor for Impulse Tracker sample data, written from the published
// bit layout, so the importer's decoder is checked against the format rather
// than against itself.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace ittest {

class BitWriter {
public:
    void put(uint32_t value, int width)
    {
        for (int i = 0; i < width; ++i, ++bits_) {
            if ((bits_ & 7) == 0)
                bytes.push_back(0);
            bytes.back() = static_cast<uint8_t>(bytes.back() | (((value >> i) & 1u) << (bits_ & 7)));
        }
    }
    std::vector<uint8_t> bytes;

private:
    size_t bits_ = 0;
};

// Packs signed samples of `sampleBits` (8 or 16). `twice` makes 2.15 data
// (second differences). Each block picks the narrowest width that can carry a
// value without colliding with that width's escape codes.
inline std::vector<uint8_t> compress(const std::vector<int32_t>& samples, int sampleBits, bool twice)
{
    const int top = sampleBits + 1;
    const size_t blockFrames = sampleBits == 8 ? 0x8000 : 0x4000;
    const int64_t modulus = int64_t{1} << sampleBits;
    auto wrap = [&](int64_t v) {
        v %= modulus;
        if (v < 0)
            v += modulus;
        return v >= modulus / 2 ? v - modulus : v;
    };
    // Is v (signed) a plain sample at width w?
    auto fits = [&](int64_t v, int w) {
        if (w == top)
            return true;
        const int64_t half = int64_t{1} << (w - 1);
        if (v < -half || v >= half)
            return false;
        const uint32_t raw = static_cast<uint32_t>(v) & ((1u << w) - 1u);
        if (w < 7)
            return raw != (1u << (w - 1));
        const uint32_t base = (((1u << sampleBits) - 1u) >> (top - w)) - static_cast<uint32_t>(sampleBits / 2);
        return !(raw > base && raw <= base + static_cast<uint32_t>(sampleBits));
    };
    std::vector<uint8_t> out;
    for (size_t start = 0; start < samples.size(); start += blockFrames) {
        const size_t end = std::min(samples.size(), start + blockFrames);
        BitWriter bits;
        int width = top;
        int64_t previous = 0, previousDelta = 0;
        for (size_t i = start; i < end; ++i) {
            const int64_t delta = wrap(samples[i] - previous);
            const int64_t code = twice ? wrap(delta - previousDelta) : delta;
            previous = samples[i];
            previousDelta = delta;
            int w = 1;
            while (!fits(code, w))
                ++w;
            if (w != width) {
                const uint32_t n = static_cast<uint32_t>(w < width ? w : w - 1);
                if (width < 7) {
                    bits.put(1u << (width - 1), width);
                    bits.put(n - 1, sampleBits == 8 ? 3 : 4);
                } else if (width < top) {
                    const uint32_t base = (((1u << sampleBits) - 1u) >> (top - width)) - static_cast<uint32_t>(sampleBits / 2);
                    bits.put(base + n, width);
                } else {
                    bits.put((1u << sampleBits) | static_cast<uint32_t>(w - 1), width);
                }
                width = w;
            }
            // Raw values at the top width keep the escape bit clear.
            const int valueBits = width == top ? sampleBits : width;
            bits.put(static_cast<uint32_t>(code) & ((1u << valueBits) - 1u), width);
        }
        out.push_back(static_cast<uint8_t>(bits.bytes.size() & 0xFF));
        out.push_back(static_cast<uint8_t>(bits.bytes.size() >> 8));
        out.insert(out.end(), bits.bytes.begin(), bits.bytes.end());
    }
    return out;
}

} // namespace ittest
