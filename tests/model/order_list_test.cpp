#include "module_test_support.h"

namespace {

void setOrder(TesselOrderList& order, std::initializer_list<int32_t> values)
{
    order.reset();
    int i = 0;
    for (int32_t v : values)
        order.entries[static_cast<size_t>(i++)].pattern = v;
    order.updateLength();
}

} // namespace

TEST(OrderListTest, LengthCountsMarkersButNotEmptyEntries)
{
    TesselOrderList order;
    EXPECT_EQ(order.entries[255].index, 255);
    EXPECT_EQ(order.pitches[119].index, 119);
    setOrder(order, {4, -1, -1});
    EXPECT_EQ(order.length, 1);
    setOrder(order, {4, -1, kOrderEnd});
    EXPECT_EQ(order.length, 3);
    order.entries[255].pattern = kOrderSkip;
    order.updateLength();
    EXPECT_EQ(order.length, 256);
    setOrder(order, {});
    EXPECT_EQ(order.length, 0);
    EXPECT_TRUE(order.isEmpty());
    order.pitches[5].pattern = 2;
    EXPECT_FALSE(order.isEmpty());
    order.reset();
    order.pitchMode = 0x100;   // only the low byte counts
    EXPECT_FALSE(order.inPitchMode());
    order.pitchMode = 1;
    EXPECT_FALSE(order.isEmpty());
}

TEST(OrderListTest, ContainsLooksAtTheActiveTableOnly)
{
    TesselOrderList order;
    setOrder(order, {1, 2});
    order.entries[200].pattern = 9;   // beyond the length still counts
    EXPECT_TRUE(order.contains(9));
    EXPECT_FALSE(order.contains(4));
    order.entries[0].pattern = 4;
    order.pitchMode = 1;
    EXPECT_FALSE(order.contains(4));
    order.pitches[60].pattern = 4;
    EXPECT_TRUE(order.contains(4));
}

TEST(OrderListTest, EntriesAnswerForTheirOneSlot)
{
    TesselOrderEntry empty;
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_EQ(empty.contains(0), 0);
    EXPECT_EQ(empty.contains(-1), 1);
    EXPECT_EQ(empty.valueCount(), 0);
    TesselOrderEntry used;
    used.pattern = 7;
    EXPECT_EQ(used.valueCount(), 1);
    used.clearSlot(1);
    EXPECT_EQ(used.pattern, 7);
    used.clearSlot(0);
    EXPECT_TRUE(used.isEmpty());
    TesselOrderPitch pitch;
    const TesselOrderEntry& asEntry = pitch;
    EXPECT_EQ(asEntry.valueCount(), 1);
}

TEST(OrderListTest, RemoveAtShiftsTheActiveTable)
{
    TesselOrderList order;
    setOrder(order, {5, 6, 7, 8});
    order.entries[255].pattern = 3;
    order.removeAt(2);
    EXPECT_EQ(order.entries[0].pattern, 5);
    EXPECT_EQ(order.entries[1].pattern, 6);
    EXPECT_EQ(order.entries[2].pattern, 8);
    EXPECT_EQ(order.entries[3].pattern, -1);
    EXPECT_EQ(order.entries[254].pattern, 3);
    EXPECT_EQ(order.entries[255].pattern, -1);
    EXPECT_EQ(order.entries[2].index, 2);
    order.removeAt(-1);
    order.removeAt(256);
    EXPECT_EQ(order.entries[0].pattern, 5);

    order.pitchMode = 1;
    order.pitches[0].pattern = 1;
    order.pitches[119].pattern = 2;
    order.removeAt(0);
    EXPECT_EQ(order.pitches[118].pattern, 2);
    EXPECT_EQ(order.pitches[119].pattern, -1);
    EXPECT_EQ(order.entries[0].pattern, 5);
    order.removeAt(119);
    order.removeAt(120);
}

TEST(OrderListTest, RepeatedPatternsIgnoreMarkersAndEntriesPastTheLength)
{
    TesselOrderList order;
    setOrder(order, {1, kOrderSkip, kOrderSkip, 2});
    EXPECT_FALSE(order.hasRepeatedPattern());
    order.entries[100].pattern = 1;
    EXPECT_FALSE(order.hasRepeatedPattern());   // the length was not updated
    order.updateLength();
    EXPECT_TRUE(order.hasRepeatedPattern());
}

TEST_F(ModuleTest, RenumberingFollowsTheOrderOfFirstUse)
{
    auto song = makeSong();
    for (int p : {3, 7, 0, 199})
        song->patterns[static_cast<size_t>(p)].tracks.getTrack(p % 64).getRow(0).pitch = static_cast<int16_t>(p % 120);
    song->patterns[7].setLabel("B");
    setOrder(song->orderList, {3, 3, -1, 7});
    song->orderList.entries[10].pattern = 42;   // past the length: not renumbered
    song->orderList.pitches[0].pattern = 3;
    song->renumberPatterns();

    const TesselPatternMap& map = patternMap();
    EXPECT_EQ(map[3], 0);
    EXPECT_EQ(map[7], 1);
    EXPECT_EQ(map[0], 2);
    EXPECT_EQ(map[1], 3);
    EXPECT_EQ(map[2], 4);
    EXPECT_EQ(map[4], 5);
    EXPECT_EQ(map[8], 8);
    EXPECT_EQ(map[199], 199);
    EXPECT_EQ(song->orderList.entries[0].pattern, 0);
    EXPECT_EQ(song->orderList.entries[1].pattern, 0);
    EXPECT_EQ(song->orderList.entries[2].pattern, -1);
    EXPECT_EQ(song->orderList.entries[3].pattern, 1);
    EXPECT_EQ(song->orderList.entries[10].pattern, 42);
    EXPECT_EQ(song->orderList.pitches[0].pattern, 3);
    for (int i = 0; i < kPatterns; ++i)
        EXPECT_EQ(song->patterns[static_cast<size_t>(i)].index, i);
    // Records moved whole, tracks and labels included.
    EXPECT_EQ(song->patterns[0].tracks.getTrack(3).getRow(0).pitch, 3);
    EXPECT_EQ(song->patterns[1].tracks.getTrack(7).getRow(0).pitch, 7);
    EXPECT_STREQ(song->patterns[1].label, "B");
    EXPECT_EQ(song->patterns[2].tracks.getTrack(0).getRow(0).pitch, 0);
    EXPECT_EQ(song->patterns[199].tracks.getTrack(199 % 64).getRow(0).pitch, 199 % 120);
}

TEST_F(ModuleTest, RenumberingNeverIndexesWithABrokenOrderValue)
{
    auto song = makeSong();
    setOrder(song->orderList, {kOrderEnd, 250, kOrderSkip, 5, -77, 200});
    song->renumberPatterns();
    EXPECT_EQ(patternMap()[5], 0);
    EXPECT_EQ(song->orderList.entries[0].pattern, kOrderEnd);
    EXPECT_EQ(song->orderList.entries[1].pattern, 250);
    EXPECT_EQ(song->orderList.entries[2].pattern, kOrderSkip);
    EXPECT_EQ(song->orderList.entries[3].pattern, 0);
    EXPECT_EQ(song->orderList.entries[4].pattern, -77);
    EXPECT_EQ(song->orderList.entries[5].pattern, 200);

    song->orderList.length = 5000;   // a broken length reads no further than the table
    song->renumberPatterns();
}

TEST_F(ModuleTest, APatternMapThatIsNoPermutationChangesNothing)
{
    auto song = makeSong();
    setOrder(song->orderList, {1});
    TesselPatternMap map = identityPatternMap();
    map[0] = 1;   // 1 twice, 0 never
    EXPECT_FALSE(song->applyPatternMap(map));
    map = identityPatternMap();
    map[5] = 200;
    EXPECT_FALSE(song->applyPatternMap(map));
    EXPECT_EQ(patternMap()[0], -1);
    EXPECT_EQ(song->orderList.entries[0].pattern, 1);

    map = identityPatternMap();
    std::swap(map[0], map[1]);
    EXPECT_TRUE(song->applyPatternMap(map));
    EXPECT_EQ(song->orderList.entries[0].pattern, 0);
    EXPECT_EQ(patternMap()[1], 0);
}

TEST_F(ModuleTest, FirstUnusedPatternSkipsChangedAndOrderedPatterns)
{
    auto song = makeSong();
    song->patterns[0].majorStep = 8;
    song->patterns[1].tracks.getTrack(0).getRow(0);   // an empty row keeps it unused
    setOrder(song->orderList, {1});
    song->patterns[2].setLabel("x");
    EXPECT_EQ(TesselPattern::firstUnused(*song, 0), 3);
    EXPECT_EQ(TesselPattern::firstUnused(*song, -5), 3);
    EXPECT_EQ(TesselPattern::firstUnused(*song, 150), 150);
    song->orderList.entries[0].pattern = -1;
    song->orderList.pitchMode = 1;   // the inactive table does not count
    EXPECT_EQ(TesselPattern::firstUnused(*song, 0), 1);
    EXPECT_EQ(TesselPattern::firstUnused(*song, 200), -1);
    song->patterns[199].minorStep = 1;
    EXPECT_EQ(TesselPattern::firstUnused(*song, 199), -1);
}

TEST(OrderListTest, InsertingAnEntryMovesTheRestDownInTheActiveTable)
{
    TesselOrderList order;
    setOrder(order, {1, 2, 3});
    insertOrderEntry(order, 1, 7);
    EXPECT_EQ(order.entries[0].pattern, 1);
    EXPECT_EQ(order.entries[1].pattern, 7);
    EXPECT_EQ(order.entries[2].pattern, 2);
    EXPECT_EQ(order.entries[3].pattern, 3);
    insertOrderEntry(order, 0);
    EXPECT_EQ(order.entries[0].pattern, kOrderEmpty);
    EXPECT_EQ(order.entries[4].pattern, 3);

    // At the last position only that entry empties; outside the table nothing changes.
    order.entries[255].pattern = 9;
    insertOrderEntry(order, 255);
    EXPECT_EQ(order.entries[255].pattern, kOrderEmpty);
    EXPECT_EQ(order.entries[254].pattern, kOrderEmpty);
    insertOrderEntry(order, 256, 5);
    insertOrderEntry(order, -1, 5);
    EXPECT_EQ(order.entries[0].pattern, kOrderEmpty);
    EXPECT_EQ(order.entries[1].pattern, 1);

    // In pitch mode the 120 pitch entries take it.
    order.pitchMode = 1;
    order.pitches[119].pattern = 4;
    insertOrderEntry(order, 118, 6);
    EXPECT_EQ(order.pitches[118].pattern, 6);
    EXPECT_EQ(order.pitches[119].pattern, kOrderEmpty);
    EXPECT_EQ(order.entries[1].pattern, 1);
    insertOrderEntry(order, 120, 6);
    EXPECT_EQ(order.pitches[118].pattern, 6);
}
