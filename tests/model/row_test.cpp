#include "model/song/row.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TesselSubrow note(int index, int pitch)
{
    TesselSubrow s(static_cast<int16_t>(index));
    s.pitch = static_cast<int16_t>(pitch);
    return s;
}

std::vector<int> subrowIndices(const TesselRow& row)
{
    std::vector<int> out;
    if (row.subrows())
        for (const TesselSubrow& s : *row.subrows())
            out.push_back(s.index);
    return out;
}

} // namespace

TEST(Subrow, EmptinessCountsEveryColumnButTheCellIndex)
{
    TesselSubrow s;
    EXPECT_TRUE(s.isEmpty());
    s.effect.cellIndex = 3;
    EXPECT_TRUE(s.isEmpty());
    s.depth = 10;
    EXPECT_FALSE(s.isEmpty()) << "depth alone makes a subrow non-empty";
    s.clear();
    s.effect.parameter = 1;
    EXPECT_FALSE(s.isEmpty());
}

TEST(Subrow, MergeFillsOnlyEmptyFieldsCommandAndParameterApart)
{
    TesselSubrow mine, theirs;
    mine.effect = {0, 'D', 0};
    mine.pitch = 60;
    theirs.effect = {0, '.', 5};
    theirs.pitch = 20;
    theirs.instrument = 3;
    mine.merge(theirs);
    EXPECT_EQ(mine.effect.command, 'D');
    EXPECT_EQ(mine.effect.parameter, 5);
    EXPECT_EQ(mine.pitch, 60);
    EXPECT_EQ(mine.instrument, 3);
}

TEST(Subrow, MatchesEffectByNibblesWithWildcards)
{
    TesselSubrow s;
    s.effect = {0, 'S', 0xB3};
    EXPECT_TRUE(s.matchesEffect('S', 0xB, -1));
    EXPECT_TRUE(s.matchesEffect('S', -1, 3));
    s.effect.parameter = 0xC3;
    EXPECT_FALSE(s.matchesEffect('S', 0xB, -1));
    EXPECT_FALSE(s.matchesEffect('s', 0xC, -1)) << "letters compare exactly";
}

TEST(Subrow, AssignKeepsOwnIndexAndResetsCellIndex)
{
    TesselSubrow target(7), source(2);
    source.pitch = 40;
    source.effect = {5, 'A', 6};
    target.assign(source);
    EXPECT_EQ(target.index, 7);
    EXPECT_EQ(target.pitch, 40);
    EXPECT_EQ(target.effect.cellIndex, 0);
    EXPECT_EQ(target.effect.command, 'A');
}

TEST(Row, SetSubrowKeepsListSortedAndUnique)
{
    TesselRow row(4);
    row.setSubrow(1, note(1, 10));
    row.setSubrow(3, note(3, 30));
    row.setSubrow(2, note(2, 20));
    EXPECT_EQ(subrowIndices(row), (std::vector<int>{1, 2, 3}));

    TesselSubrow& stored = row.setSubrow(3, note(9, 33));
    EXPECT_EQ(stored.index, 3) << "an existing subrow keeps its index";
    EXPECT_EQ(stored.pitch, 33);
    EXPECT_EQ(subrowIndices(row), (std::vector<int>{1, 2, 3}));

    row.setSubrow(0, note(0, 50));
    EXPECT_EQ(row.index, 4);
    EXPECT_EQ(row.pitch, 50);
}

TEST(Row, AnEmptyListKeepsTheRowNonEmptyUntilPruned)
{
    TesselRow row(0);
    row.setSubrow(1, note(1, 10));
    row.removeSubrow(1);
    ASSERT_TRUE(row.hasSubrowList());
    EXPECT_FALSE(row.isEmpty());
    row.pruneSubrows();
    EXPECT_FALSE(row.hasSubrowList());
    EXPECT_TRUE(row.isEmpty());
}

TEST(Row, RemovingSubrowZeroPromotesTheFirstFurtherSubrow)
{
    TesselRow row(8);
    row.pitch = 1;
    row.setSubrow(1, note(1, 11));
    row.setSubrow(2, note(2, 22));
    row.removeSubrow(0);
    EXPECT_EQ(row.pitch, 11);
    EXPECT_EQ(row.index, 8);
    row.pruneSubrows();
    ASSERT_EQ(subrowIndices(row), (std::vector<int>{1}));
    EXPECT_EQ(row.findSubrow(1)->pitch, 22);
}

TEST(Row, RemovingAMiddleSubrowRenumbersTheLaterOnes)
{
    TesselRow row(0);
    for (int i = 1; i <= 3; ++i)
        row.setSubrow(i, note(i, i * 10));
    row.removeSubrow(2);
    row.pruneSubrows();
    EXPECT_EQ(subrowIndices(row), (std::vector<int>{1, 2}));
    EXPECT_EQ(row.findSubrow(2)->pitch, 30);
}

TEST(Row, MergeRowAddsMissingSubrowsAndAssignCopiesTheList)
{
    TesselRow a(0), b(0);
    a.setSubrow(1, note(1, 10));
    b.setSubrow(1, note(1, 99)).volume = 40;
    b.setSubrow(2, note(2, 20));
    a.mergeRow(b);
    EXPECT_EQ(a.findSubrow(1)->pitch, 10);
    EXPECT_EQ(a.findSubrow(1)->volume, 40);
    EXPECT_EQ(a.findSubrow(2)->pitch, 20);
    EXPECT_TRUE(a.hasPitch());

    TesselRow c(5);
    c.assign(a);
    EXPECT_EQ(c.index, 5);
    EXPECT_EQ(subrowIndices(c), (std::vector<int>{1, 2}));
    c.assign(TesselRow(0));
    EXPECT_FALSE(c.hasSubrowList());
}
