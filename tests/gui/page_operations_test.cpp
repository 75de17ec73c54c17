// Operations of single pages that live with the page base: key-map region
// texts and spans, typed instrument labels and cursor limits.
#include "pagekit/page_operations.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TesselKeyRegions regions(std::initializer_list<TesselKeyRegion> list)
{
    TesselKeyRegions r;
    size_t i = 0;
    for (const TesselKeyRegion& region : list)
        r.regions[i++] = region;
    return r;
}

} // namespace

TEST(PageOperations, RegionTextListsTheRegionsHoldingAVelocity)
{
    const TesselKeyRegions row = regions({{0, 63, 3}, {32, 127, 5}, {100, 127, 9}});
    EXPECT_EQ(regionText(row, 10), "3");
    EXPECT_EQ(regionText(row, 40), "3+5");
    EXPECT_EQ(regionText(row, 110), "5+9");
    EXPECT_EQ(regionText(regions({}), 40), "");
    // A zero word ends the row.
    EXPECT_EQ(regionText(regions({{0, 10, 1}, {}, {0, 10, 2}}), 5), "1");
}

TEST(PageOperations, ARegionSpansTheKeysItRunsOverUnbroken)
{
    std::array<TesselKeyRegions, kKeys> table{};
    const TesselKeyRegion low{0, 63, 3};
    const TesselKeyRegion high{64, 127, 4};
    for (int key = 20; key <= 30; ++key)
        table[static_cast<size_t>(key)] = regions({low, high});
    table[25] = regions({high, low});   // same region, other slot
    table[31] = regions({high});
    table[40] = regions({low});         // not joined to the run

    TesselRegionSpan span;
    ASSERT_TRUE(findRegionSpan(table, 22, 10, span));
    EXPECT_EQ(span.firstVelocity, 0);
    EXPECT_EQ(span.lastVelocity, 63);
    EXPECT_EQ(span.firstKey, 20);
    EXPECT_EQ(span.lastKey, 30);
    ASSERT_TRUE(findRegionSpan(table, 31, 100, span));
    EXPECT_EQ(span.firstKey, 20);
    EXPECT_EQ(span.lastKey, 31);
    EXPECT_FALSE(findRegionSpan(table, 22, 10, span, 1));
    EXPECT_FALSE(findRegionSpan(table, 120, 10, span));
    ASSERT_TRUE(findRegionSpan(table, 40, 0, span));
    EXPECT_EQ(span.lastKey, 40);
}

TEST(PageOperations, TypedLabelsFindTheirInstrument)
{
    auto song = std::make_unique<TesselModule>();
    EXPECT_STREQ(song->instruments[6].label, "07");
    EXPECT_EQ(matchInstrument(song->instruments, "07", 0), 7);
    EXPECT_EQ(matchInstrument(song->instruments, "07", 1), 7);
    song->instruments[41].setLabel("Bd");
    song->instruments[44].setLabel("Sn");
    struct Case {
        const char* typed;
        int cursor;
        int instrument;
    };
    for (const Case& c : {Case{"Bd", 0, 42}, Case{"Bx", 0, 42}, Case{"xd", 1, 42}, Case{"Sd", 0, 45},
                          Case{"Sd", 1, 42}, Case{"zz", 0, 0}, Case{"7", 0, 70}})
        EXPECT_EQ(matchInstrument(song->instruments, c.typed, c.cursor), c.instrument) << c.typed << " " << c.cursor;

    // With no label to match, typed digits name the instrument.
    for (TesselInstrument& instrument : song->instruments)
        instrument.setLabel("zz");
    EXPECT_EQ(matchInstrument(song->instruments, "07", 0), 7);
    EXPECT_EQ(matchInstrument(song->instruments, "7x", 0), 0);
}

TEST(PageOperations, CursorLimitsOfTheInstrumentAndOrderPages)
{
    const int32_t fields[][3] = {{0, 9, 4}, {2, 20, 13}, {3, 17, 16}, {5, 3, 1}, {6, 5, 0}, {256, 30, 12}};
    for (const auto& f : fields)
        EXPECT_EQ(clampInstrumentField(f[0], f[1]), f[2]) << f[0] << " " << f[1];

    TesselOrderList orders;
    orders.entries[10].pattern = 3;
    struct Case {
        TesselOrderCursor in;
        bool pitchMode;
        TesselOrderCursor out;
    };
    const Case cases[] = {
        {{5, 300, 70, 0}, false, {2, 255, 0, 210}},  // the empty last entry has no values
        {{1, 10, 5, 0}, false, {2, 10, 1, 0}},       // one value: sub-column 1 at most
        {{1, 10, 1, 20}, false, {1, 10, 1, 10}},     // the first row follows upward
        {{0, 130, 0, 0}, true, {0, 119, 0, 74}},
        {{-1, -4, 9, 3}, true, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        orders.pitchMode = c.pitchMode ? 1 : 0;
        TesselOrderCursor cursor = c.in;
        clampOrderCursor(cursor, orders);
        EXPECT_EQ(cursor.column, c.out.column) << c.in.row;
        EXPECT_EQ(cursor.row, c.out.row) << c.in.row;
        EXPECT_EQ(cursor.subColumn, c.out.subColumn) << c.in.row;
        EXPECT_EQ(cursor.firstRow, c.out.firstRow) << c.in.row;
    }
}
