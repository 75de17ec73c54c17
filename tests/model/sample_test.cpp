#include "model/sample/sample.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <limits>
#include <string>

namespace {

void fill(TesselSample& s, int channels, uint32_t frames, float value)
{
    ASSERT_TRUE(s.audio.allocate(channels, frames));
    for (int c = 0; c < channels; ++c)
        for (uint32_t i = 0; i < frames; ++i)
            s.audio.channel(c)[i] = value;
    s.channels = channels;
    s.length = static_cast<int32_t>(frames);
}

} // namespace

TEST(SampleTest, NewSlotIsEmptyWithItsDefaults)
{
    TesselSample s;
    EXPECT_EQ(s.nameText(), std::string(25, ' '));
    EXPECT_EQ(s.defaultVolume, 64);
    EXPECT_EQ(s.globalVolume, 64);
    EXPECT_EQ(s.defaultPan, -1);
    EXPECT_EQ(s.pitch, 60);
    EXPECT_EQ(s.audio.channels, 0);
    EXPECT_EQ(s.audio.buffers[0], nullptr);
    for (const auto& channel : s.overview)
        for (const TesselOverviewPair& p : channel)
            EXPECT_EQ(p, (TesselOverviewPair{0, 1}));
    EXPECT_TRUE(s.isEmpty());
    EXPECT_TRUE(s.isDataEmpty());
}

TEST(SampleTest, EachSettingBreaksEmptiness)
{
    auto changed = [](auto change) {
        TesselSample s;
        change(s);
        return s.isEmpty();
    };
    EXPECT_FALSE(changed([](TesselSample& s) { s.setName("x"); }));
    EXPECT_FALSE(changed([](TesselSample& s) { s.globalVolume = 10; }));
    EXPECT_FALSE(changed([](TesselSample& s) { s.defaultDepth = 3; }));
    EXPECT_FALSE(changed([](TesselSample& s) { s.reserved = 1; }));
    EXPECT_FALSE(changed([](TesselSample& s) { s.loop.setEnd(5); }));
    EXPECT_FALSE(changed([](TesselSample& s) { s.sustain.type = 1; }));
    EXPECT_FALSE(changed([](TesselSample& s) { s.vibrato.rate = 1; }));
    // Data emptiness looks at the file facts, not at the buffers.
    EXPECT_FALSE(changed([](TesselSample& s) { s.fileRate = 44100; }));
    EXPECT_FALSE(changed([](TesselSample& s) { s.filename = "a.wav"; }));
    EXPECT_TRUE(changed([](TesselSample& s) { s.bits = 16; }));
}

TEST(SampleTest, NamesArePaddedOrCutToTwentyFive)
{
    TesselSample s;
    s.setName("Kick");
    EXPECT_EQ(s.nameText(), "Kick" + std::string(21, ' '));
    s.setName("123456789012345678901234567890");
    EXPECT_EQ(s.nameText(), "1234567890123456789012345");
    s.setName(nullptr);
    EXPECT_EQ(s.nameText(), std::string(25, ' '));
}

TEST(SampleTest, AssignCopiesSettingsAndAudioButKeepsIndexAndReserved)
{
    TesselSample a;
    a.index = 3;
    a.setName("Snare");
    a.defaultVolume = 40;
    a.defaultRotation = 7;
    a.reserved = 9;
    a.loop.type = 1;
    a.loop.begin = 100;   // working positions deliberately stale
    a.loop.end = 2000;
    a.vibrato = {1, 2, 3, 4};
    a.filename = "snare.wav";
    a.bits = 16;
    a.header[0] = 'R';
    fill(a, 2, 8, 5.0f);
    a.buildOverview();

    TesselSample b;
    b.index = 8;
    b.assign(a);
    EXPECT_EQ(b.index, 8);
    EXPECT_EQ(b.reserved, 0);
    EXPECT_EQ(b.nameText(), a.nameText());
    EXPECT_EQ(b.defaultVolume, 40);
    EXPECT_EQ(b.defaultRotation, 7);
    EXPECT_EQ(b.loop.workingBegin, (TesselSamplePos{100, 0.0f}));
    EXPECT_EQ(b.loop.workingEnd, (TesselSamplePos{2000, 0.0f}));
    EXPECT_EQ(b.vibrato, a.vibrato);
    EXPECT_EQ(b.filename, "snare.wav");
    EXPECT_EQ(b.header[0], 'R');
    EXPECT_EQ(b.overview, a.overview);
    ASSERT_EQ(b.audio.channels, 2);
    ASSERT_EQ(b.audio.frames, 8u);
    EXPECT_NE(b.audio.channel(1), a.audio.channel(1));
    EXPECT_EQ(b.audio.channel(1)[7], 5.0f);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(b.audio.channel(0)) % 16, 0u);

    b.assign(b);   // self-assignment keeps everything
    EXPECT_EQ(b.filename, "snare.wav");
    EXPECT_EQ(b.audio.frames, 8u);

    TesselSample copy(a);
    EXPECT_EQ(copy.index, 3);
    EXPECT_EQ(copy.audio.channel(0)[0], 5.0f);

    b.reset();
    EXPECT_TRUE(b.isEmpty());
    EXPECT_EQ(b.audio.buffers[0], nullptr);
    EXPECT_EQ(b.index, 8);
}

// A save's copy of the song holds the samples' frames with the song instead of
// copying them under the song lock; frames the song lets go of (a sample
// replaced or erased while the save writes) stay whole for the copy.
TEST(SampleTest, SharedAudioOutlivesTheSlotThatLetItGo)
{
    TesselSample live;
    fill(live, 2, 4096, 0.25f);
    TesselSample saved;
    saved.assign(live, true);
    EXPECT_EQ(saved.audio.channel(1), live.audio.channel(1));
    ASSERT_EQ(saved.audio.frames, 4096u);

    TesselSample replacement;
    fill(replacement, 1, 16, -1.0f);
    live.audio.swap(replacement.audio);
    replacement.reset();   // the song's old frames are let go of here
    live.reset();
    EXPECT_EQ(saved.audio.channel(0)[4095], 0.25f);
    EXPECT_EQ(saved.audio.channel(1)[0], 0.25f);

    TesselSample deep;
    deep.assign(saved);
    EXPECT_NE(deep.audio.channel(0), saved.audio.channel(0));
    saved.reset();
    EXPECT_EQ(deep.audio.channel(1)[100], 0.25f);
}

TEST(SampleTest, DataAllocationRefusesMoreThanTwoChannels)
{
    TesselSampleData d;
    ASSERT_TRUE(d.allocate(1, 4));
    EXPECT_FALSE(d.allocate(3, 4));
    EXPECT_EQ(d.channels, 0);
    EXPECT_EQ(d.frames, 0u);
    EXPECT_EQ(d.buffers[0], nullptr);
    EXPECT_EQ(d.channel(2), nullptr);
    EXPECT_FALSE(d.allocate(-1, 4));
}

TEST(SampleTest, HoldFromFillsTheGuardFrames)
{
    TesselSampleData d;
    ASSERT_TRUE(d.allocate(2, 16));
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < 16; ++i)
            d.channel(c)[i] = static_cast<float>(i + 100 * c);
    d.holdFrom(9);
    for (int i = 10; i < 16; ++i) {
        EXPECT_EQ(d.channel(0)[i], 9.0f);
        EXPECT_EQ(d.channel(1)[i], 109.0f);
    }
    EXPECT_EQ(d.channel(0)[8], 8.0f);
    d.holdFrom(16);   // past the end: nothing
    d.silence();
    EXPECT_EQ(d.channel(1)[15], 0.0f);
}

TEST(SampleTest, PositionsOrderByFrameThenFraction)
{
    const TesselSamplePos p{5, 0.25f};
    EXPECT_TRUE(p.isAfter({5, 0.125f}));
    EXPECT_TRUE(p.isAfter({4, 0.9f}));
    EXPECT_FALSE(p.isAfter({5, 0.25f}));
    EXPECT_EQ(p, (TesselSamplePos{5, 0.25f}));

    TesselSamplePos r{12, 0.25f};
    r.reflect(10);   // 8 - 0.25
    EXPECT_EQ(r, (TesselSamplePos{7, 0.75f}));
}

TEST(SampleOverviewTest, SixteenBitFullScaleGivesFifty)
{
    TesselSample s;
    s.bits = 16;
    fill(s, 1, 824, 32767.0f);
    s.buildOverview();
    for (const TesselOverviewPair& p : s.overview[0])
        EXPECT_EQ(p, (TesselOverviewPair{50, 50}));
    EXPECT_EQ(s.overview[1][0], (TesselOverviewPair{0, 1}));   // a channel the sample lacks
}

TEST(SampleOverviewTest, FloatHalfScaleRoundsTowardZero)
{
    TesselSample s;
    s.bits = 32;
    fill(s, 2, 412 * 4, 0.0f);
    for (uint32_t i = 0; i < s.audio.frames; ++i) {
        s.audio.channel(0)[i] = (i % 2) ? -0.5f : 0.5f;
        s.audio.channel(1)[i] = -0.25f;
    }
    s.buildOverview();
    for (int k = 0; k < kOverviewColumns; ++k) {
        EXPECT_EQ(s.overview[0][static_cast<size_t>(k)], (TesselOverviewPair{50, -49})) << k;
        // -25.25 + 0.5001 is cut toward zero: -24.
        EXPECT_EQ(s.overview[1][static_cast<size_t>(k)], (TesselOverviewPair{-24, -24})) << k;
    }
}

TEST(SampleOverviewTest, ShortSamplesFillOneColumnPerFrameAndOddValuesStayInRange)
{
    TesselSample s;
    s.bits = 8;
    fill(s, 1, 4, 0.0f);
    s.audio.channel(0)[0] = 1e30f;
    s.audio.channel(0)[1] = -1e30f;
    s.audio.channel(0)[2] = std::numeric_limits<float>::quiet_NaN();
    s.audio.channel(0)[3] = 127.0f;
    s.buildOverview();
    EXPECT_EQ(s.overview[0][0], (TesselOverviewPair{50, 50}));
    EXPECT_EQ(s.overview[0][1], (TesselOverviewPair{-50, -50}));
    EXPECT_EQ(s.overview[0][2], (TesselOverviewPair{0, 0}));
    EXPECT_EQ(s.overview[0][3], (TesselOverviewPair{50, 50}));   // 127 x 101 / 256 + 0.5001
    EXPECT_EQ(s.overview[0][4], (TesselOverviewPair{0, 1}));

    // A length beyond the buffers reads only what is there.
    s.length = 1000;
    s.buildOverview();
}

TEST(SampleTest, NormaliseScalesThePeakToFullScale)
{
    TesselSample s;
    s.bits = 16;
    fill(s, 2, 4, 100.0f);
    s.audio.channel(1)[2] = -1000.0f;
    EXPECT_EQ(s.peak(), 1000.0f);
    s.normalise(0.0f);
    EXPECT_FLOAT_EQ(s.audio.channel(1)[2], -32767.0f);
    EXPECT_FLOAT_EQ(s.audio.channel(0)[0], 3276.7f);

    TesselSample silent;
    silent.bits = 32;
    fill(silent, 1, 4, 0.0f);
    silent.normalise(0.0f);
    EXPECT_EQ(silent.audio.channel(0)[0], 0.0f);
    EXPECT_EQ(TesselSample().peak(), 0.0f);
}

TEST(SampleTest, ReflectionCarriesTheFractionAndStaysInRange)
{
    TesselSamplePos p{8, 0.0f};
    p.reflect(10);
    EXPECT_EQ(p, (TesselSamplePos{12, 0.0f}));
    TesselSamplePos far{-2000000000, 0.5f};
    far.reflect(2000000000);
    EXPECT_EQ(far.frame, INT32_MAX - 1);   // clamped, then -0.5 carried
    EXPECT_GE(far.fraction, 0.0f);
    EXPECT_LT(far.fraction, 1.0f);
    TesselSamplePos wild{0, 3.5e9f};
    wild.carryFraction();
    EXPECT_EQ(wild.frame, INT32_MAX);
    TesselSamplePos broken{4, std::numeric_limits<float>::infinity()};
    broken.carryFraction();
    EXPECT_EQ(broken, (TesselSamplePos{4, 0.0f}));
}

