#include "model/import/it_compressor.h"
#include "model/import/it_import_test_support.h"

#include <cmath>

namespace {

using ittest::Bytes;

Bytes le16(const std::vector<uint16_t>& values)
{
    Bytes b;
    for (uint16_t v : values) {
        b.push_back(static_cast<uint8_t>(v));
        b.push_back(static_cast<uint8_t>(v >> 8));
    }
    return b;
}

TEST_F(ItImportTest, SampleHeaderFields)
{
    ittest::File f;
    ittest::Sample s = ittest::makeSample("A sample name longer than 25", ittest::kHasData | ittest::kLoopOn |
                                          ittest::kPingPongLoop | ittest::kSustainOn, 1, 100, Bytes(100, 0));
    ittest::put8(s.header, 17, 50);
    ittest::put8(s.header, 19, 33);
    ittest::put8(s.header, 47, 0x80 | 20);
    ittest::put32(s.header, 52, 10);
    ittest::put32(s.header, 56, 90);
    ittest::put32(s.header, 60, 22050);
    ittest::put32(s.header, 64, 20);
    ittest::put32(s.header, 68, 30);
    ittest::put8(s.header, 76, 4);
    ittest::put8(s.header, 77, 8);
    ittest::put8(s.header, 78, 2);
    ittest::put8(s.header, 79, 1);
    f.samples.push_back(s);
    ittest::Sample empty = ittest::makeSample("empty", 0, 1, 0, {});
    ittest::put8(empty.header, 47, 20);
    f.samples.push_back(empty);
    ASSERT_EQ(import(f.build()), kImportLoaded);
    EXPECT_TRUE(report.warnings.empty());

    const TesselSample& a = song->samples[0];
    EXPECT_EQ(a.nameText(), "A sample name longer than");
    EXPECT_EQ(a.filename, "SAMPLE.WAV");
    EXPECT_EQ(a.globalVolume, 50);
    EXPECT_EQ(a.defaultVolume, 33);
    EXPECT_EQ(a.defaultPan, 20);
    EXPECT_EQ(a.length, 100);
    EXPECT_EQ(a.speed, 22050);
    EXPECT_EQ(a.fileRate, 44100);
    EXPECT_EQ(a.bits, 8);
    EXPECT_EQ(a.channels, 1);
    EXPECT_EQ(loopOf(a.loop), (LoopPoints{2, 10, 90}));
    EXPECT_EQ(a.loop.workingEnd.frame, 90);
    EXPECT_EQ(loopOf(a.sustain), (LoopPoints{1, 20, 30}));
    EXPECT_EQ(a.vibrato, (TesselVibrato{4, 1, 8, 2}));

    const TesselSample& b = song->samples[1];
    EXPECT_EQ(b.defaultPan, -1);
    EXPECT_EQ(b.length, 0);
    EXPECT_EQ(b.bits, 0);
    EXPECT_EQ(b.fileRate, 0);
    EXPECT_EQ(framesOf(b, 0, 6), std::vector<float>(6, 0.0f));
}

TEST_F(ItImportTest, PlainSamplesSignedAndUnsignedWithGuardFrames)
{
    ittest::File f;
    f.samples.push_back(ittest::makeSample("u8", 1, 0, 3, {0, 128, 255}));
    f.samples.push_back(ittest::makeSample("s8", 1, 1, 3, {0x80, 0, 0x7F}));
    f.samples.push_back(ittest::makeSample("s16", 3, 1, 3, le16({0x8000, 0, 0x7FFF})));
    f.samples.push_back(ittest::makeSample("u16", 3, 0, 3, le16({0, 0x8000, 0xFFFF})));
    ASSERT_EQ(import(f.build()), kImportLoaded);
    EXPECT_TRUE(report.warnings.empty());
    const std::vector<float> eight{-128, 0, 127, 127, 127, 127, 127, 127, 127};
    const std::vector<float> sixteen{-32768, 0, 32767, 32767, 32767, 32767, 32767, 32767, 32767};
    EXPECT_EQ(framesOf(song->samples[0], 0, 9), eight);
    EXPECT_EQ(framesOf(song->samples[1], 0, 9), eight);
    EXPECT_EQ(framesOf(song->samples[2], 0, 9), sixteen);
    // Unsigned 16-bit data is centred at 32768, not 128.
    EXPECT_EQ(framesOf(song->samples[3], 0, 9), sixteen);
    EXPECT_EQ(song->samples[2].bits, 16);
    EXPECT_EQ(song->samples[0].audio.frames, 9u);
    EXPECT_NE(song->samples[0].overview[0][0], TesselOverviewPair{});
}

std::vector<int32_t> wave(size_t n, int bits)
{
    std::vector<int32_t> s(n);
    const double top = (1 << (bits - 1)) - 1;
    for (size_t i = 0; i < n; ++i)
        s[i] = static_cast<int32_t>(std::lround(top * std::sin(static_cast<double>(i) * 0.003) *
                                                std::cos(static_cast<double>(i) * 0.071)));
    return s;
}

struct Compressed {
    int bits;
    uint16_t version;
};

class ItImportCompressed : public ItImportTest, public ::testing::WithParamInterface<Compressed> {};

TEST_P(ItImportCompressed, DecodesLikeTheIndependentCompressorsInput)
{
    const Compressed c = GetParam();
    const bool twice = c.version == 0x215;
    const size_t n = (c.bits == 8 ? 0x8000u : 0x4000u) + 1000;
    const std::vector<int32_t> signal = wave(n, c.bits);
    const uint8_t flags = static_cast<uint8_t>(1 | ittest::kCompressedData | (c.bits == 16 ? ittest::k16Bit : 0));
    ittest::File f;
    f.compatible = c.version;
    f.samples.push_back(ittest::makeSample("packed", flags, 1, static_cast<uint32_t>(n),
                                           ittest::compress(signal, c.bits, twice)));
    ASSERT_EQ(import(f.build()), kImportLoaded);
    EXPECT_TRUE(report.warnings.empty());
    const TesselSample& s = song->samples[0];
    ASSERT_EQ(s.length, static_cast<int32_t>(n));
    const std::vector<float> got = framesOf(s, 0, n + 6);
    for (size_t i = 0; i < n; ++i)
        ASSERT_EQ(got[i], static_cast<float>(signal[i])) << "frame " << i;
    EXPECT_EQ(got[n + 5], static_cast<float>(signal[n - 1]));
}

INSTANTIATE_TEST_SUITE_P(Versions, ItImportCompressed,
                         ::testing::Values(Compressed{8, 0x214}, Compressed{8, 0x215}, Compressed{16, 0x214},
                                           Compressed{16, 0x215}));

TEST_F(ItImportTest, OnlyVersion215IntegratesTwice)
{
    const std::vector<int32_t> signal{100, -200, 3000, 3000, -32768, 32767, 5};
    ittest::File f;
    f.compatible = 0x214;   // data packed for 2.15, read as 2.14: the first differences
    f.samples.push_back(ittest::makeSample("p", 1 | ittest::kCompressedData | ittest::k16Bit, 1, 7,
                                           ittest::compress(signal, 16, true)));
    ASSERT_EQ(import(f.build()), kImportLoaded);
    std::vector<float> expected;
    int32_t previous = 0;
    for (int32_t v : signal) {
        expected.push_back(static_cast<float>(static_cast<int16_t>(v - previous)));
        previous = v;
    }
    EXPECT_EQ(framesOf(song->samples[0], 0, 7), expected);
}

TEST_F(ItImportTest, HostileLengthsLoopsAndCompressedDataGivePartialSamples)
{
    ittest::File f;
    const Bytes packedData = ittest::compress({5, 6, 7}, 8, false);
    f.samples.push_back(ittest::makeSample("packed", 1 | ittest::kCompressedData, 1, 0x10000000u, packedData));
    ittest::Sample loop = ittest::makeSample("loop", 1 | ittest::kSustainOn, 1, 4, {1, 2, 3, 4});
    ittest::put32(loop.header, 64, 3);
    ittest::put32(loop.header, 68, 3);
    f.samples.push_back(loop);
    // The last data in the file: its length can only reach the end of the file.
    ittest::Sample last = ittest::makeSample("huge", 1 | ittest::kLoopOn, 1, 0xFFFFFFF0u, {1, 2, 3, 4});
    ittest::put32(last.header, 52, 2);
    ittest::put32(last.header, 56, 0x7FFFFFFF);
    f.samples.push_back(last);
    f.samples.push_back(ittest::makeSample("nowhere", 1, 1, 10, {}));
    ittest::put32(f.samples[1].header, 52, 50);   // loop off, begin past its end
    ittest::put32(f.samples[1].header, 56, 2);
    ASSERT_EQ(import(f.build()), kImportLoaded);

    const TesselSample& packed = song->samples[0];
    EXPECT_LE(packed.length, static_cast<int32_t>(8 * (packedData.size() + 8)));
    EXPECT_EQ(framesOf(packed, 0, 4), (std::vector<float>{5, 6, 7, 0}));
    EXPECT_EQ(song->samples[1].sustain.type, 0);
    EXPECT_EQ(song->samples[1].loop.begin, 2);
    EXPECT_EQ(song->samples[1].loop.end, 2);
    const TesselSample& huge = song->samples[2];
    EXPECT_EQ(huge.length, 4);
    EXPECT_EQ(huge.loop.type, 1);
    EXPECT_EQ(huge.loop.end, 4);
    EXPECT_EQ(framesOf(huge, 0, 4), (std::vector<float>{1, 2, 3, 4}));
    EXPECT_EQ(song->samples[3].length, 0);
    // Length and early end of the packed one, the empty sustain loop, length
    // and loop of the huge one, the missing data.
    EXPECT_EQ(report.warnings.size(), 6u);
}

} // namespace
