// What opens over the pattern editor page and what it asks of the user:
// the pattern options panel, the overview, the song-wide row operations
// behind their question, the instrument and octave menus, mute and solo.
#include "pattern_page_fixture.h"

#include "gui/lists/drop_list.h"
#include "patterneditor/undo/undo_history.h"
#include "platform/headless/headless_dialogs.h"
#include "shell/command_ids.h"

namespace {

using namespace platform;

constexpr uint8_t kF(int n)
{
    return static_cast<uint8_t>(kWinF1 + n - 1);
}

TEST_F(PatternPageTest, PatternOptionsApplyWithTheirOwnCheckpoints)
{
    press(kF(2));
    ASSERT_TRUE(page().optionsPanel().isShown());
    EXPECT_TRUE(page().wantsKeys());
    type("q");   // the panel's, not a note
    EXPECT_EQ(cell(0, 0).pitch, -1);
    press(kWinReturn);
    EXPECT_FALSE(page().optionsPanel().isShown());
    EXPECT_EQ(std::string(page().undoPanel().history().label(0)), "000: Pattern Options");
    control(kF(2));
    EXPECT_EQ(std::string(page().undoPanel().history().label(0)), "000: Apply Pattern Options");
}

TEST_F(PatternPageTest, TheOverviewTakesTheKeysWhileItShows)
{
    press(kWinOem7);   // '#'
    ASSERT_NE(page().overviewPanel(), nullptr);
    ASSERT_TRUE(page().overviewPanel()->isShown());
    chord({kWinShift}, '9');   // '('
    EXPECT_EQ(viewedPageThenBack(), "PE_Modes.htm");
    type("q");
    EXPECT_EQ(cell(0, 0).pitch, -1);
}

TEST_F(PatternPageTest, RowsGoIntoAndOutOfTheSongOnlyAfterTheUsersYes)
{
    for (int p = 0; p < 2; ++p) {
        song().orderList.entries[size_t(p)].pattern = p;
        writable(0, 63, p).pitch = static_cast<int16_t>(60 + p);
    }
    song().orderList.updateLength();
    page().goToPattern(0, true);
    moveCursor(0, 0, 10);
    alt('B');
    moveCursor(0, 0, 11);
    alt('E');   // two rows of one channel: not enough
    HeadlessDialogs& dialogs = windows.scriptedDialogs();
    const size_t asked = dialogs.requests().size();
    EXPECT_TRUE(page().onCommand(cmd::pattern_editor::kInsertInSong));
    EXPECT_EQ(dialogs.requests().size(), asked);

    grid().selection.select(&pattern(), {0, 0, 10, 0}, {63, 8, 11, 0});
    dialogs.answerButton(kAnswerNo);
    page().onCommand(cmd::pattern_editor::kInsertInSong);
    ASSERT_EQ(dialogs.requests().size(), asked + 1);
    EXPECT_EQ(dialogs.requests().back().title, "Insert Row(s) into Song");
    EXPECT_EQ(dialogs.requests().back().text,
              "This process may reorder your patterns and cannot be undone. Proceed?");
    EXPECT_EQ(cell(0, 63).pitch, 60);

    const std::string before = page().undoPanel().history().label(0);
    dialogs.answerButton(kAnswerYes);
    page().onCommand(cmd::pattern_editor::kInsertInSong);
    EXPECT_EQ(cell(0, 63).pitch, -1);   // pushed on into the next pattern
    EXPECT_EQ(cell(0, 1, 1).pitch, 60);
    EXPECT_EQ(page().undoPanel().history().label(0), before);   // no checkpoint

    grid().selection.select(&pattern(), {0, 0, 10, 0}, {63, 8, 11, 0});
    dialogs.answerButton(kAnswerYes);
    page().onCommand(cmd::pattern_editor::kDeleteFromSong);
    EXPECT_EQ(dialogs.requests().back().title, "Delete Row(s) from Song");
    EXPECT_EQ(cell(0, 63).pitch, 60);
}

TEST_F(PatternPageTest, TheInstrumentAndOctaveMenusSetTheirValues)
{
    windows.answerPopup(7);
    alt('I');
    EXPECT_EQ(editor->currentInstrument(), 7);
    EXPECT_EQ(page().instrumentList()->currentValue(), 7);
    windows.answerPopup(2);
    alt('T');
    EXPECT_EQ(editor->octave(), 2);
    type("q");   // the upper row's C, an octave above the base octave
    EXPECT_EQ(cell(0, 0).pitch, 36);
    EXPECT_EQ(cell(0, 0).instrument, 7);
}

TEST_F(PatternPageTest, MuteAndSoloTheCursorsChannel)
{
    moveCursor(2, 0, 0);
    alt(kF(9));
    EXPECT_EQ(song().channels[2].mute, 1);
    alt(kF(9));
    EXPECT_EQ(song().channels[2].mute, 0);
    alt(kF(10));
    for (int c = 0; c < kChannels; ++c)
        ASSERT_EQ(song().channels[size_t(c)].mute, c == 2 ? 0 : 1) << c;
    EXPECT_EQ(song().channels[2].solo, 1);
    alt(kF(10));   // the only soloed channel: everything back
    for (int c = 0; c < kChannels; ++c)
        ASSERT_EQ(song().channels[size_t(c)].mute + song().channels[size_t(c)].solo, 0) << c;
}

} // namespace
