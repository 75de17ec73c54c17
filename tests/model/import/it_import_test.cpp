#include "model/import/it_import_test_support.h"

namespace {

using ittest::Bytes;

TEST_F(ItImportTest, HeaderOrdersAndChannels)
{
    ittest::File f;
    f.name = "Twenty-six characters!!!!!";   // all 26, no terminator in the file
    f.speed = 3;
    f.tempo = 150;
    f.orders.assign(250, 7);
    f.orders[0] = 255;
    f.orders[1] = 254;
    f.orders[2] = 199;
    f.orders[3] = 200;
    f.pan[0] = 164;   // muted, 36
    f.pan[1] = 100;   // surround
    f.pan[2] = 128 + 100;
    f.pan[3] = 0;
    f.volume[3] = 17;
    ASSERT_EQ(import(f.build()), kImportLoaded);
    EXPECT_TRUE(report.warnings.empty());

    EXPECT_STREQ(song->text, "Twenty-six characters!!!!!");
    EXPECT_EQ(song->resolution, 3.0);
    EXPECT_EQ(song->tempo, 150.0);
    EXPECT_EQ(song->timingMode, TesselModule::Speed);

    const auto& entries = song->orderList.entries;
    EXPECT_EQ(entries[0].pattern, kOrderEnd);
    EXPECT_EQ(entries[1].pattern, kOrderSkip);
    EXPECT_EQ(entries[2].pattern, 199);
    EXPECT_EQ(entries[3].pattern, kOrderEmpty);
    EXPECT_EQ(entries[249].pattern, 7);
    for (size_t i = 250; i < entries.size(); ++i)
        ASSERT_EQ(entries[i].pattern, kOrderEmpty);
    EXPECT_EQ(song->orderList.length, 250);

    EXPECT_EQ(song->channels[0].mute, 1);
    EXPECT_EQ(song->channels[0].panning, 36);
    EXPECT_EQ(song->channels[1].mute, 0);
    EXPECT_EQ(song->channels[1].panning, 32);
    EXPECT_EQ(song->channels[2].mute, 1);
    EXPECT_EQ(song->channels[2].panning, 32);
    EXPECT_EQ(song->channels[3].panning, 0);
    EXPECT_EQ(song->channels[3].volume, 17);
    EXPECT_EQ(song->channels[4].volume, 64);
}

TEST_F(ItImportTest, OutOfRangeChannelValuesAndZeroTimingAreBoundedWithWarnings)
{
    ittest::File f;
    f.pan[5] = 90;
    f.volume[6] = 200;
    f.speed = 0;
    f.tempo = 0;
    ASSERT_EQ(import(f.build()), kImportLoaded);
    EXPECT_EQ(song->channels[5].panning, 64);
    EXPECT_EQ(song->channels[6].volume, 64);
    EXPECT_EQ(song->resolution, 6.0);
    EXPECT_EQ(song->tempo, 120.0);
    EXPECT_EQ(report.warnings.size(), 3u);
}

TEST_F(ItImportTest, NotImpulseTrackerLeavesTheSongReset)
{
    Bytes bytes = ittest::File().build();
    bytes[0] = 'X';
    song->tempo = 99.0;
    EXPECT_EQ(import(bytes), kImportUnreadable);
    EXPECT_EQ(platform::statusText(), "Error: File is not Impulse Tracker format.");
    EXPECT_EQ(song->tempo, 120.0);
    EXPECT_EQ(import(Bytes{}), kImportUnreadable);
    EXPECT_EQ(importImpulseTracker("/nonexistent/song.it", *song), kImportUnreadable);
}

TEST_F(ItImportTest, MissingInstrumentTagStopsBeforePatternsAndSamples)
{
    ittest::File f;
    f.compatible = 0x214;
    f.instruments.push_back(ittest::newInstrument("first", {}));
    f.instruments.push_back(ittest::newInstrument("second", {}));
    f.instruments[1][0] = 'X';
    f.samples.push_back(ittest::makeSample("s", ittest::kHasData, 1, 4, {1, 2, 3, 4}));
    f.patterns.push_back({64, {0x81, 0x01, 60, 0}});
    f.orders = {0, 255};
    ASSERT_EQ(import(f.build()), kImportHeaderMissing);
    EXPECT_EQ(platform::statusText(), "Error: Impulse Tracker instrument(s) not found.");
    EXPECT_EQ(song->orderList.entries[0].pattern, 0);
    EXPECT_EQ(song->instruments[0].nameText().substr(0, 5), "first");
    EXPECT_EQ(song->samples[0].length, 0);
    EXPECT_EQ(song->patterns[0].findRow(0, 0), nullptr);
}

TEST_F(ItImportTest, MissingSampleTagKeepsEarlierHeadersWithoutStatusText)
{
    ittest::File f;
    f.samples.push_back(ittest::makeSample("kept", ittest::kHasData | ittest::kLoopOn, 1, 4, {1, 2, 3, 4}));
    ittest::put32(f.samples[0].header, 56, 4);
    f.samples.push_back(ittest::makeSample("lost", ittest::kHasData, 1, 4, {1, 2, 3, 4}));
    f.samples[1].header[3] = '!';
    f.patterns.push_back({64, {0x81, 0x01, 60, 0}});
    ASSERT_EQ(import(f.build()), kImportHeaderMissing);
    EXPECT_EQ(platform::statusText(), "");
    const TesselSample& kept = song->samples[0];
    EXPECT_EQ(kept.nameText().substr(0, 4), "kept");
    EXPECT_EQ(kept.defaultVolume, 48);
    // No audio was read, so nothing may claim frames or loops.
    EXPECT_EQ(kept.audio.channel(0), nullptr);
    EXPECT_EQ(kept.length, 0);
    EXPECT_EQ(kept.loop.type, 0);
    EXPECT_EQ(kept.loop.end, 0);
    EXPECT_EQ(song->patterns[0].findRow(0, 0), nullptr);
}

TEST_F(ItImportTest, ExtraSlotsBeyondTheModelAreCheckedAndSkipped)
{
    ittest::File f;
    for (int i = 0; i < 101; ++i)
        f.samples.push_back(ittest::makeSample("s" + std::to_string(i), 0, 1, 0, {}));
    ASSERT_EQ(import(f.build()), kImportLoaded);
    EXPECT_EQ(song->samples[98].nameText().substr(0, 3), "s98");
    EXPECT_EQ(report.warnings.size(), 1u);

    f.samples[100].header[0] = 'X';
    EXPECT_EQ(import(f.build()), kImportHeaderMissing);
}

} // namespace
