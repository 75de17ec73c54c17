#include "model/audio_files/wav_values.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <tuple>

TEST(WavValues, PcmReadsOnTheScaleOfItsWidth)
{
    // raw bits, bytes, unsigned, value
    const std::tuple<uint32_t, int, bool, float> cases[] = {
        {0x80, 1, false, 0.0f},          {0x00, 1, false, -128.0f},       {0xFF, 1, false, 127.0f},
        {0x8000, 2, false, -32768.0f},   {0x7FFF, 2, false, 32767.0f},    {0x8000, 2, true, 0.0f},
        {0x0000, 2, true, -32768.0f},    {0xFFFF, 2, true, 32767.0f},     {0x800000, 3, false, -8388608.0f},
        {0x7FFFFF, 3, false, 8388607.0f}, {0xFFFFFF, 3, false, -1.0f},    {0x40000000, 4, false, 0.25f},
        {0x80000000, 4, false, -0.5f},   {0x1234, 0, false, 0.0f},
    };
    for (const auto& [raw, bytes, isUnsigned, value] : cases)
        EXPECT_EQ(pcmValue(raw, bytes, isUnsigned), value) << std::hex << raw << " in " << bytes;
}

TEST(WavValues, FloatAndContainerValues)
{
    uint32_t one;
    const float f = 1.0f;
    std::memcpy(&one, &f, 4);
    EXPECT_EQ(floatValue(one), 1.0f);
    // Damage is silence; a value past 16 times full scale is kept at that.
    for (const uint32_t raw : {0x7FC00000u, 0x7F800000u, 0xFF800000u, 0xFFFFFFFFu})
        EXPECT_EQ(floatValue(raw), 0.0f) << std::hex << raw;
    const float huge = 3e38f;
    std::memcpy(&one, &huge, 4);
    EXPECT_EQ(floatValue(one), 16.0f);
    EXPECT_EQ(floatValue(one | 0x80000000u), -16.0f);
    EXPECT_EQ(pcm24In32Value(0x7FFFFF00), 8388607.0f);
    EXPECT_EQ(pcm24In32Value(0x80000000), -8388608.0f);
    EXPECT_EQ(pcm24In32Value(0x00000100), 1.0f);
}

TEST(WavValues, OutputTruncatesAndClamps)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();
    // value, bits, written
    const std::tuple<float, int, int64_t> cases[] = {
        {0.0f, 8, 0x80},           {-0.9f, 8, 0x80},         {127.9f, 8, 255},         {500.0f, 8, 255},
        {-500.0f, 8, 0},           {-32768.0f, 16, -32768},  {40000.0f, 16, 32767},    {-1.5f, 16, -1},
        {9e6f, 24, 8388607},       {-9e6f, 24, -8388608},    {0.5f, 32, 2147483647},   {0.25f, 32, 0x40000000},
        {-0.5f, 32, -2147483648LL}, {1e30f, 32, 2147483647}, {nan, 16, 0},             {infinity, 16, 32767},
        {5.0f, 4, 0},
    };
    for (const auto& [value, bits, written] : cases)
        EXPECT_EQ(wavOutputValue(value, bits), written) << value << " at " << bits << " bits";
}

TEST(WavValues, HeaderHoldsTheCanonicalLayout)
{
    const WavHeader h = makeWavHeader({kWavFormatPcm, 2, 44100, 24, 6000});
    const uint8_t expected[44] = {
        'R', 'I', 'F', 'F', 0x94, 0x17, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ',
        16, 0, 0, 0, 1, 0, 2, 0, 0x44, 0xAC, 0, 0, 0x98, 0x09, 0x04, 0,
        6, 0, 24, 0, 'd', 'a', 't', 'a', 0x70, 0x17, 0, 0};
    EXPECT_EQ(std::memcmp(h.data(), expected, 44), 0);
}
