// The undo panel's keys and line texts; the engine's subrow counts.
#include "engine/engine_fixture.h"
#include "model/module_test_support.h"
#include "patterneditor/grid/subrow_counts.h"
#include "patterneditor/undo/undo_ui.h"
#include "platform/key_event.h"

#include <vector>

namespace {

struct KeyCase {
    const char* name;
    std::vector<int> keys;   // pressed after opening the panel
    int line;
    bool shown;
    int lastResult;
};

class UndoPanelKeys : public ModuleTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(UndoPanelKeys, MoveTheSelectionWithinTenLines)
{
    auto song = makeSong();
    TesselUndoUI panel(*song);
    panel.open(40, 40);
    int result = -1;
    for (int key : GetParam().keys)
        result = panel.onKeyEvent(namedKey(static_cast<uint8_t>(key)));
    EXPECT_EQ(panel.selectedLine(), GetParam().line);
    EXPECT_EQ(panel.isShown(), GetParam().shown);
    EXPECT_EQ(result, GetParam().lastResult);
}

INSTANTIATE_TEST_SUITE_P(Table, UndoPanelKeys, ::testing::Values(
    KeyCase{"DownTwice", {kVkDown, kVkDown}, 2, true, 0},
    KeyCase{"UpStopsAt0", {kVkDown, kVkUp, kVkUp}, 0, true, 0},
    KeyCase{"DownStopsAt9", {kVkEnd, kVkDown}, 9, true, 0},
    KeyCase{"PageDownThenHome", {kVkPageDown, kVkHome}, 0, true, 0},
    KeyCase{"PageUp", {kVkDown, kVkPageUp}, 0, true, 0},
    KeyCase{"OtherKeys", {kVkDown, 7, 22, 40, 0}, 1, true, 0},
    KeyCase{"EscapeHides", {kVkDown, kVkEscape}, 1, false, 0},
    KeyCase{"EnterHidesAndAsks", {kVkDown, kVkEnter}, 1, false, 1}),
    [](const auto& info) { return std::string(info.param.name); });

using UndoPanel = ModuleTest;

TEST_F(UndoPanel, EnterRestoresTheSelectedLine)
{
    auto song = makeSong();
    TesselUndoUI panel(*song, [] { return TesselClockTime{8, 0}; });
    TesselRow& cell = song->patterns[0].tracks.getTrack(0).getRow(0);
    for (int16_t pitch : {1, 2}) {
        cell.pitch = pitch;
        panel.pushCheckpoint(song->patterns[0], "Note entry.");
    }
    cell.pitch = 3;

    panel.open(40, 40);
    panel.onKeyEvent(namedKey(kVkDown));
    ASSERT_EQ(panel.onKeyEvent(namedKey(kVkEnter)), 1);
    EXPECT_EQ(panel.restoreCheckpoint(panel.selectedLine()), 0);
    EXPECT_EQ(song->patterns[0].tracks.trackAt(0)->rowAt(0)->pitch, 1);

    panel.open(40, 40);
    EXPECT_EQ(panel.selectedLine(), 0) << "opening selects line 0";
    EXPECT_EQ(panel.lineText(0), "000: Undo 'Note entry.'" + std::string(52 - 23, ' '));
    EXPECT_EQ(panel.lineText(3), "000: Misc. Editing (08:00)" + std::string(52 - 26, ' '));
    EXPECT_EQ(panel.lineText(10), "") << "the eleventh slot is never shown";
}

using EditorSubrowCounts = EngineTest;

TEST_F(EditorSubrowCounts, FollowTheTimingListsWithin1To256)
{
    engine = std::make_unique<TesselEngine>();
    ASSERT_TRUE(engine->usable());
    TesselPattern& pattern = engine->song.patterns[7];
    TesselRow& row = pattern.tracks.getTrack(0).getRow(4);
    row.effect.command = 'A';
    row.effect.parameter = 9;
    engine->rebuildPatternPlaylists(false);
    const TesselPatternSpeed counts = editorSubrowCounts(*engine);
    EXPECT_EQ(counts(pattern, 4), 9);
    engine->song.resolution = 0.0;
    EXPECT_EQ(counts(pattern, 200), 1) << "a row the list lacks has the song's speed";
    engine->song.resolution = 1e12;
    EXPECT_EQ(counts(pattern, 200), kMaxSubrows);
}

} // namespace
