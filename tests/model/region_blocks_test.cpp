#include "region_test_support.h"

namespace {

const char* const kLimits = " WARNING: Pasted data exceeds limits of pattern.";

void putPitches(TesselPattern& pattern, int channel, int firstRow, std::vector<int> pitches)
{
    for (int p : pitches)
        put(pattern, channel, {.row = firstRow++, .pitch = p});
}

TEST_F(RegionTest, DoublingSpreadsCellsOverSubrowsAndMovesTheEnd)
{
    for (int r = 0; r < 16; ++r)
        subrows[r] = 2;
    put(*pattern, 0, {.row = 0, .pitch = 1});
    put(*pattern, 0, {.row = 0, .subrow = 1, .pitch = 2});
    put(*pattern, 0, {.row = 1, .pitch = 3});
    put(*pattern, 0, {.row = 1, .subrow = 1, .pitch = 4});
    put(*pattern, 0, {.row = 3, .subrow = 1, .pitch = 9});   // overwritten by the spread
    selectBlock(0, 0, 0, 1);
    region.doubleLength();
    EXPECT_EQ(cellText(*pattern, 0), "0.0:p1 1.0:p2 2.0:p3 3.0:p4");
    EXPECT_EQ(region.end, (TesselGridPosition{0, 8, 3, 1}));
}

TEST_F(RegionTest, DoublingStopsAtTheEndOfTheTrack)
{
    putPitches(*pattern, 0, 14, {1, 2});
    selectBlock(0, 14, 0, 15);
    region.doubleLength();
    EXPECT_EQ(cellText(*pattern, 0), "14.0:p1");
    EXPECT_EQ(region.end.row, 15);
}

TEST_F(RegionTest, HalvingKeepsEveryOtherCell)
{
    putPitches(*pattern, 0, 0, {1, 2, 3, 4, 5});
    putPitches(*pattern, 1, 0, {6, 7, 8, 9, 10});
    selectBlock(0, 0, 1, 4);
    region.halveLength();
    EXPECT_EQ(cellText(*pattern, 0), "0.0:p1 1.0:p3 2.0:p5");
    EXPECT_EQ(cellText(*pattern, 1), "0.0:p6 1.0:p8 2.0:p10");
    EXPECT_EQ(region.end, (TesselGridPosition{1, 8, 2, 0}));
    EXPECT_EQ(pattern->tracks.trackAt(0)->rowAt(4), nullptr) << "tidied";
}

TEST_F(RegionTest, HalvingCountsSubrowsAsCells)
{
    subrows[0] = subrows[1] = subrows[2] = 2;
    for (int k = 0; k < 6; ++k)
        put(*pattern, 0, {.row = k / 2, .subrow = k % 2, .pitch = k + 1});
    selectBlock(0, 0, 0, 2);
    region.halveLength();
    EXPECT_EQ(cellText(*pattern, 0), "0.0:p1 0.1:p3 1.0:p5");
    EXPECT_EQ(region.end, (TesselGridPosition{0, 8, 1, 0}));
    EXPECT_FALSE(pattern->tracks.trackAt(0)->rowAt(1)->hasSubrowList()) << "emptied subrows pruned";
}

struct PasteCase {
    const char* name;
    bool insert;
    int mode;
    const char* expected;
};

void PrintTo(const PasteCase& c, std::ostream* out)
{
    *out << c.name;
}

class PasteModes : public RegionTest, public ::testing::WithParamInterface<PasteCase> {};

TEST_P(PasteModes, WriteTheTargetRows)
{
    subrows[1] = subrows[6] = 2;
    put(*pattern, 0, {.row = 0, .pitch = 1});
    put(*pattern, 0, {.row = 1, .volume = 20});
    put(*pattern, 0, {.row = 1, .subrow = 1, .pitch = 7});
    put(*pattern, 2, {.row = 5, .instrument = 3, .volume = 40});
    put(*pattern, 2, {.row = 6, .subrow = 1, .pitch = 9});   // a row holding only a further subrow
    selectBlock(0, 0, 0, 1);
    TesselClipboard clipboard;
    clipboard.copyFrom(region);
    const TesselGridPosition end = clipboard.pasteInto(*pattern, {2, 0, 5, 0}, GetParam().insert, GetParam().mode);
    EXPECT_EQ(cellText(*pattern, 2), GetParam().expected);
    EXPECT_EQ(end, (TesselGridPosition{2, 9, 6, 0}));
    EXPECT_EQ(platform::statusText(), "");
}

INSTANTIATE_TEST_SUITE_P(Table, PasteModes, ::testing::Values(
    PasteCase{"Overwrite", false, kPasteOverwrite, "5.0:p1 6.0:v20 6.1:p7"},
    PasteCase{"FillGaps", false, kPasteFillGaps, "5.0:p1i3v40 6.0:v20 6.1:p9"},
    PasteCase{"Mix", false, kPasteMix, "5.0:i3v40 6.1:p9"},
    PasteCase{"InsertOverwrite", true, kPasteOverwrite, "5.0:p1 6.0:v20 6.1:p7 7.0:i3v40 8.1:p9"},
    PasteCase{"InsertMix", true, kPasteMix, "5.0:p1 6.0:v20 6.1:p7 7.0:i3v40 8.1:p9"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RegionTest, CopyPastChannel63AndTheLastRowWritesWhatFits)
{
    putPitches(*pattern, 0, 0, {1, 2});
    putPitches(*pattern, 1, 0, {3, 4});
    selectBlock(0, 0, 1, 1);
    const TesselGridPosition end = region.copyRowsTo(*pattern, {63, 0, 15, 0}, false, kPasteOverwrite);
    EXPECT_EQ(cellText(*pattern, 63), "15.0:p1");
    EXPECT_EQ(platform::statusText(), kLimits);
    EXPECT_EQ(end, (TesselGridPosition{63, 9, 15, 0}));
}

TEST_F(RegionTest, OverlappingCopyReadsItsSourceFirst)
{
    putPitches(*pattern, 0, 0, {1, 2, 3, 4});
    selectBlock(0, 0, 0, 3);
    region.copyRowsTo(*pattern, {0, 0, 2, 0}, false, kPasteOverwrite);
    EXPECT_EQ(cellText(*pattern, 0), "0.0:p1 1.0:p2 2.0:p1 3.0:p2 4.0:p3 5.0:p4");

    // An insert into the source's own rows pushes them off the track's end.
    putPitches(*pattern, 1, 12, {1, 2, 3, 4});
    selectBlock(1, 12, 1, 15);
    region.copyRowsTo(*pattern, {1, 0, 14, 0}, true, kPasteOverwrite);
    EXPECT_EQ(cellText(*pattern, 1), "12.0:p1 13.0:p2 14.0:p1 15.0:p2");
    EXPECT_EQ(platform::statusText(), kLimits);
}

TEST_F(RegionTest, CutAndPasteCarryTheHighlights)
{
    pattern->majorStep = 8;
    pattern->minorStep = 2;
    putPitches(*pattern, 1, 2, {5, 6});
    TesselClipboard clipboard;
    EXPECT_TRUE(clipboard.isEmpty());
    selectBlock(1, 2, 1, 3);
    region.cutTo(clipboard);
    EXPECT_EQ(cellText(*pattern, 1), "");
    EXPECT_EQ(cellText(clipboard.pattern, 1), "2.0:p5 3.0:p6");

    TesselPattern& other = song->patterns[1];
    clipboard.pasteInto(other, {4, 0, 0, 0}, false, kPasteOverwrite);
    clipboard.applyHighlights(other);
    EXPECT_EQ(cellText(other, 4), "0.0:p5 1.0:p6");
    EXPECT_EQ(other.majorStep, 8);
    EXPECT_EQ(other.minorStep, 2);
}

struct SwapCase {
    const char* name;
    TesselGridPosition target;
    const char* status;   // "" when the swap is done
};

void PrintTo(const SwapCase& c, std::ostream* out)
{
    *out << c.name;
}

class Swaps : public RegionTest, public ::testing::WithParamInterface<SwapCase> {};

TEST_P(Swaps, RefuseOverlapAndOutside)
{
    putPitches(*pattern, 0, 0, {1, 2, 3, 4});
    selectBlock(0, 0, 0, 3);
    const bool done = region.swapWith(*pattern, GetParam().target);
    EXPECT_EQ(platform::statusText(), GetParam().status);
    EXPECT_EQ(done, *GetParam().status == '\0');
    if (!done) {
        EXPECT_EQ(cellText(*pattern, 0), "0.0:p1 1.0:p2 2.0:p3 3.0:p4");
        EXPECT_EQ(region.start.row, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, Swaps, ::testing::Values(
    SwapCase{"OneRowBelow", {0, 0, 1, 0}, "Error: Swap regions overlap."},
    SwapCase{"PastTheLastRow", {0, 0, 13, 0}, "Error: Swap region outside of pattern."},
    SwapCase{"PastChannel63", {64, 0, 4, 0}, "Error: Swap region outside of pattern."},
    SwapCase{"EndingOnTheLastRow", {0, 0, 12, 0}, ""},
    SwapCase{"OtherChannel", {5, 0, 2, 0}, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RegionTest, SwapExchangesCellsAndMovesTheRegion)
{
    putPitches(*pattern, 0, 0, {1, 2});
    putPitches(*pattern, 1, 0, {3, 4});
    put(*pattern, 3, {.row = 9, .volume = 7});
    selectBlock(0, 0, 1, 1);
    ASSERT_TRUE(region.swapWith(*pattern, {2, 0, 8, 0}));
    EXPECT_EQ(cellText(*pattern, 0), "");
    EXPECT_EQ(cellText(*pattern, 1), "1.0:v7");
    EXPECT_EQ(cellText(*pattern, 2), "8.0:p1 9.0:p2");
    EXPECT_EQ(cellText(*pattern, 3), "8.0:p3 9.0:p4");
    EXPECT_EQ(region.start, (TesselGridPosition{2, 0, 8, 0}));
    EXPECT_EQ(region.end, (TesselGridPosition{3, 8, 9, 0}));
}

TEST_F(RegionTest, SwapOverlapFollowsTheRowsTheTargetCellsCover)
{
    // Rows 4 and 5 show two subrows, rows 2 and 3 one: four cells from row 2
    // reach into row 4 although the block is two rows high.
    subrows[4] = subrows[5] = 2;
    putPitches(*pattern, 0, 2, {1, 2, 3, 4});
    selectBlock(0, 4, 0, 5);
    EXPECT_FALSE(region.swapWith(*pattern, {0, 0, 2, 0}));
    EXPECT_EQ(platform::statusText(), "Error: Swap regions overlap.");
    EXPECT_EQ(cellText(*pattern, 0), "2.0:p1 3.0:p2 4.0:p3 5.0:p4");
}

} // namespace
