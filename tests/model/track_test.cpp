#include "model/song/track.h"

#include <gtest/gtest.h>

namespace {

void putNote(TesselTrack& t, int row, int pitch)
{
    t.getRow(row).pitch = static_cast<int16_t>(pitch);
}

} // namespace

TEST(Track, DeleteRowShiftsAndRenumbersTheRest)
{
    TesselTrack t(0, 64);
    for (int r = 0; r < 64; ++r)
        putNote(t, r, r);
    t.deleteRow({5, 0}, false);
    EXPECT_EQ(t.length(), 64);
    for (int r = 5; r < 63; ++r) {
        ASSERT_NE(t.rowAt(r), nullptr);
        EXPECT_EQ(t.rowAt(r)->pitch, r + 1);
        EXPECT_EQ(t.rowAt(r)->index, r);
    }
    EXPECT_EQ(t.rowAt(63), nullptr);
    EXPECT_EQ(t.rowAt(4)->pitch, 4);
}

TEST(Track, DeleteRowClearOrSubrowMovesNothing)
{
    TesselTrack t(0, 8);
    putNote(t, 2, 20);
    putNote(t, 3, 30);
    t.getRow(3).setSubrow(1, TesselSubrow(1)).pitch = 31;
    t.deleteRow({2, 0}, true);
    EXPECT_EQ(t.rowAt(2), nullptr);
    EXPECT_EQ(t.rowAt(3)->pitch, 30);
    t.deleteRow({3, 1}, false);
    t.getRow(3).pruneSubrows();
    EXPECT_FALSE(t.rowAt(3)->hasSubrowList());
    EXPECT_EQ(t.rowAt(3)->pitch, 30);
}

TEST(Track, SetLengthFreesRowsBeyondIt)
{
    TesselTrack t(0, 64);
    putNote(t, 40, 1);
    putNote(t, 50, 2);
    t.setLength(32);
    t.setLength(64);
    EXPECT_EQ(t.rowAt(40), nullptr);
    EXPECT_EQ(t.rowAt(50), nullptr);
    EXPECT_TRUE(t.rowOrBlank(40).isEmpty());
}

TEST(Track, AssignMirrorsTheOtherTrack)
{
    TesselTrack a(0, 16), b(1, 32);
    putNote(a, 3, 3);
    putNote(b, 3, 30);
    putNote(b, 20, 40);
    b.getRow(5);   // present but empty
    a.assign(b);
    EXPECT_EQ(a.length(), 32);
    EXPECT_EQ(a.rowAt(3)->pitch, 30);
    EXPECT_EQ(a.rowAt(20)->index, 20);
    a.freeEmptyRows();
    EXPECT_EQ(a.rowAt(5), nullptr);
    EXPECT_FALSE(a.isEmpty());
    a.clear();
    EXPECT_TRUE(a.isEmpty());
    EXPECT_EQ(a.length(), 32);
}

TEST(Track, RegionHelpersFollowTheSubrowsShownPerRow)
{
    TesselTrack t(0, 4);
    const TesselSpeedAtRow threeTicks = [](int) { return 3; };
    std::vector<TesselSubrow*> cells;
    t.collectSubrows(cells, 0, 2, 4, threeTicks);
    ASSERT_EQ(cells.size(), 4u);
    EXPECT_EQ(cells[0]->index, 2);                              // row 0, line 2
    EXPECT_EQ(cells[1], static_cast<TesselSubrow*>(t.rowAt(1)));   // row 1, own subrow
    EXPECT_EQ(cells[3]->index, 2);

    // Stepping as many cells from row 0 line 2 crosses into row 1.
    EXPECT_EQ(t.stepCells(cells, 0, 2, threeTicks), (TesselCellPosition{1, 2}));
    EXPECT_TRUE(cells.empty());
    // The empty inserted subrows were pruned on the way.
    EXPECT_FALSE(t.rowAt(0)->hasSubrowList());

    std::vector<TesselSubrow*> rows;
    t.collectRows(rows, 2, 10);
    EXPECT_EQ(rows.size(), 2u) << "bounded by the length";
    EXPECT_EQ(t.stepRows(rows, 2), 3);
    EXPECT_EQ(t.stepRows(rows, 2), 2) << "an empty list stays put";
}
