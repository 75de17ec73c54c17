// The instrument page's key map view through the plug-in's editor: typed
// samples, rows moved with their regions by keys and by mouse drags, the
// region area's wheel and range insertion, and the way to a key's sample.

#include "editor/key_regions_text.h"
#include "instrument_page_fixture.h"

#include "editor/instrument_list/keymap_view.h"

namespace {

using namespace platform;

void setRegions(TesselKeymap& map, int key, std::initializer_list<TesselKeyRegion> regions)
{
    map.regionsOf(key).clear();
    for (const TesselKeyRegion& r : regions)
        map.regionsOf(key).insert(r);
    map.getRow(key).instrument = 0;
}

class KeyMapTest : public InstrumentPageTest {
protected:
    TesselKeymap& map() { return instrument(1).keymap; }
    TesselKeyMapUI& view() { return page().keyMap(); }
    // The region area's point of a key and velocity (the view scrolled to its top).
    int velocityX(int velocity) const { return TesselKeyMapUI::kVelocityLeft + 4 * velocity + 1; }
    int keyY(int key) const { return 54 + 12 * key + 5; }
};

TEST_F(KeyMapTest, ATypedSampleGetsOneRegionAndGLeadsToItsSamplePage)
{
    openPage();
    press(kWinTab);
    ASSERT_EQ(page().field(), 1);
    repeat(kWinRight, 2);   // the sample's tens
    type("05");
    EXPECT_EQ(map().keyRow(0).instrument, 5);
    EXPECT_EQ(regionsText(map().regionsOf(0)), "");   // one full region is the row's plain sample
    EXPECT_EQ(regionsText(view().regions()[0]), "0-64:5");
    EXPECT_EQ(view().cellOrBlank(0, 0, 0).instrument & 0xFF, 5);
    EXPECT_EQ(map().keyRow(1).instrument, 1);   // the cursor moved on, nothing else changed

    press(kWinUp);
    type("g");
    EXPECT_EQ(pageNumber(), kSampleListPage);
    EXPECT_EQ(editor->currentSample(), 5);
}

TEST_F(KeyMapTest, RowsMovedByOneKeyCarryTheirRegions)
{
    setRegions(map(), 10, {{0, 31, 3}, {32, 64, 4}});
    setRegions(map(), 11, {{0, 20, 5}, {21, 64, 6}});
    map().getRow(12).instrument = 9;
    openPage();
    press(kWinTab);
    repeat(kWinDown, 10);
    press(kWinInsert);   // keys 10 and up move down one key
    EXPECT_EQ(regionsText(map().regionsOf(10)), "");
    EXPECT_EQ(map().keyRow(10).instrument, 0);
    EXPECT_EQ(regionsText(map().regionsOf(11)), "0-31:3 32-64:4");
    EXPECT_EQ(regionsText(map().regionsOf(12)), "0-20:5 21-64:6");
    EXPECT_EQ(map().keyRow(12).pitch, 11);
    EXPECT_EQ(map().keyRow(13).instrument, 9);   // a plain sample moves as the row's
    EXPECT_EQ(regionsText(map().regionsOf(13)), "");
    for (int key = 0; key < kKeys; ++key)
        EXPECT_LT(map().keyRow(key).instrument, 256) << key;   // no source marks stored

    press(kWinDelete);   // and back up
    EXPECT_EQ(regionsText(map().regionsOf(10)), "0-31:3 32-64:4");
    EXPECT_EQ(regionsText(map().regionsOf(11)), "0-20:5 21-64:6");
    EXPECT_EQ(map().keyRow(12).instrument, 9);
}

TEST_F(KeyMapTest, DraggedBlocksOfKeysCarryTheirRegions)
{
    setRegions(map(), 10, {{0, 31, 3}, {32, 64, 4}});
    setRegions(map(), 11, {{0, 20, 5}, {21, 64, 6}});
    map().getRow(21).clear();   // an empty key: a mixing drop fills it
    map().regionsOf(21).clear();
    const TesselInstrument start = instrument(1);
    openPage();
    const int noteX = view().gridRect().left + 3;
    // Keys 10 and 11 selected by a drag over them, then dragged from key
    // 10 onto key 20 with the modifiers held.
    const auto dragBlock = [&](std::initializer_list<uint8_t> held) {
        click(noteX, keyY(25));   // no selection
        drag(noteX, keyY(10), noteX, keyY(11), kLeftButton);
        ASSERT_TRUE(view().selection.active);
        for (uint8_t m : held)
            windows.injectKey(m, true);
        windows.injectButton(window(), at(noteX, keyY(10)), kLeftButton, true);
        idle();
        EXPECT_TRUE(view().isDraggingBlock());
        windows.injectMove(window(), at(noteX, keyY(15)));
        idle();
        writePicture("keymap_drag_headless.png");
        windows.injectMove(window(), at(noteX, keyY(20)));
        windows.injectButton(window(), at(noteX, keyY(20)), kLeftButton, false);
        for (uint8_t m : held)
            windows.injectKey(m, false);
        idle();
    };
    const struct {
        std::initializer_list<uint8_t> held;
        const char* name;
        bool sourceKept;
        const char* regions20;
        int pitch20;
        int pitch22;   // the note of the key after the block
    } cases[] = {
        {{}, "move", false, "0-31:3 32-64:4", 10, 22},
        {{kWinControl}, "copy", true, "0-31:3 32-64:4", 10, 22},
        {{kWinShift}, "insert", false, "0-31:3 32-64:4", 10, 20},
        // Key 20 has a sample and keeps it; the empty key 21 takes key 11.
        {{kWinMenu}, "mix", false, "", 20, 22},
    };
    for (const auto& c : cases) {
        instrument(1).assign(start);
        dragBlock(c.held);
        EXPECT_FALSE(view().isDraggingBlock()) << c.name;
        EXPECT_EQ(regionsText(map().regionsOf(20)), c.regions20) << c.name;
        EXPECT_EQ(map().keyRow(20).pitch, c.pitch20) << c.name;
        EXPECT_EQ(regionsText(map().regionsOf(21)), "0-20:5 21-64:6") << c.name;
        EXPECT_EQ(map().keyRow(21).pitch, 11) << c.name;
        EXPECT_EQ(map().keyRow(22).pitch, c.pitch22) << c.name;
        EXPECT_EQ(regionsText(map().regionsOf(10)), c.sourceKept ? "0-31:3 32-64:4" : "") << c.name;
        EXPECT_EQ(regionsText(map().regionsOf(11)), c.sourceKept ? "0-20:5 21-64:6" : "") << c.name;
        EXPECT_EQ(map().keyRow(10).pitch, c.sourceKept ? 10 : -1) << c.name;
        EXPECT_EQ(map().keyRow(12).instrument, 1) << c.name;
        for (int key = 0; key < kKeys; ++key)
            ASSERT_LT(map().keyRow(key).instrument, 256) << c.name << " " << key;   // no source marks stored
        // The selection moved onto the dropped block.
        EXPECT_EQ(view().selection.start.row, 20) << c.name;
        EXPECT_EQ(view().selection.end.row, 21) << c.name;
    }
    // A drop where it began leaves the keys as they were.
    instrument(1).assign(start);
    drag(noteX, keyY(10), noteX, keyY(11), kLeftButton);
    drag(noteX, keyY(11), noteX, keyY(11), kLeftButton);
    EXPECT_EQ(regionsText(map().regionsOf(10)), "0-31:3 32-64:4");
    EXPECT_EQ(map().keyRow(20).pitch, 20);
    EXPECT_FALSE(view().selection.active);
}

TEST_F(KeyMapTest, TheWheelKeepsSamplesInRangeAndAFullKeyRefusesAFifthRegion)
{
    setRegions(map(), 5, {{0, 9, 1}, {10, 19, 2}, {20, 29, 3}, {30, 64, 4}});
    map().getRow(6).instrument = 99;
    openPage();

    // A right click in the region area: region mode, the selection snapped
    // to the key's one region.
    press(kWinTab);
    repeat(kWinRight, 8);
    press(kWinRight);   // Right on the last column opens the region area
    ASSERT_TRUE(view().regionAreaShown());
    click(velocityX(10), keyY(6), kRightButton);
    ASSERT_TRUE(view().inRegionMode());
    EXPECT_EQ(view().regionKey(), 6);
    TesselRegionRect selected;
    ASSERT_TRUE(view().getRegionSelection(selected));
    EXPECT_EQ(selected.firstVelocity, 0);
    EXPECT_EQ(selected.lastVelocity, 64);
    wheel(velocityX(10), keyY(6), 1);
    EXPECT_EQ(map().keyRow(6).instrument, 99);

    click(velocityX(3), keyY(7), kRightButton);
    wheel(velocityX(3), keyY(7), -1);
    EXPECT_EQ(map().keyRow(7).instrument, 1);
    wheel(velocityX(3), keyY(7), 1);
    EXPECT_EQ(map().keyRow(7).instrument, 2);
    // The region runs unbroken from key 7 to the last key: all of it changed.
    EXPECT_EQ(map().keyRow(kKeys - 1).instrument, 2);
    EXPECT_EQ(map().keyRow(6).instrument, 99);
    EXPECT_EQ(map().keyRow(4).instrument, 1);

    // A range over keys 4 and 5: key 5 has four regions and stays as it was.
    drag(velocityX(40), keyY(4), velocityX(50), keyY(5), kRightButton);
    ASSERT_TRUE(view().getRegionSelection(selected));
    EXPECT_EQ(selected.firstKey, 4);
    EXPECT_EQ(selected.lastKey, 5);
    wheel(velocityX(50), keyY(5), 1);
    EXPECT_EQ(status(), TesselKeyMapUI::kTooManyRegions);
    EXPECT_EQ(regionsText(map().regionsOf(5)), "0-9:1 10-19:2 20-29:3 30-64:4");
    EXPECT_EQ(regionsText(map().regionsOf(4)), "0-64:1 40-50:5");
    EXPECT_EQ(map().keyRow(4).instrument, 0);
    EXPECT_EQ(regionsText(view().regions()[4]), "0-64:1 40-50:5");
    writePicture("keymap_regions_headless.png");

    // The second header button closes the area; the key map keeps its regions.
    click(TesselKeyMapUI::kCloseButton.left + 3, TesselKeyMapUI::kCloseButton.top + 3);
    EXPECT_FALSE(view().regionAreaShown());
    EXPECT_FALSE(view().inRegionMode());
}

} // namespace
