// Small lookups of the grid: digits, positions, effect descriptions, and
// the double-click test on the window system's clock.
#include "grid_rig.h"

#include "patterneditor/effect_table.h"
#include "patterneditor/grid/cursor_guide.h"
#include "patterneditor/grid/grid_lookups.h"

namespace {

TesselEffectDescription described(const std::string& key, const std::string& text)
{
    TesselEffectDescription row;
    row.key = key;
    row.text = text;
    return row;
}

TEST(GridLookups, HexDigitValues)
{
    const std::pair<char, int> cases[] = {{'0', 0}, {'1', 1}, {'9', 9}, {'A', 10}, {'F', 15},
                                          {'a', 0}, {'G', 0}, {' ', 0}, {'\0', 0}, {'/', 0}};
    for (auto [c, value] : cases)
        EXPECT_EQ(hexDigitValue(c), value) << c;
}

TEST(GridLookups, EffectDescriptionsFallBackThroughWildcards)
{
    TesselEffectTable table;
    for (const char* key : {"D**", "D*0", "D0*", "DF*", "S7A", "***"})
        table.add(described(key, std::string("row ") + key));
    struct Case {
        const char* key;
        const char* found;
    };
    for (const Case& c : {Case{"D30", "D*0"}, Case{"D03", "D0*"}, Case{"D00", "D0*"}, Case{"DF3", "DF*"},
                          Case{"D37", "D**"}, Case{"S7A", "S7A"}, Case{"S7B", nullptr}, Case{"Q12", nullptr},
                          Case{"D3", nullptr}}) {
        const TesselEffectDescription* row = table.find(c.key);
        if (c.found) {
            ASSERT_NE(row, nullptr) << c.key;
            EXPECT_EQ(row->key, c.found) << c.key;
        } else {
            EXPECT_EQ(row, nullptr) << c.key;
        }
    }
    EXPECT_EQ(effectKey('D', 0x0F), "D0F");
    EXPECT_EQ(effectKey('@', 0xAB), "@AB");
}

using GridClicks = ModuleTest;

TEST_F(GridClicks, ASecondQuickClickIsADoubleClickAndAThirdStartsAnew)
{
    GridRig rig;
    rig.host.now = 5000;
    EXPECT_FALSE(rig.grid.isDoubleClick());
    rig.host.now += 10;
    EXPECT_TRUE(rig.grid.isDoubleClick());
    rig.host.now += 10;
    EXPECT_FALSE(rig.grid.isDoubleClick()) << "a third click right after";
    rig.host.now += 499;
    EXPECT_TRUE(rig.grid.isDoubleClick());
    rig.host.now += 500;
    EXPECT_FALSE(rig.grid.isDoubleClick()) << "the interval has passed";
    rig.host.now = 3;   // the clock went back
    EXPECT_FALSE(rig.grid.isDoubleClick());
}

TEST_F(GridClicks, CursorGuideTexts)
{
    auto song = makeSong();
    TesselInstrument& piano = song->instruments[1];
    piano.setName("Piano");
    song->samples[1].bits = 16;
    song->samples[1].defaultVolume = 48;
    song->channels[3].panning = 20;
    TesselEffectTable effects;
    effects.add(described("D*0", "Volume Slide Up (Dx0)"));

    TesselSubrowData cell;
    EXPECT_EQ(cursorGuideLines(*song, cell, 3, &effects, false),
              (std::vector<std::string>{"\xB7\xB7\xB7 (no instrument)     ", "Vol --  Pan --", ".00"}));
    cell.pitch = 60;
    cell.instrument = 2;
    cell.effect = {0, 'D', 0x30};
    EXPECT_EQ(cursorGuideLines(*song, cell, 3, &effects, false),
              (std::vector<std::string>{"C-5 02 Piano", "Vol 48  Pan 20", "D30 Volume Slide Up (Dx0)"}));
    cell.volume = 5;
    cell.instrument = 3;
    EXPECT_EQ(cursorGuideLines(*song, cell, 3, nullptr, false)[0], "C-5 03 (unnamed instrument) (--)");
    EXPECT_EQ(cursorGuideLines(*song, cell, 3, nullptr, false)[1], "Vol 05  Pan 20");
    song->instruments[2].midiOut = 1;
    EXPECT_EQ(cursorGuideLines(*song, cell, 3, nullptr, false)[0], "C-5 03 (unnamed instrument) (MIDI)");
    EXPECT_EQ(cursorGuideLines(*song, cell, 3, nullptr, true)[0], "C-5 03 (unnamed instrument)")
        << "a key map row names a sample";
}

} // namespace
