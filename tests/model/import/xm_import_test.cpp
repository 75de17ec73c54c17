// Signature, version, header fields and orders of XM files.

#include "model/import/xm_import_test_support.h"
#include "model/scratch_folder.h"

#include <gtest/gtest.h>

using namespace xmtest;

TEST_F(XmImportTest, VersionOneFourLoadsOthersAreRefused)
{
    Module m;
    EXPECT_EQ(import(m), kXmLoaded);
    EXPECT_EQ(platform::statusText(), "");

    for (uint8_t minor : {uint8_t{0x03}, uint8_t{0x05}}) {
        m.version = {minor, 0x01};
        song->text[0] = 'x';
        EXPECT_EQ(import(m), kXmNotLoaded);
        EXPECT_EQ(platform::statusText(), "Error: Older XM format (<v1.04) not supported.");
        EXPECT_STREQ(song->text, "") << "the song stays reset";
    }
}

TEST_F(XmImportTest, ForeignFilesAreRefused)
{
    Module m;
    m.signature = "Extended Mudule: ";
    EXPECT_EQ(import(m), kXmNotLoaded);
    EXPECT_EQ(platform::statusText(), "Error: File is not Fast Tracker format.");

    platform::clearStatusText();
    EXPECT_EQ(import(std::string("Extended")), kXmNotLoaded);
    EXPECT_EQ(platform::statusText(), "Error: File is not Fast Tracker format.");

    platform::clearStatusText();
    m = Module{};
    m.marker = 0;
    EXPECT_EQ(import(m), kXmNotLoaded);
    EXPECT_EQ(platform::statusText(), "") << "a missing marker byte says nothing";

    ScratchFolder folder;
    EXPECT_EQ(importFastTracker(folder.file("missing.xm"), *song), kXmNotLoaded);
}

TEST_F(XmImportTest, HeaderGivesNameTimingAndOrders)
{
    Module m;
    m.name = "Twenty characters!!!";
    m.speed = 3;
    m.bpm = 140;
    m.orders = {0, 1, 199, 200, 255, 1};

    ScratchFolder folder;
    const std::string path = folder.write("song.xm", m.build());
    ASSERT_EQ(importFastTracker(path, *song), kXmLoaded);
    EXPECT_STREQ(song->text, "Twenty characters!!!");
    EXPECT_EQ(song->resolution, 3.0);
    EXPECT_EQ(song->tempo, 140.0);
    // Speed 3 keeps its rows' length only in the speed timing mode.
    EXPECT_EQ(song->timingMode, TesselModule::Speed);
    const std::vector<int32_t> expected{0, 1, 199, kOrderEmpty, kOrderEmpty, 1};
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(song->orderList.entries[i].pattern, expected[i]) << i;
    EXPECT_EQ(song->orderList.entries[6].pattern, kOrderEmpty);
    EXPECT_EQ(song->orderList.length, 6);
}

TEST_F(XmImportTest, ZeroSpeedAndTempoKeepTheDefaults)
{
    Module m;
    m.speed = 0;
    m.bpm = 0;
    ASSERT_EQ(import(m), kXmLoaded);
    EXPECT_EQ(song->resolution, 6.0);
    EXPECT_EQ(song->tempo, 120.0);
}

TEST_F(XmImportTest, ImportResetsWhatTheSongHeld)
{
    song->patterns[5].tracks.getTrack(3).getRow(2).pitch = 40;
    song->samples[7].setName("old");
    Module m;
    ASSERT_EQ(import(m), kXmLoaded);
    EXPECT_EQ(song->patterns[5].tracks.trackAt(3), nullptr);
    EXPECT_TRUE(song->samples[7].isEmpty());
}

TEST_F(XmImportTest, TruncatedFilesLoadAsFarAsTheyGo)
{
    Module m;
    m.channels = 2;
    m.patterns.push_back({4, join({cell(49, 1), cell(50, 1), cell(51, 1)})});
    Instrument in;
    in.samples.push_back(Sample{deltas8({1, 2, 3, 4, 5, 6, 7, 8})});
    m.instruments.push_back(in);
    const std::string whole = m.build();
    // Every cut of the file imports without reading past it.
    for (size_t cut = 0; cut <= whole.size(); ++cut)
        import(whole.substr(0, cut));
    ASSERT_EQ(import(whole.substr(0, whole.size() - 3)), kXmLoaded);
    const TesselSample& s = song->samples[0];
    ASSERT_EQ(s.length, 8);
    EXPECT_EQ(s.audio.channel(0)[4], 5.0f);
    EXPECT_EQ(s.audio.channel(0)[5], 0.0f) << "missing data are silent";
    EXPECT_EQ(cellAt(0, 0, 1).pitch, 62);
}
