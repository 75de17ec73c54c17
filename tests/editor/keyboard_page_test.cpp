// The keyboard shortcuts page as a user drives it: opened from page 8,
// a command chosen with the arrows, a key captured on the fake clock and
// bound, the binding working in the key road, removed again; schemes saved,
// restored and loaded through scripted dialogs; its pixels probed.

#include "preferences_fixture.h"

#include "platform/system/folders.h"
#include "resources/palette.h"

namespace {

using namespace platform;

constexpr Colour kHighlight = resources::palette::kHighlight;

class KeyboardPageTest : public PreferencesTest {
protected:
    // The arrows down the root's commands to "Increment Base Octave", the last.
    void selectOctaveUp()
    {
        press(kWinRight);   // the root opens
        press(kWinRight);   // its first command
        for (int i = 0; i < 23; ++i)
            press(kWinDown);
        ASSERT_EQ(keyboard().selectedPath(), "BaseOctaveUp");
    }
    // Tab to the list, then down to its "(new shortcut)" row.
    void selectNewShortcutRow()
    {
        press(kWinTab);
        press(kWinDown);
        press(kWinDown);
        ASSERT_EQ(keyboard().listRows()[keyboard().selectedSlot()], "(new shortcut)");
    }
    void answerPath(const std::filesystem::path& path) { windows.scriptedDialogs().answerPaths({path.string()}); }
    // Tab from the tree to a button, Enter, and back to the tree.
    void pressButton(int focus)
    {
        for (int i = 0; i < focus; ++i)
            press(kWinTab);
        ASSERT_EQ(keyboard().focusIndex(), focus);
        press(kWinReturn);
        for (int i = focus; i < TesselKeyboardUI::kFocusCount; ++i)
            press(kWinTab);
    }
};

TEST_F(KeyboardPageTest, ACapturedKeyIsBoundAndWorksOnPageEightUntilItIsRemoved)
{
    openKeyboard();
    EXPECT_TRUE(page().wantsKeys());
    selectOctaveUp();
    selectNewShortcutRow();
    EXPECT_EQ(keyboard().listRows(), (std::vector<std::string>{"NumPad *", "Ctrl-=", "(new shortcut)"}));

    press(kWinReturn);
    ASSERT_TRUE(keyboard().capturing());
    EXPECT_EQ(keyboard().panelLines()[0], "Please enter a shortcut using the keyboard...");
    EXPECT_TRUE(windows.timerRunning(*editor->editorWindow(), TesselEditor::kTimerShortcut));
    runClock(300);
    chord({kWinControl}, 'J');
    EXPECT_EQ(keyboard().panelLines()[0], "Ctrl-j");
    runClock(200);
    chord({kWinControl, kWinShift}, 'K');
    // Each key starts the two seconds again; the last one stays.
    runClock(1950);
    EXPECT_TRUE(keyboard().capturing());
    EXPECT_EQ(keyboard().countdown(), 1);
    runClock(100);
    EXPECT_FALSE(keyboard().capturing());
    EXPECT_EQ(keyboard().countdown(), 0);
    EXPECT_FALSE(windows.timerRunning(*editor->editorWindow(), TesselEditor::kTimerShortcut));
    EXPECT_EQ(keyboard().panelLines(), (std::vector<std::string>{"Assign [Ctrl-Shift-k] to current command?",
                                                                  "Press [Enter] to confirm, [Esc] to cancel."}));

    press(kWinReturn);
    EXPECT_TRUE(keyboard().pendingKey().isNone());
    EXPECT_EQ(keyboard().listRows(),
              (std::vector<std::string>{"NumPad *", "Ctrl-=", "Ctrl-Shift-k", "(new shortcut)"}));
    EXPECT_EQ(keyboard().selectedPath(), "BaseOctaveUp");
    EXPECT_EQ(keyboard().selectedSlot(), 2u);
    EXPECT_NE(keyboard().tree().getSelection()->label.find("[Ctrl-Shift-k]"), std::string::npos);

    // Escape hides the page; page 8 takes no keys then, and the road finds the binding.
    press(kWinEscape);
    EXPECT_FALSE(keyboard().isShown());
    EXPECT_FALSE(page().wantsKeys());
    ASSERT_EQ(editor->octave(), 4);
    chord({kWinControl, kWinShift}, 'K');
    EXPECT_EQ(editor->octave(), 5);
    EXPECT_EQ(pageNumber(), kPreferencesPage);

    // Enter on the keyboard button (still focused) opens the page on the same command.
    press(kWinReturn);
    ASSERT_TRUE(keyboard().isShown());
    EXPECT_EQ(keyboard().selectedPath(), "BaseOctaveUp");
    press(kWinTab);
    ASSERT_EQ(keyboard().selectedSlot(), 2u);
    press(kWinDelete);
    EXPECT_EQ(keyboard().listRows(), (std::vector<std::string>{"NumPad *", "Ctrl-=", "(new shortcut)"}));
    press(kWinDelete);   // on "(new shortcut)"
    EXPECT_EQ(keyboard().listRows().size(), 3u);
    chord({kWinControl, kWinShift}, 'K');   // captured by nothing, bound to nothing
    EXPECT_EQ(editor->octave(), 5);
}

TEST_F(KeyboardPageTest, EscapeEndsACaptureThenHidesThePageAndModifiersAloneAreKept)
{
    openKeyboard();
    selectOctaveUp();
    press(kWinReturn);
    windows.injectKey(kWinControl, true);
    idle();
    const TesselKeyEvent bare = keyboard().pendingKey();
    EXPECT_EQ(bare.modifiers, kModCtrl);
    EXPECT_EQ(bare.virtualKey, 0);
    EXPECT_EQ(bare.character, 0);
    windows.injectKey(kWinControl, false);
    press(kWinEscape);
    EXPECT_TRUE(keyboard().isShown());
    EXPECT_FALSE(keyboard().capturing());
    EXPECT_TRUE(keyboard().pendingKey().isNone());
    EXPECT_FALSE(windows.timerRunning(*editor->editorWindow(), TesselEditor::kTimerShortcut));
    press(kWinEscape);
    EXPECT_FALSE(keyboard().isShown());
    EXPECT_EQ(pageNumber(), kPreferencesPage);

    // A key pressed twice binds as the road counted it; a character that
    // differs from its key is asked for by both.
    press(kWinReturn);   // the keyboard button still has the focus
    press(kWinReturn);   // capture on the same command
    press('Q');
    press('Q');
    runClock(2100);
    EXPECT_EQ(keyboard().pendingKey().pressCount, 1);
    EXPECT_EQ(keyboard().panelLines()[0], "Assign [q x 2] to current command?");
    press(kWinEscape);
    press(kWinReturn);
    chord({kWinShift}, '1');
    runClock(2100);
    EXPECT_EQ(keyboard().panelLines()[0], "Assign '!' (Shift-1) to current command?");
}

TEST_F(KeyboardPageTest, TheRootIsNamedAndTakesNoShortcut)
{
    openKeyboard();
    ASSERT_EQ(keyboard().selectedPath(), "");
    EXPECT_TRUE(keyboard().listRows().empty());
    // The root's row shows its name after the box glyph, on the selection's band.
    TesselTreeview& tree = keyboard().tree();
    EXPECT_EQ(tree.getRoot().label, "Keyboard Scheme");
    const CRect& place = *tree.getRect();
    const int32_t left = kSubPage.x + place.left + 2 + 2 * 6;   // past the glyph and a blank
    const int32_t top = kSubPage.y + place.top + 2;
    keyboard().setDirty();
    idle();
    const Image& shown = editor->frame2()->getWindow()->image();
    const Colour band = shown.pixelAt(left, top);
    int ink = 0;
    for (int32_t y = top; y < top + TesselTreeview::kRowHeight; ++y)
        for (int32_t x = left; x < left + 14 * 6; ++x)
            ink += shown.pixelAt(x, y) == band ? 0 : 1;
    EXPECT_GT(ink, 60);
    ASSERT_TRUE(makeFolders("screenshots"));
    EXPECT_TRUE(shown.writePng("screenshots/keyboard_root.png"));
    const std::string before = schemeText();
    press(kWinReturn);
    EXPECT_FALSE(keyboard().capturing());
    press(kWinDelete);
    press(kWinTab);
    press(kWinReturn);
    EXPECT_FALSE(keyboard().capturing());
    EXPECT_EQ(schemeText(), before);
}

TEST_F(KeyboardPageTest, SchemesSaveRestoreAndLoadAndFailuresChangeNothing)
{
    TesselCommand* octaveUp = defaultScheme().findByPath("BaseOctaveUp");
    octaveUp->addShortcut(charKey('y', kModCtrl | kModAlt));
    openKeyboard();
    const std::string custom = schemeText();

    // The selector runs as a popup: keys typed meanwhile start nothing.
    const std::filesystem::path saved = scratch / "mine.xml";
    bool popupWhileAsked = false;
    HeadlessDialogs::Answer answer;
    answer.paths = {saved.string()};
    answer.meanwhile = [&] { popupWhileAsked = editor->popupActive(); };
    windows.scriptedDialogs().answer(answer);
    pressButton(TesselKeyboardUI::kFocusSave);
    EXPECT_TRUE(popupWhileAsked);
    EXPECT_FALSE(editor->popupActive());
    EXPECT_EQ(statusText(), "Saving keyboard scheme... complete.");
    const auto& asked = windows.scriptedDialogs().requests().back();
    EXPECT_EQ(asked.kind, HeadlessDialogs::Kind::Save);
    EXPECT_EQ(asked.title, "Save Keyboard Scheme...");
    EXPECT_EQ(asked.defaultExtension, "xml");
    EXPECT_EQ(asked.owner, editor->editorWindow()->handle());

    pressButton(TesselKeyboardUI::kFocusDefaults);
    EXPECT_NE(schemeText(), custom);
    EXPECT_EQ(defaultScheme().findByPath("BaseOctaveUp")->shortcuts.size(), 2u);

    answerPath(saved);
    pressButton(TesselKeyboardUI::kFocusLoad);
    EXPECT_EQ(statusText(), "Loading keyboard scheme... complete.");
    EXPECT_EQ(windows.scriptedDialogs().requests().back().title, "Load Keyboard Scheme...");
    EXPECT_EQ(schemeText(), custom);
    EXPECT_EQ(schemeText(), readFile(saved));

    // A damaged file: the scheme as it was, the first slot.
    selectOctaveUp();
    press(kWinTab);
    press(kWinDown);
    ASSERT_EQ(keyboard().selectedSlot(), 1u);
    press(kWinTab);   // to the load button, from the list
    const std::filesystem::path damaged = scratch / "damaged.xml";
    std::ofstream(damaged) << "<scheme name=\"Half\">\n<key command=\"BaseOctaveUp\" shortcut=\"z\"/>\n<key comm";
    answerPath(damaged);
    press(kWinReturn);
    EXPECT_EQ(statusText(), "Loading keyboard scheme... failed.");
    EXPECT_EQ(schemeText(), custom);
    EXPECT_EQ(keyboard().selectedSlot(), 0u);

    // A folder that is not there: nothing written, "failed.".
    answerPath(scratch / "missing" / "mine.xml");
    press(kWinTab);
    press(kWinReturn);
    EXPECT_EQ(statusText(), "Saving keyboard scheme... failed.");
    EXPECT_FALSE(std::filesystem::exists(scratch / "missing"));

    // Cancelled both ways.
    press(kWinReturn);
    EXPECT_EQ(statusText(), "Saving keyboard scheme... cancelled.");
    press(kWinTab);
    press(kWinTab);
    press(kWinTab);
    press(kWinTab);
    press(kWinReturn);
    EXPECT_EQ(statusText(), "Loading keyboard scheme... cancelled.");
    EXPECT_EQ(schemeText(), custom);
}

TEST_F(KeyboardPageTest, ARebuildKeepsTheSelectionTheOpenBranchesAndTheScroll)
{
    openKeyboard();
    press(kWinRight);
    press(kWinRight);
    for (int i = 0; i < 5; ++i)
        press(kWinDown);
    press(kWinRight);   // "PatternEditor" opens: more rows than fit
    for (int i = 0; i < 30; ++i)
        press(kWinDown);
    TesselTreeview& tree = keyboard().tree();
    const std::string selected = keyboard().selectedPath();
    const int32_t first = tree.getFirstVisible();
    ASSERT_GT(first, 0);
    ASSERT_EQ(selected.rfind("PatternEditor.", 0), 0u);

    pressButton(TesselKeyboardUI::kFocusDefaults);
    EXPECT_EQ(keyboard().selectedPath(), selected);
    EXPECT_EQ(tree.getFirstVisible(), first);
    EXPECT_TRUE(tree.getRoot().expanded);
    EXPECT_TRUE(tree.getRoot().children[5]->expanded);
    EXPECT_FALSE(tree.getRoot().children[4]->expanded);
    EXPECT_EQ(tree.getSelection(), tree.visibleNodes()[static_cast<size_t>(first + tree.rowCount() - 1)]);
}

TEST_F(KeyboardPageTest, EveryCommandLabelEndsBeforeTheTreesScrollBar)
{
    openKeyboard();
    // Every branch opened with the arrows, from the root down to the last command.
    TesselTreeview& tree = keyboard().tree();
    press(kWinRight);   // the root opens
    for (int i = 0; i < 2000 && tree.getSelection() != tree.visibleNodes().back(); ++i) {
        if (tree.getSelection()->hasChildren() && !tree.getSelection()->expanded)
            press(kWinRight);
        press(kWinDown);
    }
    ASSERT_GT(tree.visibleNodes().size(), 100u);
    // Window points of the tree: the sub-page's corner plus its place there.
    const CRect& place = *tree.getRect();
    const int32_t left = kSubPage.x + place.left;
    const int32_t bar = left + place.width() - TesselTreeview::kScrollbarWidth;
    size_t longest = 0;
    for (int32_t first = 0; first < static_cast<int32_t>(tree.visibleNodes().size()); first += tree.rowCount()) {
        tree.setFirstVisible(first);
        keyboard().setDirty();
        idle();
        const Image& shown = editor->frame2()->getWindow()->image();
        for (int32_t row = 0; row < tree.rowCount(); ++row) {
            const size_t index = static_cast<size_t>(tree.getFirstVisible() + row);
            if (index >= tree.visibleNodes().size())
                break;
            longest = std::max(longest, tree.visibleNodes()[index]->label.size());
            const int32_t y = kSubPage.y + place.top + 2 + row * TesselTreeview::kRowHeight;
            // The column before the bar shows the row's band as at its left
            // edge: no glyph runs on under the bar.
            for (int32_t line = y; line < y + TesselTreeview::kRowHeight; ++line)
                ASSERT_EQ(shown.pixelAt(bar - 1, line), shown.pixelAt(left + 1, line))
                    << tree.visibleNodes()[index]->label;
        }
    }
    EXPECT_GT(longest, 30u);   // labels that once ran under the bar
    ASSERT_TRUE(makeFolders("screenshots"));
    tree.setFirstVisible(40);
    keyboard().setDirty();
    idle();
    EXPECT_TRUE(editor->frame2()->getWindow()->image().writePng("screenshots/keyboard_tree.png"));
}

TEST_F(KeyboardPageTest, LeavingPageEightEndsTheCaptureAndKeysGoToTheNewPage)
{
    openKeyboard();
    selectOctaveUp();
    press(kWinReturn);
    ASSERT_TRUE(keyboard().capturing());
    // The toolbar's sample list button.
    windows.click(*editor->toolbarFrame()->getWindow(), {40, 6});
    idle();
    ASSERT_EQ(pageNumber(), kSampleListPage);
    EXPECT_FALSE(keyboard().capturing());
    EXPECT_FALSE(windows.timerRunning(*editor->editorWindow(), TesselEditor::kTimerShortcut));
    EXPECT_TRUE(keyboard().isShown());
    EXPECT_FALSE(page().keyboardPanelWantsKeys());
    press(kWinF1 + 3);
    EXPECT_EQ(pageNumber(), kInstrumentListPage);
    EXPECT_TRUE(keyboard().pendingKey().isNone());
}

TEST_F(KeyboardPageTest, ClicksAndTheWheelChooseCommandsAndSlots)
{
    openKeyboard();
    // Rows are 8 pixels from y 25: a click on the selected root opens it.
    clickSubPage(40, 26);
    ASSERT_TRUE(keyboard().tree().getRoot().expanded);
    clickSubPage(40, 34);
    EXPECT_EQ(keyboard().selectedPath(), "HelpContext");
    // The wheel over the list turns the tree: down to the next command.
    windows.injectWheel(*editor->editorWindow(), {kSubPage.x + 400, kSubPage.y + 150}, -120);
    idle();
    EXPECT_EQ(keyboard().selectedPath(), "HelpKeyboard");

    // HelpKeyboard has one shortcut: a click on row 1 picks "(new shortcut)",
    // one above the first row (y < 89) or below the last none.
    ASSERT_EQ(keyboard().listRows().size(), 2u);
    clickSubPage(400, 89 + 15 + 3);
    EXPECT_EQ(keyboard().focusIndex(), TesselKeyboardUI::kFocusList);
    EXPECT_EQ(keyboard().selectedSlot(), 1u);
    clickSubPage(400, 80);
    EXPECT_EQ(keyboard().selectedSlot(), 1u);
    clickSubPage(400, 89 + 5 * 15);
    EXPECT_EQ(keyboard().selectedSlot(), 1u);
    clickSubPage(400, 92);
    EXPECT_EQ(keyboard().selectedSlot(), 0u);

    // The selected row's fill: the highlight while the list has the focus, dark grey otherwise.
    EXPECT_EQ(pixel(kSubPage.x + 560, kSubPage.y + 90), kHighlight);
    clickSubPage(40, 34);
    EXPECT_EQ(keyboard().focusIndex(), TesselKeyboardUI::kFocusTree);
    EXPECT_EQ(pixel(kSubPage.x + 560, kSubPage.y + 90), rgb(0x40, 0x40, 0x40));

    // The close box hides the page.
    clickSubPage(580, 6);
    EXPECT_FALSE(keyboard().isShown());
}

TEST_F(KeyboardPageTest, TheCountdownBarShrinksWithTheTicks)
{
    openKeyboard();
    selectOctaveUp();
    press(kWinReturn);
    runClock(20 * TesselKeyboardUI::kTickMs);
    ASSERT_EQ(keyboard().countdown(), 20);
    // 277 + 20 x 287 / 40 = 420: the bar's last column is 419.
    const int32_t y = kSubPage.y + 257;
    EXPECT_EQ(pixel(kSubPage.x + 300, y), kHighlight);
    EXPECT_EQ(pixel(kSubPage.x + 419, y), kHighlight);
    EXPECT_NE(pixel(kSubPage.x + 420, y), kHighlight);
    press(kWinF1);   // help comes from the road before the capture: F1 is captured
    EXPECT_EQ(keyboard().pendingKey().virtualKey, kVkF1);
    press(kWinEscape);
    press(kWinF1);
    EXPECT_EQ(viewedPageThenBack(), "PR_Keyboard.htm");
}

} // namespace
