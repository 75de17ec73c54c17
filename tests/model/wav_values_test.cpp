#include "model/wav_values.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

TEST(WavValues, PcmReadsOnTheScaleOfItsWidth)
{
    EXPECT_EQ(pcmValue(0x80, 1), 0.0f);
    EXPECT_EQ(pcmValue(0x00, 1), -128.0f);
    EXPECT_EQ(pcmValue(0xFF, 1), 127.0f);
    EXPECT_EQ(pcmValue(0x8000, 2), -32768.0f);
    EXPECT_EQ(pcmValue(0x7FFF, 2), 32767.0f);
    EXPECT_EQ(pcmValue(0x8000, 2, true), 0.0f);
    EXPECT_EQ(pcmValue(0x0000, 2, true), -32768.0f);
    EXPECT_EQ(pcmValue(0xFFFF, 2, true), 32767.0f);
    EXPECT_EQ(pcmValue(0x800000, 3), -8388608.0f);
    EXPECT_EQ(pcmValue(0x7FFFFF, 3), 8388607.0f);
    EXPECT_EQ(pcmValue(0xFFFFFF, 3), -1.0f);
    EXPECT_EQ(pcmValue(0x40000000, 4), 0.25f);
    EXPECT_EQ(pcmValue(0x80000000, 4), -0.5f);
    EXPECT_EQ(pcmValue(0x1234, 0), 0.0f);
}

TEST(WavValues, FloatAndContainerValues)
{
    uint32_t one;
    const float f = 1.0f;
    std::memcpy(&one, &f, 4);
    EXPECT_EQ(floatValue(one), 1.0f);
    EXPECT_EQ(pcm24In32Value(0x7FFFFF00), 8388607.0f);
    EXPECT_EQ(pcm24In32Value(0x80000000), -8388608.0f);
    EXPECT_EQ(pcm24In32Value(0x00000100), 1.0f);
}

TEST(WavValues, OutputTruncatesAndClamps)
{
    EXPECT_EQ(wavOutputValue(0.0f, 8), 0x80);
    EXPECT_EQ(wavOutputValue(-0.9f, 8), 0x80);
    EXPECT_EQ(wavOutputValue(127.9f, 8), 255);
    EXPECT_EQ(wavOutputValue(500.0f, 8), 255);
    EXPECT_EQ(wavOutputValue(-500.0f, 8), 0);
    EXPECT_EQ(wavOutputValue(-32768.0f, 16), -32768);
    EXPECT_EQ(wavOutputValue(40000.0f, 16), 32767);
    EXPECT_EQ(wavOutputValue(-1.5f, 16), -1);
    EXPECT_EQ(wavOutputValue(9e6f, 24), 8388607);
    EXPECT_EQ(wavOutputValue(-9e6f, 24), -8388608);
    EXPECT_EQ(wavOutputValue(0.5f, 32), 2147483647);
    EXPECT_EQ(wavOutputValue(0.25f, 32), 0x40000000);
    EXPECT_EQ(wavOutputValue(-0.5f, 32), -2147483648LL);
    EXPECT_EQ(wavOutputValue(1e30f, 32), 2147483647);
    EXPECT_EQ(wavOutputValue(std::numeric_limits<float>::quiet_NaN(), 16), 0);
    EXPECT_EQ(wavOutputValue(std::numeric_limits<float>::infinity(), 16), 32767);
    EXPECT_EQ(wavOutputValue(5.0f, 4), 0);
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
