// The pattern options panel through the editor's keys: its focus ring, a
// typed label, slider keys and Enter applied with one checkpoint and undone
// byte for byte, Escape, the pattern's own number as its label, and the
// song lock held elsewhere.
#include "pattern_page_fixture.h"

#include "patterneditor/menus/pattern_options_ui.h"
#include "patterneditor/undo/undo_history.h"
#include "support/short_edit_lock_wait.h"

#include <atomic>
#include <thread>

namespace {

using namespace platform;

class PatternOptionsTest : public PatternPageTest {
protected:
    TesselPatternOptionsUI& panel() { return dynamic_cast<TesselPatternOptionsUI&>(page().optionsPanel()); }
    void openPanel()
    {
        press(kWinF1 + 1);   // F2
        ASSERT_TRUE(panel().isShown());
    }
    void shift(uint8_t key) { chord({kWinShift}, key); }
    // Empties the label box (the caret starts at its left end).
    void clearLabel()
    {
        for (int i = 0; i < 3; ++i)
            press(kWinDelete);
    }
    std::string lastLabel(int slot = 0) { return page().undoPanel().history().label(slot); }
};

TEST_F(PatternOptionsTest, FocusRunsTheSlidersThenTheTextBoxAndStartsOnTheTextBox)
{
    openPanel();
    const struct {
        uint8_t key;
        bool shifted;
        int32_t focus;
    } steps[] = {
        {kWinTab, false, 0}, {kWinTab, true, 3}, {kWinDown, false, 0}, {kWinDown, false, 1},
        {kWinUp, false, 0},  {kWinUp, false, 3}, {kWinTab, false, 0}, {kWinTab, false, 1},
        {kWinTab, false, 2}, {kWinTab, false, 3},
    };
    EXPECT_EQ(panel().focusIndex(), TesselPatternOptionsUI::kFocusTextBox);
    for (const auto& step : steps) {
        if (step.shifted)
            shift(step.key);
        else
            press(step.key);
        EXPECT_EQ(panel().focusIndex(), step.focus) << int(step.key) << (step.shifted ? " shifted" : "");
    }
    saveShot("pattern_options.png");
    // A click on the length slider's track gives it the focus and a value.
    const CRect& track = *panel().slider(2).getRect();
    windows.click(pagesWindow(), {track.right - 4, (track.top + track.bottom) / 2});
    idle();
    EXPECT_EQ(panel().focusIndex(), 2);
    EXPECT_GT(panel().slider(2).value, 200);
    EXPECT_EQ(pattern().length(), 64);   // not applied before Enter
    // F1 opens the panel's help page; the panel stays.
    press(kWinF1);
    EXPECT_EQ(viewedPageThenBack(), "PE_Modes.htm");
    EXPECT_TRUE(panel().isShown());
}

TEST_F(PatternOptionsTest, EnterAppliesLabelStepsAndLengthWithOneCheckpointThatUndoes)
{
    writable(3, 40).pitch = 50;   // lost by the shorter pattern, back with the undo
    const std::string start = markup();
    const std::string before = lastLabel();
    openPanel();
    clearLabel();
    type("ab");
    press(kWinTab);   // minor step 4 -> 6
    press(kWinRight);
    press(kWinRight);
    press(kWinTab);   // major step 16 -> 21
    shift(kWinRight);
    press(kWinTab);   // length 64 -> 16, typed
    type("16");
    press(kWinReturn);
    EXPECT_FALSE(panel().isShown());
    EXPECT_EQ(std::string(pattern().label), "ab");
    EXPECT_EQ(pattern().minorStep, 6);
    EXPECT_EQ(pattern().majorStep, 21);
    EXPECT_EQ(pattern().length(), 16);
    EXPECT_EQ(lastLabel(), "000: Pattern Options");
    EXPECT_EQ(lastLabel(1), before);
    EXPECT_LE(view().cursorRow, 15);

    control(kWinBack);   // the undo history, its newest line restored
    press(kWinReturn);
    EXPECT_EQ(markup(), start);
}

TEST_F(PatternOptionsTest, EscapeChangesNothingAndTheOwnNumberIsNoLabel)
{
    const std::string start = markup();
    const std::string before = lastLabel();
    openPanel();
    clearLabel();
    type("xy");
    press(kWinTab);
    press(kWinEnd);
    press(kWinEscape);
    EXPECT_FALSE(panel().isShown());
    EXPECT_EQ(markup(), start);
    EXPECT_EQ(lastLabel(), before);

    pattern().setLabel("xy");
    openPanel();
    EXPECT_EQ(panel().labelBox().name, "xy");
    clearLabel();
    type("000");
    press(kWinReturn);
    EXPECT_EQ(std::string(pattern().label), "");
    EXPECT_EQ(markup(), start);
}

TEST_F(PatternOptionsTest, WithTheSongLockHeldElsewhereLabelAndStepsApplyButNotTheLength)
{
    openPanel();
    clearLabel();
    type("lk");
    press(kWinTab);
    press(kWinRight);
    press(kWinTab);
    press(kWinTab);
    press(kWinHome);   // length 1
    ShortEditLockWait shortWait;
    std::atomic<bool> held{false};
    std::atomic<bool> release{false};
    std::thread other([&] {
        song().songLock().lock();
        held = true;
        while (!release)
            std::this_thread::yield();
        song().songLock().unlock();
    });
    while (!held)
        std::this_thread::yield();
    press(kWinReturn);   // each edit waits out the lock's time-out
    release = true;
    other.join();
    EXPECT_EQ(std::string(pattern().label), "lk");
    EXPECT_EQ(pattern().minorStep, 5);
    EXPECT_EQ(pattern().length(), 64);
}

} // namespace
