#include "model/import/it_sample_decompress.h"

#include <algorithm>

namespace {

class BitReader {
public:
    BitReader(const uint8_t* data, size_t size) : data_(data), bits_(size * 8) {}

    // False when fewer than n bits remain.
    bool read(int n, uint32_t& value)
    {
        if (static_cast<size_t>(n) > bits_ - position_)
            return false;
        value = 0;
        for (int i = 0; i < n; ++i, ++position_) {
            const uint32_t bit = (data_[position_ >> 3] >> (position_ & 7)) & 1u;
            value |= bit << i;
        }
        return true;
    }

private:
    const uint8_t* data_;
    size_t bits_;
    size_t position_ = 0;
};

struct Variant {
    int topWidth;         // 9 or 17: the width that carries raw values
    int sampleBits;       // 8 or 16
    int escapeBits;       // 3 or 4: the new width after a short escape
    uint32_t blockFrames; // samples per block
};

constexpr Variant kEightBit{9, 8, 3, 0x8000};
constexpr Variant kSixteenBit{17, 16, 4, 0x4000};

int nextWidth(uint32_t n, int width)
{
    return static_cast<int>(n) < width ? static_cast<int>(n) : static_cast<int>(n) + 1;
}

// One block: false when it ends early.
bool decodeBlock(BitReader& bits, const Variant& v, bool integrateTwice, int16_t* out, size_t count,
                 size_t& produced)
{
    const uint32_t sampleMask = (1u << v.sampleBits) - 1u;
    int width = v.topWidth;
    uint32_t delta = 0;
    uint32_t sum = 0;
    size_t done = 0;
    while (done < count) {
        // Width 0 comes from a corrupt top-width escape; neither 0 nor a width
        // above the top one can be read.
        if (width < 1 || width > v.topWidth)
            break;
        uint32_t value = 0;
        if (!bits.read(width, value))
            break;
        if (width < 7) {
            if (value == 1u << (width - 1)) {
                uint32_t n = 0;
                if (!bits.read(v.escapeBits, n))
                    break;
                width = nextWidth(n + 1, width);
                continue;
            }
        } else if (width < v.topWidth) {
            const uint32_t base = (sampleMask >> (v.topWidth - width)) - static_cast<uint32_t>(v.sampleBits / 2);
            if (value > base && value <= base + static_cast<uint32_t>(v.sampleBits)) {
                width = nextWidth(value - base, width);
                continue;
            }
        } else if (value & (1u << v.sampleBits)) {
            width = static_cast<int>((value + 1) & 0xFF);
            continue;
        }
        if (width < v.sampleBits) {
            const int shift = 32 - width;
            value = static_cast<uint32_t>(static_cast<int32_t>(value << shift) >> shift);
        }
        delta = (delta + value) & sampleMask;
        sum = (sum + delta) & sampleMask;
        const uint32_t result = integrateTwice ? sum : delta;
        // Back to signed at the sample's width.
        const int32_t half = 1 << (v.sampleBits - 1);
        out[done++] = static_cast<int16_t>(static_cast<int32_t>(result ^ static_cast<uint32_t>(half)) - half);
    }
    produced += done;
    return done == count;
}

} // namespace

ItDecodeResult itDecompress(const uint8_t* data, size_t size, bool sixteenBit, bool integrateTwice,
                            int16_t* out, size_t frames)
{
    const Variant& v = sixteenBit ? kSixteenBit : kEightBit;
    ItDecodeResult result;
    size_t at = 0;
    while (result.produced < frames) {
        if (size - at < 2)
            return result;
        const size_t blockBytes = std::min<size_t>(data[at] | (data[at + 1] << 8), size - at - 2);
        at += 2;
        BitReader bits(data + at, blockBytes);
        at += blockBytes;
        result.consumed = at;
        const size_t count = std::min<size_t>(v.blockFrames, frames - result.produced);
        if (!decodeBlock(bits, v, integrateTwice, out + result.produced, count, result.produced))
            return result;
    }
    result.complete = true;
    return result;
}
