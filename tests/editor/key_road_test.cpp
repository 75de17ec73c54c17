// Keys through the editor's road: page switches, live notes, mutes, the host's
// function keys, manual key mode and the press counts that the log records.

#include "editor/core/page_kinds.h"
#include "editor_fixture.h"
#include "gui/lists/drop_list.h"
#include "engine/engine.h"
#include "patterneditor/pattern_editor_page.h"
#include "shell/command_ids.h"


namespace {

using namespace platform;

constexpr uint8_t kF(int n)
{
    return static_cast<uint8_t>(kWinF1 + n - 1);
}

// The press counts of the usage log's key-down records of one virtual key.
std::vector<int> loggedPressCounts(TesselEditor& editor, uint8_t virtualKey)
{
    std::vector<int> counts;
    // 'k': character, modifiers, virtual key, printable, key up, press count.
    for (const std::string& record : usageRecords(editor))
        if (record[0] == 'k' && static_cast<uint8_t>(record[3]) == virtualKey && record[5] == 0)
            counts.push_back(static_cast<uint8_t>(record[6]));
    return counts;
}

TEST_F(EditorTest, PageKeysSwitchPagesButtonsAndTheFrame)
{
    open();
    dismissSplash();
    const TesselPages& pages = editor->pages();
    const struct {
        uint8_t key;
        int32_t page;
        TesselUI* shown;
    } steps[] = {
        {kF(3), kSampleListPage, pages.sampleList},   {kF(4), kInstrumentListPage, pages.instrumentList},
        {kF(11), kOrderListPage, pages.orderList},     {kF(12), kPreferencesPage, pages.preferences},
        {kWinEscape, kPatternEditorPage, pages.patternEditor}, {kF(5), kInfoPage, pages.info},
    };
    for (const auto& step : steps) {
        TesselUI* before = editor->currentPage();
        press(step.key);
        EXPECT_EQ(pageNumber(), step.page) << int(step.key);
        EXPECT_EQ(editor->currentPage(), step.shown);
        EXPECT_EQ(toolbarPageDown(), step.page == kPatternEditorPage ? 0 : step.page);
        EXPECT_TRUE(editor->frame2()->isChild(step.shown));
        if (before != pages.patternEditor) {
            EXPECT_FALSE(editor->frame2()->isChild(before));
        }
        EXPECT_TRUE(step.shown->isFocused());
    }
    // F5 again on the info page: the page gets its command, no switch.
    press(kF(5));
    EXPECT_EQ(pageNumber(), kInfoPage);
    EXPECT_EQ(editor->currentPage(), pages.info);
    EXPECT_EQ(loggedPressCounts(*editor, kVkF1 + 4), (std::vector<int>{0, 1}));
}

TEST_F(EditorTest, AHeldKeyKeepsItsFirstPressCount)
{
    open();
    dismissSplash();
    windows.injectKey(kF(5), true);
    for (int i = 0; i < 3; ++i)
        windows.injectKey(kF(5), true, 1, true);
    windows.injectKey(kF(5), false);
    idle();
    EXPECT_EQ(pageNumber(), kInfoPage);
    EXPECT_EQ(loggedPressCounts(*editor, kVkF1 + 4), (std::vector<int>{0, 0, 0, 0}));
    press(kF(5));   // a real second press
    EXPECT_EQ(loggedPressCounts(*editor, kVkF1 + 4).back(), 1);
}

TEST_F(EditorTest, WithCapsLockALetterHoldsItsNoteUntilItsRelease)
{
    open();
    dismissSplash();
    press(kWinCapital);
    ASSERT_TRUE(editor->capsLock());
    windows.injectKey('Q', true);
    idle();
    EXPECT_NE(engine().heldNotes[1][60], 0);   // octave 4, instrument 1
    EXPECT_EQ(engine().heldNotes[1][60], 1);   // on the pattern editor's cursor channel 0
    windows.injectKey('Q', false);
    idle();
    EXPECT_EQ(engine().heldNotes[1][60], 0);
    EXPECT_EQ(engine().song.patterns[0].findRow(0, 0), nullptr);   // played, not written

    // An arrow still reaches the page; '>' and '<' keep the instrument in 1..99.
    press(kWinDown);
    EXPECT_EQ(patternPage()->getCurrentRow(), 1);
    chord({kWinShift}, kWinOemComma);   // '<' at instrument 1
    EXPECT_EQ(editor->currentInstrument(), 1);
    chord({kWinShift}, kWinOemPeriod);
    EXPECT_EQ(editor->currentInstrument(), 2);
    press(kWinDivide);
    EXPECT_EQ(editor->octave(), 3);
    press(kWinCapital);
    EXPECT_FALSE(editor->capsLock());
}

TEST_F(EditorTest, AltWithAFunctionKeyTogglesThatChannelsMute)
{
    open();
    dismissSplash();
    chord({kWinMenu}, kF(3));
    EXPECT_EQ(engine().song.channels[2].mute, 1);
    chord({kWinMenu}, kF(3));
    EXPECT_EQ(engine().song.channels[2].mute, 0);
    EXPECT_TRUE(editor->executeCommand(cmd::pattern_editor::kMuteChannel8));
    EXPECT_EQ(engine().song.channels[7].mute, 1);
}

TEST_F(EditorTest, ShiftWithAFunctionKeyGoesToTheHostsWindow)
{
    open();
    dismissSplash();
    chord({kWinShift}, kF(5));
    ASSERT_EQ(windows.keysSent().size(), 1u);
    EXPECT_EQ(windows.keysSent()[0].window, host->handle());
    EXPECT_EQ(windows.keysSent()[0].windowsKey, kF(5));
    EXPECT_EQ(windows.keysSent()[0].modifiers, kShiftHeld);
    EXPECT_EQ(pageNumber(), kPatternEditorPage);
}

// The pitch written at a row of channel 0 of pattern 0; -1 when none.
int pitchAt(TesselEngine& engine, int row)
{
    const TesselRow* found = engine.song.patterns[0].findRow(0, row);
    return found ? found->pitch : -1;
}

TEST_F(EditorTest, ManualKeyModeTakesKeysOnceAndCtrlAltKEndsIt)
{
    open();
    dismissSplash();
    editor->setKeyMode(1, false);
    EXPECT_EQ(platform::statusText(), "Manual key mode enabled (use Ctrl-Alt-K to toggle).");
    press('Q');
    EXPECT_EQ(pitchAt(engine(), 0), 60);
    // The keys the host forwards are the ones a hook on its thread would
    // have taken: they enter notes in this mode too.
    VstKeyCode code{'w', 0, 0};
    editor->onKeyDown(code);
    EXPECT_EQ(pitchAt(engine(), 1), 62);

    chord({kWinControl, kWinMenu}, 'K');
    EXPECT_EQ(editor->getKeyMode(), 0);
    EXPECT_EQ(platform::statusText(), "Manual key mode disabled (use Ctrl-Alt-K to toggle).");
    press('E');
    EXPECT_EQ(pitchAt(engine(), 2), 64);
    dispatch(effEditKeyDown, 'r');
    EXPECT_EQ(pitchAt(engine(), 3), 65);
    EXPECT_EQ(editor->previousKey().printable, 'r');
    chord({kWinControl, kWinMenu}, 'K');
    EXPECT_EQ(editor->getKeyMode(), 1);
}

TEST_F(EditorTest, HostKeyCallsBuildThePrintableCharacter)
{
    open();
    dismissSplash();
    const struct {
        int32_t character;
        uint8_t modifiers;
        bool caps;
        uint8_t printable;
    } cases[] = {
        {'a', 0, false, 'a'},   {'a', kModShift, false, 'A'}, {'a', 0, true, 'A'},
        {'a', kModShift, true, 'a'}, {'1', kModShift, false, '!'}, {'1', 0, false, '1'},
        {0, 0, false, 0},
    };
    for (const auto& c : cases) {
        windows.setToggles(c.caps, false);
        // No note plays for these: the page gets each one.
        editor->setKeyMode(0, true);
        VstKeyCode code{c.character, c.character == 0 ? uint8_t(kVkF1 + 8) : uint8_t(0), c.modifiers};
        const size_t asked = windows.scriptedDialogs().requests().size();
        editor->onKeyDown(code);
        EXPECT_EQ(editor->previousKey().printable, c.printable) << char(c.character);
        if (c.character == 0) {
            ASSERT_EQ(windows.scriptedDialogs().requests().size(), asked + 1);   // F9: LoadModule
            EXPECT_EQ(windows.scriptedDialogs().requests().back().title, "Open Module...");
        }
    }
}

TEST_F(EditorTest, TheToolbarsControlsKeepInstrumentAndOctaveInRange)
{
    open();
    dismissSplash();
    struct Control : VSTGUI::CControl {
        Control(int32_t tag, float value) : CControl(CRect(0, 0, 10, 10), nullptr, tag, nullptr)
        {
            setValue(value);
        }
        void draw(CDrawContext*) override {}
    };
    const struct {
        int32_t tag;
        float value;
        int32_t instrument;
        int32_t octave;
    } cases[] = {
        {TesselEditor::kInstrumentTag, 12.0f, 12, 4},  {TesselEditor::kInstrumentTag, 150.0f, 12, 4},
        {TesselEditor::kInstrumentTag, 0.0f, 12, 4},   {TesselEditor::kOctaveTag, 7.0f, 12, 7},
        {TesselEditor::kOctaveTag, 9.0f, 12, 7},       {TesselEditor::kOctaveTag, -1.0f, 12, 7},
    };
    for (const auto& c : cases) {
        auto* control = new Control(c.tag, c.value);
        editor->valueChanged(nullptr, control);
        control->forget();
        EXPECT_EQ(editor->currentInstrument(), c.instrument);
        EXPECT_EQ(editor->octave(), c.octave);
    }
    EXPECT_EQ(patternPage()->octaveList()->currentValue(), 7);
}

TEST_F(EditorTest, HelpKeysAndHotKeys)
{
    open();
    dismissSplash();
    TesselUI* help = editor->pages().help;
    chord({kWinControl}, kWinF1);
    EXPECT_TRUE(help->isShown());
    press(kWinEscape);
    settle(40, 25);
    EXPECT_FALSE(help->isShown());
    EXPECT_EQ(pageNumber(), kPatternEditorPage);

    chord({kWinShift}, kWinF1);   // HelpKeyboard: the popup 10 right of and 37 below the window
    settle();
    const platform::Point origin = editor->editorWindow()->screenOrigin();
    ASSERT_EQ(popupPage(), "Keys_PE_1.htm");
    EXPECT_EQ(editor->helpPopup()->window()->rect().left, origin.x + 10);
    EXPECT_EQ(editor->helpPopup()->window()->rect().top, origin.y + 37);
    press(kWinEscape);
    EXPECT_EQ(popupPage(), "");
    EXPECT_FALSE(editor->popupActive());

    chord({kWinControl, kWinMenu}, 'T');   // a hot key, wherever the focus is
    EXPECT_EQ(pluginPreferences().alwaysOnTop, 1);
    EXPECT_TRUE(windows.keptAbove(*editor->editorWindow()));
    chord({kWinControl, kWinMenu}, 'T');
    EXPECT_EQ(pluginPreferences().alwaysOnTop, 0);
    chord({kWinControl, kWinMenu}, kF(2));   // the focus toggle hides the focused window
    EXPECT_FALSE(editor->isWindowVisible());
    chord({kWinControl, kWinMenu}, 'R');
    EXPECT_TRUE(editor->isWindowVisible());
}

} // namespace
