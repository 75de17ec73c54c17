#include "model/audio_files/memory_file.h"
#include "model/audio_files/wav_loop_info.h"
#include "model/sample/sample.h"

#include "model/audio_files/sample_audio_support.h"
#include "model/audio_files/wav_test_support.h"

#include "support/outside_tools.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace testfiles;

namespace {

constexpr int kFrames = 1000;

// The file value of frame i, channel c, on the in-memory scale of its width;
// the first frames are the extremes and the centre.
int64_t sourceValue(int i, int c, int bits)
{
    const int64_t top = int64_t(1) << (bits - 1);
    if (i == 0)
        return -top;
    if (i == 1)
        return top - 1;
    if (i == 2)
        return 0;
    uint32_t x = uint32_t(i) * 2654435761u + uint32_t(c) * 40503u;
    x ^= x >> 13;
    return int64_t(x % uint32_t(2 * top)) - top;
}

Bytes sourceData(int channels, int bits)
{
    Bytes data;
    for (int i = 0; i < kFrames; ++i)
        for (int c = 0; c < channels; ++c) {
            const int64_t v = sourceValue(i, c, bits) + (bits == 8 ? 128 : 0);
            for (int b = 0; b < bits / 8; ++b)
                data.push_back(uint8_t(uint64_t(v) >> (8 * b)));
        }
    return data;
}

// Called after the first read and again after the written file is read back.
void checkSlot(const TesselSample& s, int channels, int bits, const std::string& filename)
{
    EXPECT_EQ(s.filename, filename);
    EXPECT_EQ(s.bits, bits);
    EXPECT_EQ(s.channels, channels);
    EXPECT_EQ(s.fileRate, 22050);
    EXPECT_EQ(s.speed, 22050);
    EXPECT_EQ(s.length, kFrames + 1);
    ASSERT_EQ(s.audio.channels, channels);
    ASSERT_EQ(s.audio.frames, uint32_t(kFrames + 1 + 6));
    EXPECT_EQ(std::memcmp(s.header, "RIFF", 4), 0);
    for (int c = 0; c < channels; ++c) {
        const float* buffer = s.audio.channel(c);
        ASSERT_NE(buffer, nullptr);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(buffer) % 16, 0u);
        for (int i = 0; i < kFrames; ++i)
            ASSERT_EQ(buffer[i], float(sourceValue(i, c, bits))) << "frame " << i << " channel " << c;
        for (int i = kFrames; i < kFrames + 7; ++i)
            ASSERT_EQ(buffer[i], 0.0f) << "guard frame " << i;
    }
    // The overview was built: the first column holds the extremes (the
    // lowest value is cut toward zero from -49.9999).
    EXPECT_EQ(s.overview[0][0].high, 50);
    EXPECT_EQ(s.overview[0][0].low, -49);
}

} // namespace

class WavRoundTrip : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(WavRoundTrip, ReadsValuesAndWritesTheSameBytes)
{
    const auto [channels, bits] = GetParam();
    const std::string folder = freshFolder();
    WavLayout layout;
    layout.channels = uint16_t(channels);
    layout.bits = uint16_t(bits);
    const Bytes original = makeWav(layout, sourceData(channels, bits));
    writeFile(folder + "/in.wav", original);

    TesselSample first;
    ASSERT_TRUE(first.readWavFile(folder + "/in.wav", nullptr));
    checkSlot(first, channels, bits, "in.wav");
    EXPECT_EQ(std::memcmp(first.header, original.data(), 44), 0);

    ASSERT_TRUE(first.writeWav(folder + "/out.wav"));
    EXPECT_EQ(readFile(folder + "/out.wav"), original);

    TesselSample second;
    ASSERT_TRUE(second.readWavFile(folder + "/out.wav", nullptr));
    checkSlot(second, channels, bits, "out.wav");
}

INSTANTIATE_TEST_SUITE_P(Layouts, WavRoundTrip,
                         ::testing::Values(std::pair{1, 8}, std::pair{2, 8}, std::pair{1, 16},
                                           std::pair{2, 16}, std::pair{1, 24}, std::pair{2, 24}));

TEST(WavValuesInSlots, ThirtyTwoBitDataIsHeldAtHalfScaleAndWrittenAsPcm)
{
    const std::string folder = freshFolder();
    Bytes pcm;
    for (uint32_t v : {0x40000000u, 0x80000000u, 0x7FFFFFFFu, 0u})
        append32(pcm, v);
    WavLayout layout;
    layout.bits = 32;
    const Bytes pcmFile = makeWav(layout, pcm);
    writeFile(folder + "/pcm.wav", pcmFile);
    TesselSample s;
    ASSERT_TRUE(s.readWavFile(folder + "/pcm.wav", nullptr));
    ASSERT_EQ(s.length, 5);
    EXPECT_EQ(framesOf(s, 0, 3), (std::vector<float>{0.25f, -0.5f, 0.5f}));
    ASSERT_TRUE(s.writeWav(folder + "/pcm-out.wav"));
    EXPECT_EQ(readFile(folder + "/pcm-out.wav"), pcmFile);

    Bytes floats;
    for (float f : {1.0f, -1.0f, 0.5f, -0.25f}) {
        uint32_t raw;
        std::memcpy(&raw, &f, 4);
        append32(floats, raw);
    }
    layout.format = 3;
    writeFile(folder + "/float.wav", makeWav(layout, floats));
    ASSERT_TRUE(s.readWavFile(folder + "/float.wav", nullptr));
    EXPECT_EQ(s.bits, 32);
    EXPECT_EQ(framesOf(s, 0, 4), (std::vector<float>{0.5f, -0.5f, 0.25f, -0.125f}));
    ASSERT_TRUE(s.writeWav(folder + "/float-out.wav"));
    Bytes expected;
    for (uint32_t v : {0x7FFFFFFFu, 0x80000000u, 0x40000000u, 0xE0000000u})
        append32(expected, v);
    layout.format = 1;
    EXPECT_EQ(readFile(folder + "/float-out.wav"), makeWav(layout, expected));
}

TEST(WavValuesInSlots, TwentyFourBitsInFourByteContainersAreScaledIntegers)
{
    const std::string folder = freshFolder();
    Bytes data;
    for (uint32_t v : {0x7FFFFF00u, 0x80000000u, 0x00000100u, 0xFFFFFF00u})
        append32(data, v);
    WavLayout layout;
    layout.channels = 2;
    layout.bits = 24;
    layout.blockAlign = 8;
    writeFile(folder + "/in.wav", makeWav(layout, data));
    TesselSample s;
    ASSERT_TRUE(s.readWavFile(folder + "/in.wav", nullptr));
    EXPECT_EQ(s.bits, 24);
    ASSERT_EQ(s.length, 3);
    EXPECT_EQ(framesOf(s, 0, 2), (std::vector<float>{8388607.0f, 1.0f}));
    EXPECT_EQ(framesOf(s, 1, 2), (std::vector<float>{-8388608.0f, -1.0f}));

    // Written back in the packed 3-byte layout.
    ASSERT_TRUE(s.writeWav(folder + "/out.wav"));
    Bytes packed;
    for (uint32_t v : {0x7FFFFFu, 0x800000u, 0x000001u, 0xFFFFFFu})
        append24(packed, v);
    layout.blockAlign = 0;
    EXPECT_EQ(readFile(folder + "/out.wav"), makeWav(layout, packed));
}

TEST(WavWriter, WritesEveryFrameOfAudioThatDidNotComeFromAWav)
{
    const std::string folder = freshFolder();
    TesselSample s;
    s.bits = 16;
    s.channels = 1;
    s.fileRate = 8363;
    s.length = 3;
    ASSERT_TRUE(s.audio.allocate(1, 3 + 6));
    const float values[] = {100.7f, -40000.0f, 40000.0f};
    std::copy(values, values + 3, s.audio.buffers[0]);
    ASSERT_TRUE(s.writeWav(folder + "/imported.wav"));
    Bytes expected;
    for (uint32_t v : {100u, 0x8000u, 0x7FFFu})
        append16(expected, v);
    WavLayout layout;
    layout.rate = 8363;
    EXPECT_EQ(readFile(folder + "/imported.wav"), makeWav(layout, expected));

    // An empty slot writes a header without frames.
    TesselSample empty;
    ASSERT_TRUE(empty.writeWav(folder + "/empty.wav"));
    EXPECT_EQ(readFile(folder + "/empty.wav").size(), 44u);

    EXPECT_FALSE(s.writeWav(folder + "/no-such-folder/x.wav"));
    EXPECT_FALSE(s.writeWav("/dev/full"));
}

TEST(WavWriter, FilesAreReadBySox)
{
    ASSERT_TRUE(outside_tools::have({"sox", "soxi"}));
    const std::string folder = freshFolder();
    for (const auto& [channels, bits] : {std::pair{2, 16}, std::pair{1, 24}, std::pair{2, 8}}) {
        WavLayout layout;
        layout.channels = uint16_t(channels);
        layout.bits = uint16_t(bits);
        const Bytes data = sourceData(channels, bits);
        writeFile(folder + "/in.wav", makeWav(layout, data));
        TesselSample s;
        ASSERT_TRUE(s.readWavFile(folder + "/in.wav", nullptr));
        const std::string out = folder + "/out.wav";
        ASSERT_TRUE(s.writeWav(out));
        EXPECT_EQ(output("soxi -c '" + out + "'; soxi -r '" + out + "'; soxi -b '" + out + "'; soxi -s '" + out + "'"),
                  std::to_string(channels) + "\n22050\n" + std::to_string(bits) + "\n" + std::to_string(kFrames) + "\n");
        ASSERT_TRUE(run("sox '" + out + "' -t raw '" + folder + "/out.raw'"));
        EXPECT_EQ(readFile(folder + "/out.raw"), data) << channels << " channels, " << bits << " bits";
    }
}
