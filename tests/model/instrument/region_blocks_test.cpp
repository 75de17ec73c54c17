#include "region_test_support.h"

namespace {

const char* const kLimits = " WARNING: Pasted data exceeds limits of pattern.";
const char* const kOverlap = "Error: Swap regions overlap.";
const char* const kOutside = "Error: Swap region outside of pattern.";

TEST_F(RegionTest, DoublingSpreadsCellsOverSubrowsAndMovesTheEnd)
{
    for (int r = 0; r < 16; ++r)
        subrows[r] = 2;
    putCells(*pattern, 0, "0.0:p1 0.1:p2 1.0:p3 1.1:p4 3.1:p9");
    selectBlock(0, 0, 0, 1);
    region.doubleLength();
    EXPECT_EQ(cellText(*pattern, 0), "0.0:p1 1.0:p2 2.0:p3 3.0:p4");
    EXPECT_EQ(region.end, (TesselGridPosition{0, 8, 3, 1}));
}

TEST_F(RegionTest, HalvingKeepsEveryOtherCellAndTidies)
{
    putCells(*pattern, 0, "0.0:p1 1.0:p2 2.0:p3 3.0:p4 4.0:p5");
    putCells(*pattern, 1, "0.0:p6 1.0:p7 2.0:p8 3.0:p9 4.0:p10");
    selectBlock(0, 0, 1, 4);
    region.halveLength();
    EXPECT_EQ(cellText(*pattern, 0), "0.0:p1 1.0:p3 2.0:p5");
    EXPECT_EQ(cellText(*pattern, 1), "0.0:p6 1.0:p8 2.0:p10");
    EXPECT_EQ(region.end, (TesselGridPosition{1, 8, 2, 0}));
    EXPECT_EQ(pattern->tracks.trackAt(1)->rowAt(4), nullptr) << "tidied";
}

struct PasteCase {
    const char* name;
    bool insert;
    int mode;
    const char* after;   // channel 2
};

class PasteModes : public RegionTest, public ::testing::WithParamInterface<PasteCase> {};

TEST_P(PasteModes, WriteTheTargetRows)
{
    subrows[1] = subrows[6] = 2;
    putCells(*pattern, 0, "0.0:p1 1.0:v20 1.1:p7");
    putCells(*pattern, 2, "5.0:i3v40 6.1:p9");   // row 6 holds only a further subrow
    selectBlock(0, 0, 0, 1);
    TesselClipboard clipboard;
    clipboard.copyFrom(region);
    const TesselGridPosition end = clipboard.pasteInto(*pattern, {2, 0, 5, 0}, GetParam().insert, GetParam().mode);
    EXPECT_EQ(cellText(*pattern, 2), GetParam().after);
    EXPECT_EQ(end, (TesselGridPosition{2, 9, 6, 0}));
    EXPECT_EQ(platform::statusText(), "");
}

INSTANTIATE_TEST_SUITE_P(Table, PasteModes, ::testing::Values(
    PasteCase{"Overwrite", false, kPasteOverwrite, "5.0:p1 6.0:v20 6.1:p7"},
    PasteCase{"FillGaps", false, kPasteFillGaps, "5.0:p1i3v40 6.0:v20 6.1:p9"},
    PasteCase{"Mix", false, kPasteMix, "5.0:i3v40 6.1:p9"},
    PasteCase{"InsertOverwrite", true, kPasteOverwrite, "5.0:p1 6.0:v20 6.1:p7 7.0:i3v40 8.1:p9"},
    PasteCase{"InsertMix", true, kPasteMix, "5.0:p1 6.0:v20 6.1:p7 7.0:i3v40 8.1:p9"}),
    CaseName());

TEST_F(RegionTest, CopyPastChannel63AndTheLastRowWritesWhatFits)
{
    putCells(*pattern, 0, "0.0:p1 1.0:p2");
    putCells(*pattern, 1, "0.0:p3 1.0:p4");
    selectBlock(0, 0, 1, 1);
    EXPECT_EQ(region.copyRowsTo(*pattern, {63, 0, 15, 0}, false, kPasteOverwrite), (TesselGridPosition{63, 9, 15, 0}));
    EXPECT_EQ(cellText(*pattern, 63), "15.0:p1");
    EXPECT_EQ(platform::statusText(), kLimits);
}

TEST_F(RegionTest, OverlappingCopyReadsItsSourceFirst)
{
    putCells(*pattern, 0, "0.0:p1 1.0:p2 2.0:p3 3.0:p4");
    selectBlock(0, 0, 0, 3);
    region.copyRowsTo(*pattern, {0, 0, 2, 0}, false, kPasteOverwrite);
    EXPECT_EQ(cellText(*pattern, 0), "0.0:p1 1.0:p2 2.0:p1 3.0:p2 4.0:p3 5.0:p4");

    // An insert into the source's own rows pushes them off the track's end.
    putCells(*pattern, 1, "12.0:p1 13.0:p2 14.0:p3 15.0:p4");
    selectBlock(1, 12, 1, 15);
    region.copyRowsTo(*pattern, {1, 0, 14, 0}, true, kPasteOverwrite);
    EXPECT_EQ(cellText(*pattern, 1), "12.0:p1 13.0:p2 14.0:p1 15.0:p2");
}

TEST_F(RegionTest, CutAndPasteCarryTheHighlights)
{
    pattern->majorStep = 8;
    pattern->minorStep = 2;
    putCells(*pattern, 1, "2.0:p5 3.0:p6");
    TesselClipboard clipboard;
    EXPECT_TRUE(clipboard.isEmpty());
    selectBlock(1, 2, 1, 3);
    region.cutTo(clipboard);
    EXPECT_EQ(cellText(*pattern, 1), "");

    TesselPattern& other = song->patterns[1];
    clipboard.pasteInto(other, {4, 0, 0, 0}, false, kPasteOverwrite);
    clipboard.applyHighlights(other);
    EXPECT_EQ(cellText(other, 4), "0.0:p5 1.0:p6");
    EXPECT_EQ(other.majorStep * 10 + other.minorStep, 82);
}

struct SwapCase {
    const char* name;
    TesselGridPosition target;
    const char* status;   // "" when the swap is done
};

class Swaps : public RegionTest, public ::testing::WithParamInterface<SwapCase> {};

TEST_P(Swaps, RefuseOverlapAndOutside)
{
    putCells(*pattern, 0, "0.0:p1 1.0:p2 2.0:p3 3.0:p4");
    selectBlock(0, 0, 0, 3);
    const bool done = region.swapWith(*pattern, GetParam().target);
    EXPECT_EQ(platform::statusText(), GetParam().status);
    EXPECT_EQ(done, *GetParam().status == '\0');
    if (!done) {
        EXPECT_EQ(cellText(*pattern, 0), "0.0:p1 1.0:p2 2.0:p3 3.0:p4");
    }
}

INSTANTIATE_TEST_SUITE_P(Table, Swaps, ::testing::Values(
    SwapCase{"OneRowBelow", {0, 0, 1, 0}, kOverlap},
    SwapCase{"PastTheLastRow", {0, 0, 13, 0}, kOutside},
    SwapCase{"PastChannel63", {64, 0, 4, 0}, kOutside},
    SwapCase{"EndingOnTheLastRow", {0, 0, 12, 0}, ""}),
    CaseName());

TEST_F(RegionTest, SwapExchangesCellsAndMovesTheRegion)
{
    putCells(*pattern, 0, "0.0:p1 1.0:p2");
    putCells(*pattern, 1, "0.0:p3 1.0:p4");
    putCells(*pattern, 3, "9.0:v7");
    selectBlock(0, 0, 1, 1);
    ASSERT_TRUE(region.swapWith(*pattern, {2, 0, 8, 0}));
    EXPECT_EQ(cellText(*pattern, 1) + "|" + cellText(*pattern, 2) + "|" + cellText(*pattern, 3),
              "1.0:v7|8.0:p1 9.0:p2|8.0:p3 9.0:p4");
    EXPECT_EQ(region.start, (TesselGridPosition{2, 0, 8, 0}));
    EXPECT_EQ(region.end, (TesselGridPosition{3, 8, 9, 0}));
}

TEST_F(RegionTest, SwapOverlapFollowsTheRowsTheTargetCellsCover)
{
    // Four cells from row 2 reach into row 4: rows 2 and 3 show one subrow.
    subrows[4] = subrows[5] = 2;
    putCells(*pattern, 0, "2.0:p1 3.0:p2 4.0:p3 5.0:p4");
    selectBlock(0, 4, 0, 5);
    EXPECT_FALSE(region.swapWith(*pattern, {0, 0, 2, 0}));
    EXPECT_EQ(platform::statusText(), kOverlap);
}

} // namespace
