#include "model/import/it_sample_decompress.h"
#include "model/import/it_compressor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

// Quiet passages, steps and full-scale noise, so every width and every kind
// of width change shows up.
std::vector<int32_t> testSignal(size_t n, int bits, unsigned seed)
{
    std::mt19937 random(seed);
    const int32_t high = (1 << (bits - 1)) - 1;
    std::vector<int32_t> s(n);
    for (size_t i = 0; i < n; ++i) {
        const size_t phase = (i / 97) % 5;
        int32_t v = 0;
        if (phase == 0)
            v = static_cast<int32_t>(std::lround(high * 0.9 * std::sin(static_cast<double>(i) * 0.01)));
        else if (phase == 1)
            v = static_cast<int32_t>(random() % 5) - 2;
        else if (phase == 2)
            v = static_cast<int32_t>(random() % (2u * static_cast<uint32_t>(high) + 2u)) - high - 1;
        else if (phase == 3)
            v = (i & 1) ? high : -high - 1;
        else
            v = static_cast<int32_t>(random() % 40) - 20 + static_cast<int32_t>(i % 7) * (high / 8);
        s[i] = v;
    }
    return s;
}

std::vector<int16_t> decode(const std::vector<uint8_t>& data, bool sixteen, bool twice, size_t frames,
                            ItDecodeResult* result = nullptr)
{
    std::vector<int16_t> out(frames, 0);
    const ItDecodeResult r = itDecompress(data.data(), data.size(), sixteen, twice, out.data(), frames);
    if (result)
        *result = r;
    return out;
}

struct Variant {
    int bits;
    bool twice;
};

class ItDecompressRoundTrip : public ::testing::TestWithParam<Variant> {};

TEST_P(ItDecompressRoundTrip, DecodesWhatTheCompressorPacked)
{
    const Variant v = GetParam();
    // Two blocks and a part: the block length and the state reset both matter.
    const size_t n = (v.bits == 8 ? 0x8000u : 0x4000u) * 2 + 301;
    const std::vector<int32_t> signal = testSignal(n, v.bits, 7u + static_cast<unsigned>(v.bits));
    const std::vector<uint8_t> packed = ittest::compress(signal, v.bits, v.twice);
    ItDecodeResult result;
    const std::vector<int16_t> out = decode(packed, v.bits == 16, v.twice, n, &result);
    EXPECT_TRUE(result.complete);
    EXPECT_EQ(result.produced, n);
    EXPECT_EQ(result.consumed, packed.size());
    for (size_t i = 0; i < n; ++i)
        ASSERT_EQ(out[i], signal[i]) << "frame " << i;
}

INSTANTIATE_TEST_SUITE_P(Widths, ItDecompressRoundTrip,
                         ::testing::Values(Variant{8, false}, Variant{8, true}, Variant{16, false}, Variant{16, true}));

// A block written bit by bit: 9-bit values 5 and 3, a switch to width 4
// (short form of the width-9 escape: 0x100 | 3), then -2 in 4 bits.
std::vector<uint8_t> handBuiltBlock(uint32_t escape)
{
    ittest::BitWriter bits;
    bits.put(5, 9);
    bits.put(3, 9);
    bits.put(escape, 9);
    bits.put(0xE, 4);
    std::vector<uint8_t> data = {static_cast<uint8_t>(bits.bytes.size()), 0};
    data.insert(data.end(), bits.bytes.begin(), bits.bytes.end());
    return data;
}

TEST(ItDecompress, HandBuiltBitstreamIntegratesOnceOrTwice)
{
    const std::vector<uint8_t> data = handBuiltBlock(0x103);
    EXPECT_EQ(decode(data, false, false, 3), (std::vector<int16_t>{5, 8, 6}));
    EXPECT_EQ(decode(data, false, true, 3), (std::vector<int16_t>{5, 13, 19}));
}

TEST(ItDecompress, InvalidWidthsStopTheSampleAndLeaveTheRestSilent)
{
    // (0x1FF + 1) & 0xFF is width 0; 0x10A asks for width 11, above 9.
    for (uint32_t escape : {0x1FFu, 0x10Au}) {
        ItDecodeResult result;
        const std::vector<int16_t> out = decode(handBuiltBlock(escape), false, false, 3, &result);
        EXPECT_FALSE(result.complete);
        EXPECT_EQ(result.produced, 2u);
        EXPECT_EQ(out, (std::vector<int16_t>{5, 8, 0}));
    }
    // 16-bit: the width-17 escape to width 18.
    ittest::BitWriter bits;
    bits.put(0x10000 | 17, 17);
    std::vector<uint8_t> data = {static_cast<uint8_t>(bits.bytes.size()), 0};
    data.insert(data.end(), bits.bytes.begin(), bits.bytes.end());
    ItDecodeResult result;
    decode(data, true, true, 4, &result);
    EXPECT_EQ(result.produced, 0u);
}

TEST(ItDecompress, TruncatedDataNeverReadsPastTheEnd)
{
    const std::vector<int32_t> signal = testSignal(5000, 16, 3);
    const std::vector<uint8_t> packed = ittest::compress(signal, 16, true);
    for (size_t cut : {size_t{0}, size_t{1}, size_t{2}, size_t{3}, packed.size() / 2, packed.size() - 1}) {
        // An exact-size heap copy lets the address sanitizer see any overread.
        std::vector<uint8_t> part(packed.begin(), packed.begin() + static_cast<std::ptrdiff_t>(cut));
        ItDecodeResult result;
        const std::vector<int16_t> out = decode(part, true, true, signal.size(), &result);
        EXPECT_FALSE(result.complete);
        EXPECT_LE(result.consumed, cut);
        for (size_t i = 0; i < result.produced; ++i)
            ASSERT_EQ(out[i], signal[i]);
    }
    // A block count beyond the data and a request for more samples than packed.
    ItDecodeResult result;
    decode({0xFF, 0xFF, 0x05}, false, false, 100, &result);
    EXPECT_EQ(result.produced, 0u);
    const std::vector<uint8_t> small = ittest::compress({1, 2, 3}, 8, false);
    decode(small, false, false, 10, &result);
    EXPECT_EQ(result.produced, 3u);
    EXPECT_FALSE(result.complete);
}

TEST(ItDecompress, NothingRequestedIsComplete)
{
    ItDecodeResult result;
    decode({}, false, false, 0, &result);
    EXPECT_TRUE(result.complete);
}

} // namespace
