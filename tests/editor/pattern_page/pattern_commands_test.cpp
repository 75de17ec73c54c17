// The page's and the grid's commands through the key road: selections and
// region commands with their checkpoints, the undo history bringing the
// song back, the clipboard and its extension, help pages, status texts.
#include "pattern_page_fixture.h"

#include "patterneditor/undo/undo_history.h"
#include "platform/status_text.h"

#include <cstring>

namespace {

using namespace platform;

std::string label(TesselPatternEditorUI& page, int slot)
{
    return page.undoPanel().history().label(slot);
}

bool startsWith(const std::string& text, const std::string& start)
{
    return text.compare(0, start.size(), start) == 0;
}

TEST_F(PatternPageTest, TransposingASelectionMovesExactlyItsCellsAndUndoBringsTheSongBack)
{
    type("qwertyu");
    moveCursor(0, 4, 0);
    type("32");
    moveCursor(1, 0, 0);
    type("qwe");
    const std::string before = markup();

    moveCursor(0, 0, 1);
    alt('D');   // a block of the minor step's 4 rows in the cursor's channel
    ASSERT_TRUE(grid().selection.active);
    EXPECT_EQ(grid().selection.start.row, 1);
    EXPECT_EQ(grid().selection.end.row, 4);
    alt('Q');
    const int expected[] = {60, 63, 65, 66, 68, 69, 71};
    for (int row = 0; row < 7; ++row)
        EXPECT_EQ(cell(0, row).pitch, expected[row]) << row;
    EXPECT_EQ(cell(1, 1).pitch, 62);   // the next channel is outside
    EXPECT_EQ(label(page(), 0), "000: Transpose selection up.");
    EXPECT_NE(markup(), before);

    control(kWinBack);   // the undo history
    ASSERT_TRUE(page().undoPanel().isShown());
    press(kWinReturn);
    EXPECT_FALSE(page().undoPanel().isShown());
    EXPECT_EQ(markup(), before);
    EXPECT_EQ(label(page(), 0), "000: Undo 'Transpose selection up.'");
    EXPECT_EQ(std::string(grid().cellText(0, 1).data() + 1, 3), "D-5");
}

TEST_F(PatternPageTest, TypingDeletingAndInsertingAreUndoneOneStepAtATime)
{
    // Each state of the pattern as the user made it, step by step.
    std::vector<std::string> states{markup()};
    type("q");                 // a note: C-5 with instrument 1 on row 0
    states.push_back(markup());
    moveCursor(0, 2, 0);
    type("12");                // two digits in one cell: one step
    states.push_back(markup());
    moveCursor(0, 0, 1);
    type("w");
    states.push_back(markup());
    moveCursor(0, 0, 0);
    press(kWinInsert);         // row 0 empty, the notes one row down
    EXPECT_EQ(cell(0, 1).pitch, 60);
    states.push_back(markup());
    press(kWinDelete);
    EXPECT_EQ(cell(0, 0).pitch, 60);
    EXPECT_EQ(cell(0, 0).instrument, 12);
    chord({kWinControl}, kWinDelete);   // does nothing, and records nothing
    states.push_back(markup());
    for (int slot = 0; slot < 6; ++slot)
        EXPECT_TRUE(startsWith(label(page(), slot), "000: Misc. Editing (")) << slot;
    EXPECT_TRUE(page().undoPanel().history().isEmptySlot(6));

    // Each restore records the pattern first, so the next older step is two
    // lines further down each time; the pattern goes back one step at a time
    // until it is as empty as it began, and never further.
    for (size_t step = 0; step + 1 < states.size(); ++step) {
        control(kWinBack);
        ASSERT_TRUE(page().undoPanel().isShown());
        for (size_t down = 0; down < 2 * step; ++down)
            press(kWinDown);
        press(kWinReturn);
        EXPECT_EQ(markup(), states[states.size() - 2 - step]) << step;
    }
    EXPECT_EQ(cell(0, 0).pitch, -1);

    // The first restore brings the last step back: an undo undone.
    control(kWinBack);
    press(kWinReturn);
    EXPECT_EQ(markup(), states[1]);
}

TEST_F(PatternPageTest, TheUndoHistoryStartsAgainWithEachNewSong)
{
    fillDemoSong();
    type("q");
    windows.scriptedDialogs().answerButton(kAnswerYes);
    editor->newModule();
    ASSERT_EQ(pattern().findRow(0, 0), nullptr);
    control(kWinBack);
    press(kWinReturn);     // the only checkpoint: the new, empty song itself
    EXPECT_EQ(pattern().findRow(0, 0), nullptr);
    EXPECT_TRUE(page().undoPanel().history().isEmptySlot(2));
}

TEST_F(PatternPageTest, KeysNeverReachNoteEntryWhileTheUndoHistoryIsOpen)
{
    control(kWinBack);
    type("qq");
    press(kWinDown);
    EXPECT_EQ(page().undoPanel().selectedLine(), 1);
    EXPECT_EQ(cell(0, 0).pitch, -1);
    press(kWinEscape);
    EXPECT_FALSE(page().undoPanel().isShown());
    type("q");
    EXPECT_EQ(cell(0, 0).pitch, 60);
}

TEST_F(PatternPageTest, AltXOnceTwiceThriceInterpolatesClearsEffectsClearsTheSelection)
{
    for (int row = 0; row < 5; ++row)
        writable(0, row).pitch = static_cast<int16_t>(48 + row);
    writable(0, 0).effect = {0, 'D', 0x10};
    writable(0, 4).effect = {0, 'D', 0x50};
    moveCursor(0, 0, 0);
    alt('B');
    moveCursor(0, 0, 4);
    alt('E');
    windows.injectKey(kWinMenu, true);
    press('X');
    EXPECT_EQ(cell(0, 2).effect.parameter, 0x30);
    EXPECT_EQ(cell(0, 2).effect.command, '.');   // only the parameter is written
    EXPECT_EQ(label(page(), 0), "000: Interpolate effect.");
    press('X');
    EXPECT_EQ(cell(0, 4).effect.command, '.');
    EXPECT_EQ(cell(0, 4).pitch, 52);
    EXPECT_EQ(label(page(), 0), "000: Clear effect.");
    press('X');
    windows.injectKey(kWinMenu, false);
    idle();
    EXPECT_EQ(cell(0, 4).pitch, -1);
    EXPECT_EQ(label(page(), 0), "000: Clear selection.");
}

TEST_F(PatternPageTest, OverwritingTwiceExtendsThePatternToTheClipboard)
{
    for (int row = 0; row < 32; ++row)
        writable(2, row).pitch = static_cast<int16_t>(row);
    moveCursor(2, 0, 0);
    alt('B');
    moveCursor(2, 0, 31);
    alt('E');
    alt('C');   // a root command the editor leaves to the page
    ASSERT_FALSE(grid().clipboard.isEmpty());

    moveCursor(2, 0, 48);
    windows.injectKey(kWinMenu, true);
    press('O');
    EXPECT_EQ(pattern().length(), 64);
    EXPECT_EQ(cell(2, 63).pitch, 15);
    EXPECT_EQ(platform::statusText(), " WARNING: Pasted data exceeds limits of pattern.");
    EXPECT_EQ(label(page(), 0), "000: Overwrite from clipboard.");
    press('O');
    windows.injectKey(kWinMenu, false);
    idle();
    EXPECT_EQ(pattern().length(), 80);
    EXPECT_EQ(cell(2, 79).pitch, 31);
    EXPECT_EQ(platform::statusText(), "Pattern extended to fit clipboard.");
    EXPECT_EQ(label(page(), 0), "000: Overwrite from clipboard (extend).");

    // Never beyond 256 rows.
    moveCursor(2, 0, 79);
    grid().resetRepeatCounter();
    pattern().setLength(240);
    moveCursor(2, 0, 239);
    windows.injectKey(kWinMenu, true);
    press('O');
    press('O');
    windows.injectKey(kWinMenu, false);
    idle();
    EXPECT_EQ(pattern().length(), 256);
}

TEST_F(PatternPageTest, CutAndPasteGoThroughTheRootCommands)
{
    type("qwe");
    moveCursor(0, 0, 0);
    alt('L');   // the cursor's channel
    alt('Z');   // cut
    EXPECT_EQ(cell(0, 0).pitch, -1);
    EXPECT_EQ(label(page(), 0), "000: Cut to clipboard.");
    moveCursor(3, 0, 10);
    alt('P');   // paste inserts
    EXPECT_EQ(cell(3, 10).pitch, 60);
    EXPECT_EQ(cell(3, 12).pitch, 64);
    EXPECT_EQ(label(page(), 0), "000: Paste from clipboard.");
    alt('M');
    EXPECT_EQ(label(page(), 0), "000: Mix from clipboard.");
}

TEST_F(PatternPageTest, ContextHelpOpensThePageOfTheCursorsColumnBesideTheCursor)
{
    press(kWinF1);   // on the page's own area: the page's help in the viewer
    EXPECT_EQ(viewerPage(), "PE.htm");
    const struct {
        int column;
        const char* page;
    } cases[] = {{0, "PE_Pitch.htm"}, {2, "PE_Instrument.htm"}, {5, "PE_Volume.htm"}};
    for (const auto& c : cases) {
        moveCursor(1, c.column, 3);
        editor->frame2()->getWindow()->takeFocus();
        press(kWinF1);
        settle();
        ASSERT_EQ(popupPage(), c.page) << c.column;
        // Two characters right of the cursor's column, a row below it.
        const platform::Point origin = editor->editorWindow()->screenOrigin();
        const platform::Point grid = this->grid().gridOrigin();
        const platform::Rect at = editor->helpPopup()->window()->rect();
        EXPECT_EQ(at.left, origin.x + grid.x + this->grid().columnX(1, c.column) + 2 * view().characterWidth);
        EXPECT_GT(at.top, origin.y + grid.y + 3 * view().rowHeight);
        press(kWinEscape);
        EXPECT_EQ(popupPage(), "");
    }
}

TEST_F(PatternPageTest, SwitchesWriteTheirStatusTexts)
{
    const struct {
        std::initializer_list<uint8_t> held;
        uint8_t key;
        int column;
        const char* status;
    } cases[] = {
        {{kWinControl}, 'C', 0, "Centralised cursor enabled."},
        {{kWinControl}, 'C', 0, "Centralised cursor disabled."},
        {{kWinControl}, 'F', 0, "Pattern Follow enabled."},
        {{kWinControl}, 'F', 0, "Pattern Follow disabled."},
        {{kWinControl, kWinShift}, 'G', 0, "Cursor guide shown."},
        {{kWinControl, kWinShift}, 'G', 0, "Cursor guide hidden."},
        {{kWinControl}, 'M', 0, "MIDI In disabled"},
        {{kWinControl}, 'M', 0, "MIDI In Mono mode selected."},
        {{kWinControl}, 'M', 0, "MIDI In Poly mode selected."},
        {{kWinMenu}, kWinBack, 0, "Added undo checkpoint."},
        {{}, kWinOem8, 2, "Use numbers to identify instruments."},
        {{}, kWinOem8, 3, "Use labels to identify instruments."},
        {{}, kWinOem8, 4, "Panning control set."},
        {{}, kWinOem8, 6, "Volume control set."},
    };
    for (const auto& c : cases) {
        moveCursor(0, c.column, 8);
        platform::clearStatusText();
        chord(c.held, c.key);
        EXPECT_EQ(platform::statusText(), c.status);
    }
    EXPECT_TRUE(startsWith(label(page(), 0), "000: User Checkpoint ("));
    EXPECT_EQ(cell(0, 8).pitch, -1);   // the backquote wrote no note off
}

TEST_F(PatternPageTest, PatternJumpsShowThePatternAndCheckpointTheOneLeft)
{
    type("q");
    press(kWinOem6);   // ']'
    EXPECT_EQ(page().getCurrentPattern(), 1);
    EXPECT_TRUE(startsWith(label(page(), 0), "000: Misc. Editing ("));
    press(kWinOem4);   // '['
    press(kWinOem4);
    EXPECT_EQ(page().getCurrentPattern(), 0);
    alt('N');   // the next empty pattern after 0
    EXPECT_EQ(page().getCurrentPattern(), 1);
    EXPECT_EQ(view().cursorRow, 0);
}

TEST_F(PatternPageTest, AmplifyAsksForAPercentAndRepeats)
{
    for (int row = 0; row < 2; ++row)
        writable(0, row).volume = 40;
    moveCursor(0, 0, 0);
    alt('L');
    alt('J');
    ASSERT_TRUE(grid().amplifyPromptOpen());
    EXPECT_TRUE(page().wantsKeys());
    type("150");
    press(kWinReturn);
    EXPECT_FALSE(grid().amplifyPromptOpen());
    EXPECT_EQ(cell(0, 0).volume, 60);
    EXPECT_EQ(label(page(), 0), "000: Amplify volume.");
    control('J');   // again with the last percent
    EXPECT_EQ(cell(0, 1).volume, 64);
}

} // namespace
