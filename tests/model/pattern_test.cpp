#include "model/model_globals.h"
#include "model/song/pattern.h"

#include <gtest/gtest.h>

class PatternTest : public ::testing::Test {
protected:
    void SetUp() override { modelGlobals().reset(); }
    void TearDown() override { modelGlobals().reset(); }
};

TEST_F(PatternTest, DisplayLabelFallsBackToTheNumber)
{
    TesselPattern p;
    p.index = 12;
    EXPECT_EQ(p.displayLabel(false), "012");
    p.setLabel("Ab");
    EXPECT_EQ(p.displayLabel(false), "Ab");
    EXPECT_EQ(p.displayLabel(true), "012");
    p.setLabel("Long label");
    EXPECT_EQ(p.displayLabel(false), "Lon");
}

TEST_F(PatternTest, TracksFollowThePatternLengthAndEmptinessIgnoresEmptyRows)
{
    TesselPattern p;
    EXPECT_EQ(p.length(), 64);
    TesselTrack& t = p.tracks.getTrack(5);
    EXPECT_EQ(t.index, 5);
    EXPECT_EQ(t.length(), 64);
    t.getRow(10);
    EXPECT_TRUE(p.tracks.isEmpty());
    EXPECT_EQ(p.findRow(5, 10), nullptr);

    t.getRow(10).pitch = 48;
    EXPECT_NE(p.findRow(5, 10), nullptr);
    p.setLength(8);
    EXPECT_EQ(t.length(), 8);
    EXPECT_EQ(p.findRow(5, 10), nullptr);

    p.tracks.getTrack(6).getRow(1);
    p.tracks.freeEmptyTracks();
    EXPECT_EQ(p.tracks.trackAt(6), nullptr);
    EXPECT_EQ(p.tracks.trackAt(5), nullptr);
}

TEST_F(PatternTest, AssignCopiesEverythingButTheIndex)
{
    TesselPattern a, b;
    a.index = 1;
    b.index = 2;
    b.setLength(32);
    b.majorStep = 8;
    b.setLabel("Hi");
    b.tracks.getTrack(3).getRow(4).pitch = 60;
    a.tracks.getTrack(7).getRow(0).pitch = 1;
    a.assign(b);
    EXPECT_EQ(a.index, 1);
    EXPECT_EQ(a.length(), 32);
    EXPECT_EQ(a.majorStep, 8);
    EXPECT_STREQ(a.label, "Hi");
    EXPECT_EQ(a.findRow(3, 4)->pitch, 60);
    EXPECT_EQ(a.tracks.trackAt(7), nullptr);
}

TEST_F(PatternTest, UnusedMeansDefaultsAndNoNotes)
{
    TesselPattern p;
    EXPECT_TRUE(p.isUnused());
    p.majorStep = 8;
    EXPECT_FALSE(p.isUnused());
    p.reset(64);
    patternDefaults() = {128, 32, 8};
    EXPECT_FALSE(p.isUnused()) << "steps from the old defaults";
    p.reset(128);
    EXPECT_TRUE(p.isUnused());
}

TEST_F(PatternTest, DeleteRowActsOnEveryTrack)
{
    TesselPattern p;
    p.tracks.getTrack(0).getRow(3).pitch = 1;
    p.tracks.getTrack(63).getRow(3).pitch = 2;
    p.deleteRow({2, 0}, false);
    EXPECT_EQ(p.findRow(0, 2)->pitch, 1);
    EXPECT_EQ(p.findRow(63, 2)->pitch, 2);
}
