// The routines the pages share: key-map velocity regions and the choice box.

#include "key_regions_text.h"

#include "editor/instrument_list/keymap_regions.h"
#include "editor/core/overlay_menu.h"
#include "gui/controls/button_group.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>

namespace {

void fill(TesselKeyRegions& regions, std::initializer_list<TesselKeyRegion> list)
{
    regions.clear();
    for (const TesselKeyRegion& r : list)
        regions.insert(r);
}

TEST(KeymapRegions, InsertingKeepsOrderAndAFifthRegionChangesNoKey)
{
    TesselRegionTable table{};
    EXPECT_TRUE(insertRegion(table, 10, 12, 20, 30, 5));
    EXPECT_TRUE(insertRegion(table, 11, 11, 0, 10, 6));
    EXPECT_EQ(regionsText(table[10]), "20-30:5");
    EXPECT_EQ(regionsText(table[11]), "0-10:6 20-30:5");
    EXPECT_TRUE(insertRegion(table, 12, 11, 0, 64, 1));   // no keys
    EXPECT_EQ(regionsText(table[11]), "0-10:6 20-30:5");

    fill(table[12], {{0, 1, 1}, {2, 3, 2}, {4, 5, 3}, {6, 7, 4}});
    const TesselRegionTable before = table;
    EXPECT_FALSE(insertRegion(table, 10, 12, 40, 50, 9));
    EXPECT_EQ(table, before);   // key 10 and 11 had room but stay as they were
    EXPECT_TRUE(insertRegion(table, -5, 0, 1, 2, 3));   // cut to the table
    EXPECT_EQ(regionsText(table[0]), "1-2:3");
}

TEST(KeymapRegions, ClearingCutsShortensSplitsAndRefusesAFifthSlot)
{
    const struct {
        std::initializer_list<TesselKeyRegion> regions;
        uint8_t from;
        uint8_t to;
        bool done;
        const char* after;
    } cases[] = {
        {{{10, 20, 1}}, 10, 20, true, ""},                     // wholly inside
        {{{10, 20, 1}}, 15, 30, true, "10-14:1"},              // overlaps its end
        {{{10, 20, 1}}, 0, 12, true, "13-20:1"},               // overlaps its start
        {{{10, 20, 1}}, 14, 16, true, "10-13:1 17-20:1"},      // split in two
        {{{10, 20, 1}, {30, 40, 2}}, 15, 35, true, "10-14:1 36-40:2"},
        {{{0, 5, 1}}, 6, 64, true, "0-5:1"},                   // untouched
        {{{0, 9, 1}, {10, 19, 2}, {20, 29, 3}, {30, 64, 4}}, 40, 50, false, "0-9:1 10-19:2 20-29:3 30-64:4"},
        {{{0, 9, 1}, {10, 19, 2}, {20, 64, 4}}, 40, 50, true, "0-9:1 10-19:2 20-39:4 51-64:4"},
    };
    for (const auto& c : cases) {
        TesselRegionTable table{};
        fill(table[7], c.regions);
        fill(table[8], {{0, 64, 9}});
        const TesselRegionTable before = table;
        EXPECT_EQ(clearRegionRange(table, 7, 8, c.from, c.to), c.done);
        EXPECT_EQ(regionsText(table[7]), c.after);
        if (!c.done) {
            EXPECT_EQ(table, before);   // the other key was not cleared either
        }
    }
}

TEST(KeymapRegions, TheKeymapTakesMergedRegionsAndPlainSamples)
{
    TesselKeyRegions regions;
    fill(regions, {{0, 10, 3}, {11, 20, 3}, {21, 30, 4}, {31, 64, 4}});
    mergeRegions(regions);
    EXPECT_EQ(regionsText(regions), "0-20:3 21-64:4");

    TesselKeymap keymap;
    keymap.reset(0);
    fill(keymap.regionsOf(5), {{0, 40, 7}, {41, 64, 7}});   // one sample over every velocity
    fill(keymap.regionsOf(6), {{0, 40, 7}, {41, 64, 8}});
    keymap.getRow(7).instrument = static_cast<int16_t>((8 << 8) | 2);   // loaded from key 7, sample 2
    applyRegionsToKeymap(keymap);
    EXPECT_EQ(keymap.keyRow(5).instrument, 7);
    EXPECT_EQ(regionsText(keymap.regionsOf(5)), "");
    EXPECT_EQ(keymap.keyRow(6).instrument, 0);
    EXPECT_EQ(regionsText(keymap.regionsOf(6)), "0-40:7 41-64:8");
    EXPECT_EQ(keymap.keyRow(7).instrument, 2);
    EXPECT_EQ(keymap.keyRow(8).instrument, 1);
}

TEST(OverlayMenu, EscapeClosesWithoutAChoiceAndEnterClosesWithOne)
{
    for (const bool textMode : {false, true}) {
        TesselOverlayMenu menu;
        auto group = std::make_unique<TesselButtonGroup>(0, 0, nullptr, 0);
        group->addButton(0, 0, 50, 18, 0, CColor{60, 60, 60, 0}, CColor{120, 120, 120, 0});
        group->addButton(60, 0, 110, 18, 0, CColor{60, 60, 60, 0}, CColor{120, 120, 120, 0});
        group->getButton(0)->setText("Yes");
        group->getButton(1)->setText("No");
        menu.setButtonGroup(std::move(group));
        menu.setMode(textMode ? TesselPopup::kTextMode : 0);
        menu.place(10, 10, nullptr);
        ASSERT_TRUE(menu.isShown());
        EXPECT_FALSE(menu.onKey(namedKey(6)));   // Escape
        EXPECT_FALSE(menu.isShown());
        EXPECT_EQ(menu.resultIndex, TesselPopup::kNoResult);

        menu.place(10, 10, nullptr);
        EXPECT_FALSE(menu.onKey(namedKey(13)));   // Right: the second button
        EXPECT_TRUE(menu.isShown());
        EXPECT_TRUE(menu.onKey(namedKey(19)));    // Enter
        EXPECT_FALSE(menu.isShown());
        if (textMode)
            EXPECT_EQ(menu.resultText, "No");
        else
            EXPECT_EQ(menu.resultIndex, 1);
    }
}

} // namespace
