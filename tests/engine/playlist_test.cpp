// Timing-list storage: searches, tempo lookups, copies, cuts and row times.
#include "engine/timing/playlist.h"

#include <gtest/gtest.h>

namespace {

void fillRows(TesselPlaylist& list, int order, int rows, double speed = 6.0)
{
    for (int r = 0; r < rows; ++r)
        list.append(order, r, speed);
}

} // namespace

TEST(PlaylistTest, FreshListHoldsDefaultEntriesAndOneTempo)
{
    TesselPlaylist list(8, 140.0, 3.0);
    EXPECT_EQ(list.count, 0);
    EXPECT_EQ(list.capacity, 8);
    EXPECT_EQ(list.entries()[7].order, -1);
    EXPECT_EQ(list.entries()[7].speed, 3.0);
    ASSERT_EQ(list.tempoMap.size(), 1u);
    const TesselTempoEntry t = list.tempoAt(0);
    EXPECT_EQ(t.tempo, 140.0);
    EXPECT_EQ(t.startTime, 0.0);
    EXPECT_EQ(t.nextChange, 0);
}

TEST(PlaylistTest, AppendStopsAtCapacity)
{
    TesselPlaylist list(3, 120.0, 6.0);
    fillRows(list, 0, 5);
    EXPECT_EQ(list.count, 3);
    EXPECT_EQ(list.append(1, 0, 6.0), 3);
}

TEST(PlaylistTest, TempoAtPicksTheEntryInForce)
{
    TesselPlaylist list(100, 120.0, 6.0);
    EXPECT_EQ(list.tempoAt(-5).tempo, 120.0) << "before any change: the initial tempo";
    EXPECT_EQ(list.tempoAt(50).startTime, 0.0);
    list.tempoMap[10] = TesselTempoEntry{150.0, 1.25, 0};
    EXPECT_EQ(list.tempoAt(9).tempo, 120.0);
    EXPECT_EQ(list.tempoAt(10).tempo, 150.0);
    EXPECT_EQ(list.tempoAt(99).startTime, 1.25);

    list.tempoMap.erase(0);
    EXPECT_EQ(list.tempoAt(3).tempo, 150.0) << "an index before all gives the first entry";
    list.tempoMap.clear();
    EXPECT_EQ(list.tempoAt(3).tempo, 120.0);
    EXPECT_EQ(list.tempoAt(3).startTime, 0.0);
}

TEST(PlaylistTest, FindUsesItsOwnCache)
{
    // Rows 4..7 appear twice, as a pattern loop lists them.
    TesselPlaylist a(32, 120.0, 6.0);
    TesselPlaylist b(32, 120.0, 6.0);
    for (TesselPlaylist* list : {&a, &b}) {
        fillRows(*list, 0, 8);
        for (int r = 4; r < 8; ++r)
            list->append(0, r, 6.0);
    }
    EXPECT_EQ(a.find(0, 7), 7);
    // A shared cache would try entry 8 of b first and find the repeat.
    EXPECT_EQ(b.find(0, 4), 4);
    EXPECT_EQ(a.find(0, 4), 8) << "the entry after a hit is tried first";
    EXPECT_EQ(a.find(0, 5), 9);
    EXPECT_EQ(a.find(3, 0), -1);
    EXPECT_EQ(a.find(0, 5), 5) << "a miss clears the cache";
}

TEST(PlaylistTest, CopyIntoSmallerListKeepsWhatFits)
{
    TesselPlaylist big(64, 120.0, 6.0);
    fillRows(big, 2, 64, 4.0);
    big.startRow = 40;
    big.tempoMap[20] = TesselTempoEntry{90.0, 2.0, 0};
    TesselPlaylist small(10, 100.0, 6.0);
    small.assign(big);
    EXPECT_EQ(small.count, 10);
    EXPECT_EQ(small.startRow, 9);
    EXPECT_EQ(small.entries()[9].row, 9);
    EXPECT_EQ(small.entries()[9].order, 2);
    EXPECT_EQ(small.entries()[9].speed, 4.0);
    EXPECT_EQ(small.tempoMap.size(), 2u);

    TesselPlaylist empty(10, 120.0, 6.0);
    small.assign(empty);
    EXPECT_EQ(small.count, 0);
    EXPECT_EQ(small.startRow, 0) << "an empty copy has no row -1";
}

TEST(PlaylistTest, CutBackDropsLaterRowsAndTempoChanges)
{
    TesselPlaylist list(64, 120.0, 6.0);
    fillRows(list, 0, 40);
    list.tempoMap[0].nextChange = 10;
    list.tempoMap[10] = TesselTempoEntry{150.0, 1.0, 30};
    list.tempoMap[30] = TesselTempoEntry{180.0, 2.0, 0};
    list.cutBack(30);
    EXPECT_EQ(list.count, 30);
    EXPECT_EQ(list.entries()[30].order, -1);
    EXPECT_EQ(list.tempoMap.count(30), 0u);
    EXPECT_EQ(list.tempoMap.at(10).nextChange, 0);
    EXPECT_EQ(list.tempoMap.at(0).nextChange, 10);
}

TEST(PlaylistTest, RowTimesFollowTempoAndSpeedMode)
{
    TesselPlaylist list(128, 125.0, 6.0);
    fillRows(list, 0, 64);
    EXPECT_NEAR(list.timeAt(64, 4, false), 7.68, 1e-9);
    EXPECT_NEAR(list.timeAt(1, 4, false), 0.12, 1e-12);

    TesselPlaylist slow(128, 125.0, 3.0);
    fillRows(slow, 0, 64, 3.0);
    EXPECT_NEAR(slow.timeAt(64, 4, false), 7.68, 1e-9) << "resolution mode ignores the speed";
    EXPECT_NEAR(slow.timeAt(64, 4, true), 3.84, 1e-9) << "speed 3 rows last half as long";
    EXPECT_NEAR(rowSeconds(125.0, 12.0, 4, true), 0.24, 1e-12);
}

TEST(PlaylistTest, PlaySequenceViewReadsEntriesSafely)
{
    TesselPlaylist list(4, 120.0, 6.0);
    list.append(3, 7, 5.0);
    EXPECT_EQ(list.sequenceLength(), 1);
    EXPECT_EQ(list.sequenceRow(0).order, 3);
    EXPECT_EQ(list.sequenceRow(0).row, 7);
    EXPECT_EQ(list.sequenceRow(5).order, -1);
    EXPECT_TRUE(list.appendSequenceRow(4, 0));
    EXPECT_EQ(list.entries()[1].speed, 5.0) << "other fields copy the last entry";
    list.append(4, 1, 5.0);
    list.append(4, 2, 5.0);
    EXPECT_FALSE(list.appendSequenceRow(4, 3));
}

TEST(PlaylistTest, EndOfRunIsPastTheFirstRunFromTheStart)
{
    TesselPlaylist list(16, 120.0, 6.0);
    for (int order : {0, 0, 3, 3, 3, 1, 3, 3})
        list.append(order, 0, 6.0);
    struct Case {
        int order;
        int start;
        int end;
    };
    for (const Case& c : {Case{3, 0, 5}, Case{3, 3, 5}, Case{3, 5, 8}, Case{0, 0, 2}, Case{1, 0, 6},
                          Case{7, 0, 8}, Case{0, 2, 8}, Case{3, -4, 5}, Case{3, 100, 8}})
        EXPECT_EQ(list.endOfRun(c.order, c.start), c.end) << c.order << " from " << c.start;
}
