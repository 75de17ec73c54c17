#include "region_test_support.h"

#include <limits>

namespace {

struct NormaliseCase {
    const char* name;
    TesselGridPosition start, end;
    bool active;
    TesselGridPosition wantStart, wantEnd;   // when still active
};

class Normalise : public RegionTest, public ::testing::WithParamInterface<NormaliseCase> {};

TEST_P(Normalise, FitsTheRegionToItsPattern)
{
    subrows[2] = 3;   // 16 rows; row 2 shows three subrows, the others one
    const NormaliseCase& c = GetParam();
    region.select(pattern, c.start, c.end);
    ASSERT_EQ(region.active != 0, c.active);
    if (c.active) {
        EXPECT_EQ(region.start, c.wantStart);
        EXPECT_EQ(region.end, c.wantEnd);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, Normalise, ::testing::Values(
    NormaliseCase{"WholeRowsAndChannels", {1, 4, 2, 1}, {3, 2, 2, 0}, true, {1, 0, 2, 0}, {3, 8, 2, 2}},
    NormaliseCase{"DrawnUpwards", {0, 0, 5, 0}, {0, 0, 2, 2}, true, {0, 0, 2, 0}, {0, 8, 5, 0}},
    NormaliseCase{"ChannelsSwapped", {9, 0, 0, 0}, {4, 0, 1, 0}, true, {4, 0, 0, 0}, {9, 8, 1, 0}},
    NormaliseCase{"Clamped", {-3, 0, -1, 0}, {70, 0, 99, 0}, true, {0, 0, 0, 0}, {63, 8, 15, 0}},
    NormaliseCase{"EndAboveRow0", {0, 0, 3, 0}, {0, 0, -1, 0}, false, {}, {}},
    NormaliseCase{"StartBelowTheLastRow", {0, 0, 16, 0}, {0, 0, 20, 0}, false, {}, {}},
    NormaliseCase{"StartPastChannel63", {64, 0, 0, 0}, {64, 0, 1, 0}, false, {}, {}},
    NormaliseCase{"EndLeftOfChannel0", {0, 0, 0, 0}, {-1, 0, 1, 0}, false, {}, {}}),
    CaseName());

TEST_F(RegionTest, MarkingExtendsFromTheAnchorAndContainsIsInclusive)
{
    subrows[6] = 2;
    region.begin(pattern, {5, 3, 6, 1});
    region.extendTo({2, 0, 3, 0});
    EXPECT_EQ(region.start, (TesselGridPosition{2, 0, 3, 0}));
    EXPECT_EQ(region.end, (TesselGridPosition{5, 8, 6, 1}));
    EXPECT_TRUE(region.contains({5, 8, 6, 1}) && region.contains({2, 0, 3, 0}));
    EXPECT_FALSE(region.contains({5, 8, 7, 0}) || region.contains({1, 8, 4, 0}));
}

TEST_F(RegionTest, SubrowCountsStayWithin1To256)
{
    subrows = {{0, 0}, {1, 100000}, {2, -5}};
    region.pattern = pattern;
    EXPECT_EQ(region.subrowCount(0) + region.subrowCount(2), 2);
    EXPECT_EQ(region.subrowCount(1), kMaxSubrows);
    for (auto [speed, count] : {std::pair{0.1, 1}, {6.1, 6}, {1e12, 256}, {-3.0, 1},
                                {std::numeric_limits<double>::quiet_NaN(), 1}})
        EXPECT_EQ(subrowCountFromSpeed(speed), count) << speed;
}

TEST(RowsAndTracks, InsertRowsPushesRowsOrSubrowsDown)
{
    TesselTrack track(0, 8);
    for (int r = 0; r < 8; ++r)
        track.getRow(r).pitch = static_cast<int16_t>(r);
    track.insertRows({3, 0}, 2);
    EXPECT_EQ(track.rowAt(3), nullptr);
    EXPECT_EQ(track.rowAt(4), nullptr);
    EXPECT_EQ(track.rowAt(5)->pitch * 10 + track.rowAt(5)->index, 35);
    EXPECT_EQ(track.rowAt(7)->pitch, 5) << "rows 6 and 7 were pushed off";

    TesselRow& row = track.getRow(1);
    for (int n : {1, 2, 3})
        row.subrowAt(n).volume = static_cast<int16_t>(n);
    track.insertRows({1, 2}, 1);
    EXPECT_EQ(row.findSubrow(2), nullptr);
    EXPECT_EQ(row.findSubrow(4)->volume, 3);

    track.insertRows({8, 0}, 1);   // outside the rows
    track.insertRows({-1, 0}, 1);
    EXPECT_EQ(track.rowAt(0)->pitch + track.rowAt(7)->pitch, 5);

    TesselPattern pattern;
    pattern.tracks.getTrack(2).getRow(0).pitch = 9;
    pattern.insertRow({0, 0});
    EXPECT_EQ(pattern.tracks.trackAt(2)->rowAt(1)->pitch, 9);
    EXPECT_EQ(pattern.tracks.trackAt(0), nullptr) << "no track is created";
}

TEST(RowsAndTracks, RowCopiesAreDeep)
{
    TesselRow row(4);
    row.subrowAt(3).pitch = 3;
    row.subrowAt(1).pitch = 1;
    TesselRow copy(row);
    row.subrowAt(1).pitch = 50;
    EXPECT_EQ(copy.index, 4);
    EXPECT_EQ(copy.subrows()->front().pitch, 1) << "subrows in index order";
    EXPECT_EQ(copy.findSubrow(3)->pitch, 3);
}

} // namespace
