// Instruments, their key maps and envelopes, sample headers and data.

#include "model/import/xm_import_test_support.h"
#include "model/import/xm_samples.h"

#include <gtest/gtest.h>

using namespace xmtest;

namespace {

Instrument withSamples(std::vector<Sample> samples)
{
    Instrument in;
    in.samples = std::move(samples);
    return in;
}

Module withInstruments(std::vector<Instrument> instruments)
{
    Module m;
    m.instruments = std::move(instruments);
    return m;
}

} // namespace

TEST_F(XmImportTest, SpeedUsesTheFormatsSemitone)
{
    EXPECT_EQ(xmSampleSpeed(0, 0), 8363);
    EXPECT_EQ(xmSampleSpeed(12, 0), 16725) << "just below 16726";
    EXPECT_EQ(xmSampleSpeed(-12, 0), 4181);
    EXPECT_EQ(xmSampleSpeed(0, 64), 8608);
    EXPECT_EQ(xmSampleSpeed(0, -128), 7893);

    Sample s{deltas8({1})};
    s.relativeNote = 12;
    ASSERT_EQ(import(withInstruments({withSamples({s})})), kXmLoaded);
    EXPECT_EQ(song->samples[0].speed, 16725);
}

TEST_F(XmImportTest, SampleHeaderFields)
{
    Sample a{deltas8({1, 2, 3, 4})};
    a.name = "first sample";
    a.volume = 70;
    a.pan = 255;
    a.type = 1;
    a.loopStart = 1;
    a.loopLength = 2;
    Sample b{deltas16({100, -100, 300})};
    b.pan = 127;
    b.type = 16 | 2;
    b.loopStart = 2;
    b.loopLength = 100;
    Sample c{deltas8({1, 2})};
    c.pan = 0;
    c.type = 1;
    c.loopStart = 1;   // start equals end: no loop
    ASSERT_EQ(import(withInstruments({withSamples({a, b, c})})), kXmLoaded);

    const TesselSample& s0 = song->samples[0];
    EXPECT_EQ(s0.nameText(), "first sample             ");
    EXPECT_EQ(s0.defaultVolume, 64);
    EXPECT_EQ(s0.defaultPan, 64);
    EXPECT_EQ(s0.bits, 8);
    EXPECT_EQ(s0.channels, 1);
    EXPECT_EQ(s0.fileRate, 44100);
    EXPECT_EQ(loopOf(s0.loop), (LoopPoints{1, 1, 3}));

    const TesselSample& s1 = song->samples[1];
    EXPECT_EQ(s1.defaultPan, 32);
    EXPECT_EQ(s1.bits, 16);
    EXPECT_EQ(s1.length, 3);
    EXPECT_EQ(loopOf(s1.loop), (LoopPoints{2, 1, 3})) << "a loop past the sample ends at its end";

    EXPECT_EQ(song->samples[2].defaultPan, 0);
    EXPECT_EQ(song->samples[2].loop.type, 0);
}

TEST_F(XmImportTest, DeltaCodedDataOfBothWidths)
{
    const std::vector<int> eight{0, 127, -128, -1, 50, 3};
    const std::vector<int> sixteen{0, 32767, -32768, -1, 1234, -4321};
    Sample s16{deltas16(sixteen)};
    s16.type = 16;
    ASSERT_EQ(import(withInstruments({withSamples({Sample{deltas8(eight)}, s16})})), kXmLoaded);

    EXPECT_EQ(framesOf(song->samples[0], 0), std::vector<float>(eight.begin(), eight.end()));
    EXPECT_EQ(framesOf(song->samples[1], 0), std::vector<float>(sixteen.begin(), sixteen.end()));
    // Guard frames repeat the last frame.
    EXPECT_EQ(song->samples[1].audio.frames, 12u);
    EXPECT_EQ(song->samples[1].audio.channel(0)[11], -4321.0f);
    EXPECT_NE(song->samples[1].overview[0][0], TesselOverviewPair{});
}

TEST_F(XmImportTest, SixteenBitAndStereoLengthsAreHalved)
{
    Sample mono{Bytes(2000, 0)};
    mono.type = 16;
    Sample stereo{Bytes(2000, 0)};
    stereo.type = 16 | 32;
    stereo.loopStart = 400;
    stereo.loopLength = 800;
    stereo.type |= 1;
    Sample odd{Bytes(7, 1)};
    odd.type = 16;
    Sample after{deltas8({9, 8})};
    ASSERT_EQ(import(withInstruments({withSamples({mono, stereo, odd, after})})), kXmLoaded);
    EXPECT_EQ(song->samples[0].length, 1000);
    EXPECT_EQ(song->samples[1].length, 500);
    EXPECT_EQ(song->samples[1].channels, 2);
    EXPECT_EQ(song->samples[1].loop.begin, 100);
    EXPECT_EQ(song->samples[1].loop.end, 300);
    EXPECT_EQ(song->samples[2].length, 3);
    EXPECT_EQ(framesOf(song->samples[3], 0), (std::vector<float>{9, 8})) << "the odd byte is skipped";
}

TEST_F(XmImportTest, StereoFramesShareOneRunningValue)
{
    // Interleaved left, right deltas: 10, +5 -> 15, +1 -> 16, -20 -> -4.
    Sample s{Bytes{10, 5, 1, static_cast<uint8_t>(-20)}};
    s.type = 32;
    ASSERT_EQ(import(withInstruments({withSamples({s})})), kXmLoaded);
    const TesselSample& t = song->samples[0];
    ASSERT_EQ(t.length, 2);
    EXPECT_EQ(framesOf(t, 0), (std::vector<float>{10, 16}));
    EXPECT_EQ(framesOf(t, 1), (std::vector<float>{15, -4}));
}

TEST_F(XmImportTest, EmptySampleGetsSilentGuardFrames)
{
    ASSERT_EQ(import(withInstruments({withSamples({Sample{}, Sample{deltas8({4})}})})), kXmLoaded);
    EXPECT_EQ(song->samples[0].length, 0);
    EXPECT_EQ(song->samples[0].bits, 0);
    ASSERT_NE(song->samples[0].audio.channel(0), nullptr);
    EXPECT_EQ(song->samples[0].audio.channel(0)[0], 0.0f);
    EXPECT_EQ(framesOf(song->samples[1], 0), std::vector<float>{4});
}

TEST_F(XmImportTest, KeyMapCountsSamplesOfEarlierInstruments)
{
    Instrument first = withSamples({Sample{deltas8({1})}, Sample{deltas8({2})}, Sample{deltas8({3})}});
    first.keymap.fill(1);
    Instrument second = withSamples({Sample{deltas8({4})}, Sample{deltas8({5})}});
    second.keymap.fill(0);
    second.keymap[48] = 1;
    ASSERT_EQ(import(withInstruments({first, second})), kXmLoaded);
    const TesselKeymap& k1 = song->instruments[0].keymap;
    EXPECT_EQ(k1.keyRow(12).instrument, 2);
    EXPECT_EQ(k1.keyRow(107).instrument, 2);
    EXPECT_EQ(k1.keyRow(11).instrument, 0);
    EXPECT_EQ(k1.keyRow(108).instrument, 0);
    EXPECT_EQ(k1.keyRow(60).pitch, 60);
    const TesselKeymap& k2 = song->instruments[1].keymap;
    EXPECT_EQ(k2.keyRow(12).instrument, 4);
    EXPECT_EQ(k2.keyRow(60).instrument, 5);
    EXPECT_EQ(framesOf(song->samples[4], 0), std::vector<float>{5});
}

TEST_F(XmImportTest, InstrumentHeaderFieldsAndEnvelopes)
{
    Instrument in = withSamples({Sample{deltas8({1})}, Sample{deltas8({2})}});
    in.name = "an instrument";
    in.volume.nodes = {{0, 64}, {10, 32}, {20, 0}};
    in.volume.type = 1 | 2 | 4;
    in.volume.sustain = 1;
    in.volume.loopBegin = 0;
    in.volume.loopEnd = 9;   // beyond the nodes
    in.panning.nodes = {{0, 32}, {5, 60}};
    in.panning.type = 1;
    in.vibratoType = 2;
    in.vibratoSweep = 9;
    in.vibratoDepth = 8;
    in.vibratoRate = 3;
    in.fadeOut = 0x400;
    ASSERT_EQ(import(withInstruments({in})), kXmLoaded);
    TesselInstrument& i = song->instruments[0];
    EXPECT_EQ(i.nameText(), "an instrument            ");
    EXPECT_EQ(i.fadeOut, 0x40);
    TesselEnvelope& v = i.volumeEnvelope();
    EXPECT_EQ(v.enabled, TesselEnvelope::Ticks);
    ASSERT_EQ(v.nodeCount, 3u);
    EXPECT_EQ(v.node(1).tick, 10);
    EXPECT_EQ(v.node(1).value, 32);
    EXPECT_FLOAT_EQ(v.node(1).slope, -3.2f);
    EXPECT_EQ(loopOf(v.sustain), (LoopPoints{1, 1, 1}));
    EXPECT_EQ(v.loop.type, 1);
    EXPECT_EQ(v.loop.end, 2) << "loop end kept to the last node";
    TesselEnvelope& p = i.panningEnvelope();
    EXPECT_EQ(p.nodeCount, 2u);
    EXPECT_EQ(p.node(1).value, 60);
    EXPECT_EQ(p.loop.type, 0);
    for (int s : {0, 1})
        EXPECT_EQ(song->samples[static_cast<size_t>(s)].vibrato, (TesselVibrato{0, 2, 8, 3}));
}

TEST_F(XmImportTest, EnvelopeNodeCountsBeyondTwelve)
{
    Instrument in = withSamples({Sample{deltas8({1})}});
    for (uint16_t n = 0; n < 12; ++n)
        in.volume.nodes.push_back({static_cast<uint16_t>(n * 4), n});
    in.volume.count = 20;
    in.panning.nodes = in.volume.nodes;
    in.panning.count = 33;
    ASSERT_EQ(import(withInstruments({in})), kXmLoaded);
    EXPECT_EQ(song->instruments[0].volumeEnvelope().nodeCount, 12u) << "only 12 are stored";
    EXPECT_EQ(song->instruments[0].panningEnvelope().nodeCount, 0u);
}

TEST_F(XmImportTest, SampleHeadersFollowTheInstrumentHeaderBySize)
{
    Instrument wide = withSamples({Sample{deltas8({7, 6})}});
    wide.headerSize = 300;
    Instrument none;
    none.headerSize = 29;
    none.name = "no samples";
    Instrument last = withSamples({Sample{deltas8({3})}});
    ASSERT_EQ(import(withInstruments({wide, none, last})), kXmLoaded);
    EXPECT_EQ(framesOf(song->samples[0], 0), (std::vector<float>{7, 6}));
    EXPECT_EQ(song->instruments[1].nameText().substr(0, 10), "no samples");
    EXPECT_EQ(song->instruments[1].keymap.keyRow(60).instrument, 0) << "plays no other instrument's sample";
    EXPECT_EQ(framesOf(song->samples[1], 0), std::vector<float>{3});
    EXPECT_EQ(song->instruments[2].keymap.keyRow(12).instrument, 2);
}

TEST_F(XmImportTest, ThirtyThreeSamplesEndTheInstruments)
{
    Instrument ok = withSamples({Sample{deltas8({1})}});
    Instrument bad = withSamples({Sample{deltas8({2})}});
    bad.sampleCount = 33;
    bad.name = "bad";
    ASSERT_EQ(import(withInstruments({ok, bad, ok})), kXmLoaded);
    EXPECT_TRUE(song->instruments[1].isEmpty());
    EXPECT_TRUE(song->samples[1].isEmpty());
}

TEST_F(XmImportTest, FourBitSamplesAreLeftOut)
{
    Sample packed4{Bytes(16, 3)};
    packed4.packedMark = 0xAD;
    packed4.type = 1;
    packed4.loopStart = 2;
    packed4.loopLength = 8;
    Sample marked16{deltas16({5})};
    marked16.type = 16;
    marked16.packedMark = 0xAD;   // only 8-bit mono data can be 4-bit
    ASSERT_EQ(import(withInstruments({withSamples({packed4, marked16, Sample{deltas8({6})}})})),
              kXmLoadedWithWarning);
    EXPECT_EQ(platform::statusText(), " WARNING: XM file uses 4-bit samples (not supported).");
    EXPECT_EQ(song->samples[0].length, 0);
    EXPECT_EQ(song->samples[0].audio.channel(0), nullptr);
    EXPECT_TRUE(song->samples[0].loop.isEmpty()) << "no loop over data that are not there";
    EXPECT_EQ(framesOf(song->samples[1], 0), std::vector<float>{5});
    EXPECT_EQ(framesOf(song->samples[2], 0), std::vector<float>{6});
}

TEST_F(XmImportTest, SamplesBeyond99AreSkipped)
{
    std::vector<Instrument> instruments;
    for (int i = 0; i < 4; ++i) {
        std::vector<Sample> samples;
        for (int s = 0; s < 32; ++s)
            samples.push_back(Sample{deltas8({i * 32 + s - 64})});
        instruments.push_back(withSamples(samples));
    }
    instruments[3].keymap.fill(2);
    ASSERT_EQ(import(withInstruments(instruments)), kXmLoadedWithWarning);
    EXPECT_EQ(platform::statusText(), " WARNING: XM file contains more than 99 samples.");
    EXPECT_EQ(framesOf(song->samples[98], 0), std::vector<float>{98 - 64});
    EXPECT_EQ(song->instruments[3].keymap.keyRow(12).instrument, 99);
    EXPECT_EQ(song->instruments[3].keymap.keyRow(13).instrument, 99);
}

TEST_F(XmImportTest, HugeLengthsAreBoundedByTheFile)
{
    Sample s{deltas8({1, 2, 3})};
    s.length = 0xFFFFFFF0;
    s.loopStart = 0xFFFFFF00;
    s.loopLength = 0xFFFFFF00;
    s.type = 1;
    Instrument in = withSamples({s});
    in.headerSize = 0xFFFFFFF0;
    const std::string image = withInstruments({in}).build();
    ASSERT_EQ(import(image), kXmLoaded);

    s.length = 0x7FFFFFFF;
    const std::string second = withInstruments({withSamples({s})}).build();
    ASSERT_EQ(import(second), kXmLoaded);
    const TesselSample& t = song->samples[0];
    EXPECT_EQ(static_cast<size_t>(t.length), second.size());
    EXPECT_EQ(framesOf(t, 0).at(2), 3.0f);
    EXPECT_LE(t.loop.end, t.length);
    EXPECT_LE(t.loop.begin, t.loop.end);
    EXPECT_GE(t.loop.begin, 0);
}
