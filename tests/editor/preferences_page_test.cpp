// Page 8 and its settings page driven by keys and clicks: the song's
// resolution with its timing lists, the sub-pages' routing, each setting's
// effect in the editor and the preferences, and saving them as default.

#include "preferences_fixture.h"

#include "engine/engine.h"
#include "engine/midi/midi_out.h"
#include "patterneditor/grid/font_metrics.h"
#include "platform/dialogs/message_box.h"
#include "platform/graphics/font_catalog.h"
#include "support/lock_held_elsewhere.h"
#include "support/short_edit_lock_wait.h"

#include <cstring>

namespace {

using namespace platform;

std::string lastBox;

void recordBox(const char* text, const char* /*caption*/, unsigned /*style*/)
{
    lastBox = text;
}

int count(const std::vector<std::string>& records, char type)
{
    int n = 0;
    for (const std::string& record : records)
        n += record[0] == type;
    return n;
}

// The pattern grid's cell width for the preferences' font as the grid makes it.
int32_t gridCellWidth(const TesselPreferences& preferences)
{
    TesselFontRecord font = preferences.font;
    settlePatternFontWidth(font, preferences.fontWidth);
    const auto made = FontCatalog::process().open(gridFontRequest(font));
    return made ? TesselFontMetrics::measure(*made).cellWidth : 0;
}

class PreferencesPageTest : public PreferencesTest {
protected:
    TesselSettingsUI& settings() { return page().settingsPage(); }
    // Page 8, then Tab to its settings button and Enter.
    void openSettings()
    {
        openPreferences();
        press(kWinTab);
        press(kWinReturn);
        ASSERT_TRUE(settings().isShown());
    }
    void tabTo(int32_t control)
    {
        while (settings().focusIndex() != control)
            press(kWinTab);
    }
};

TEST_F(PreferencesPageTest, TheSliderSetsTheSongsResolutionAndItsTimingLists)
{
    openPreferences();
    EXPECT_FALSE(page().wantsKeys());
    ASSERT_EQ(page().focusIndex(), TesselSongVariablesUI::kFocusResolution);
    ASSERT_EQ(engine().song.resolution, 6.0);
    press('3');
    press(kWinReturn);
    EXPECT_EQ(engine().song.resolution, 3.0);
    EXPECT_EQ(pluginPreferences().defaultResolution, 3);
    ASSERT_NE(engine().patternTiming[0], nullptr);
    ASSERT_GT(engine().patternTiming[0]->count, 0);
    EXPECT_EQ(engine().patternTiming[0]->entries()[0].speed, 3.0);
    EXPECT_EQ(engine().songTiming.entries()[0].speed, 3.0);

    // The value it has already: nothing changes, nothing but the keys is logged.
    pluginPreferences().defaultResolution = 77;
    idle();   // the slider's new value drawn and logged
    const std::vector<std::string> before = usageRecords(*editor);
    press('3');
    press(kWinReturn);
    const std::vector<std::string> after = usageRecords(*editor);
    EXPECT_EQ(pluginPreferences().defaultResolution, 77);
    EXPECT_EQ(after.size() - before.size(), static_cast<size_t>(count(after, 'k') - count(before, 'k')));

    // The song lock held elsewhere: the edit is skipped.
    {
        ShortEditLockWait shortWait;
        LockHeldElsewhere held(engine().song.songLock());
        press('9');
        press(kWinReturn);
    }
    EXPECT_EQ(engine().song.resolution, 3.0);

    // Tab and Down forward, Up and Shift+Tab back, over the four controls.
    const struct {
        std::initializer_list<uint8_t> modifiers;
        uint8_t key;
        int32_t focus;
    } steps[] = {{{}, kWinTab, 1}, {{}, kWinDown, 2}, {{}, kWinUp, 1}, {{kWinShift}, kWinTab, 0},
                 {{kWinShift}, kWinTab, 3}, {{}, kWinTab, 0}};
    for (const auto& step : steps) {
        chord(step.modifiers, step.key);
        EXPECT_EQ(page().focusIndex(), step.focus) << int(step.key);
    }
    // With no sub-page shown, global keys work here; context help is the page's.
    press(kWinF1);
    EXPECT_EQ(viewedPageThenBack(), "PR.htm");
    press(kWinF1 + 2);
    EXPECT_EQ(pageNumber(), kSampleListPage);
}

TEST_F(PreferencesPageTest, TheSettingsTakeEffectAtOnce)
{
    openSettings();
    EXPECT_TRUE(page().wantsKeys());
    CRect place;
    settings().getViewSize(place);
    EXPECT_EQ(place, CRect(54, 75, 54 + 586, 75 + 170));
    EXPECT_EQ(settings().focusIndex(), TesselSettingsUI::kRefresh);
    chord({kWinShift}, kWinTab);
    EXPECT_EQ(settings().focusIndex(), TesselSettingsUI::kDelay);
    press(kWinTab);
    EXPECT_EQ(settings().focusIndex(), TesselSettingsUI::kRefresh);

    // Refresh: "Faster" runs timer 1 every 25 ms, "Normal" stops it.
    Window& window = *editor->editorWindow();
    press(kWinRight);
    idle();
    EXPECT_STREQ(settings().refreshText(), "Faster");
    EXPECT_EQ(pluginPreferences().graphicsPriority, 1);
    EXPECT_TRUE(windows.timerRunning(window, TesselEditor::kTimerIdle));
    press(kWinRight);
    idle();
    EXPECT_STREQ(settings().refreshText(), "Normal");
    EXPECT_EQ(pluginPreferences().graphicsPriority, 0);
    EXPECT_FALSE(windows.timerRunning(window, TesselEditor::kTimerIdle));

    // Face: a 12-point bold italic font from the chooser.
    const int32_t cellBefore = gridCellWidth(pluginPreferences());
    const int32_t channelWidthBefore = patternPage()->grid().view.channelWidth;
    tabTo(TesselSettingsUI::kFace);
    FontChoice chosen;
    chosen.face = "DejaVu Sans";
    chosen.height = pointsToHeight(12);
    chosen.weight = 700;
    chosen.italic = true;
    windows.scriptedDialogs().answerFont(chosen);
    press(kWinReturn);
    EXPECT_EQ(windows.scriptedDialogs().requests().back().kind, HeadlessDialogs::Kind::Font);
    EXPECT_EQ(settings().fontBox().name, "DejaVu Sans, 12, Bold Italic");
    const TesselFontRecord& font = pluginPreferences().font;
    EXPECT_STREQ(font.faceName, "DejaVu Sans");
    EXPECT_EQ(font.height, 12);
    EXPECT_EQ(font.weight, 700);
    EXPECT_EQ(font.italic, 1);
    EXPECT_NE(patternPage()->grid().view.channelWidth, channelWidthBefore);   // the grid was laid out anew
    EXPECT_NE(gridCellWidth(pluginPreferences()), cellBefore);

    // Width: two digits make 05.
    press(kWinTab);
    press('0');
    press('5');
    EXPECT_EQ(pluginPreferences().fontWidth, 5);
    EXPECT_EQ(settings().sliderText(TesselSettingsUI::kWidth), "05");

    // Samples: the chosen folder with its '/', in the preference and the
    // editor; one too long for the preference keeps the old one.
    press(kWinTab);
    const std::string samples = (scratch / "samples").string();
    windows.scriptedDialogs().answerPaths({samples});
    press(kWinReturn);
    EXPECT_EQ(windows.scriptedDialogs().requests().back().title,
              "Select the directory which contains your samples...");
    EXPECT_STREQ(pluginPreferences().samplePath, (samples + "/").c_str());
    EXPECT_EQ(editor->sampleFolder(), samples + "/");
    windows.scriptedDialogs().answerPaths({"/" + std::string(300, 'x')});
    press(kWinReturn);
    EXPECT_STREQ(pluginPreferences().samplePath, (samples + "/").c_str());
    EXPECT_EQ(editor->sampleFolder(), samples + "/");
    EXPECT_EQ(settings().folderBox(TesselSettingsUI::kSamples).name, samples + "/");

    // Delay: typed, then its lowest value, "Auto", one block.
    tabTo(TesselSettingsUI::kDelay);
    press('1');
    press('0');
    press('0');
    EXPECT_EQ(pluginPreferences().midiDelay, 100);
    EXPECT_EQ(engine().midiOut->delay(), 100);
    press(kWinHome);
    EXPECT_EQ(pluginPreferences().midiDelay, -1);
    EXPECT_EQ(settings().sliderText(TesselSettingsUI::kDelay), "Auto");
    // -1 is one block: what the output makes of it.
    const int32_t oneBlock = engine().midiOut->delay();
    engine().midiOut->setDelay(-1);
    EXPECT_EQ(engine().midiOut->delay(), oneBlock);
    EXPECT_NE(oneBlock, 100);
    // Without a MIDI output only the preference changes.
    TesselMidiOut* out = engine().midiOut;
    engine().midiOut = nullptr;
    press(kWinEnd);
    engine().midiOut = out;
    EXPECT_EQ(pluginPreferences().midiDelay, 250);
    EXPECT_EQ(out->delay(), oneBlock);

    press(kWinEscape);
    EXPECT_FALSE(settings().isShown());
    EXPECT_EQ(pageNumber(), kPreferencesPage);
    press(kWinEscape);   // no sub-page: back to the pattern editor
    EXPECT_EQ(pageNumber(), kPatternEditorPage);
}

TEST_F(PreferencesPageTest, ClicksReachTheSubPagesWhereverThePageWasDragged)
{
    openPreferences();
    // The title strip drags the side pages; the sub-pages keep their place in page 8.
    Window& window = *editor->frame2()->getWindow();
    windows.injectButton(window, {300, 48}, kLeftButton, true);
    idle();
    windows.injectMove(window, {320, 58});
    idle();
    windows.injectButton(window, {320, 58}, kLeftButton, false);
    idle();
    CRect moved;
    page().getViewSize(moved);
    ASSERT_EQ(moved.left, 29);
    ASSERT_EQ(moved.top, 53);
    clickFrame(29 + 20, 53 + 30);   // the settings button
    ASSERT_TRUE(settings().isShown());
    CRect place;
    settings().getViewSize(place);
    EXPECT_EQ(place.left, 29 + 45);
    EXPECT_EQ(place.top, 53 + 32);

    // A click on the font box, in the sub-page's own coordinates, asks for a font.
    windows.scriptedDialogs().answerCancel();
    clickFrame(place.left + 200, place.top + 72);
    EXPECT_EQ(settings().focusIndex(), TesselSettingsUI::kFace);
    EXPECT_EQ(windows.scriptedDialogs().requests().back().kind, HeadlessDialogs::Kind::Font);
    // Its close box hides it; then the slider takes clicks: its track's start is 1.
    clickFrame(place.right - 6, place.top + 6);
    EXPECT_FALSE(settings().isShown());
    clickFrame(29 + 92 + 28, 53 + 84);
    EXPECT_EQ(page().focusIndex(), TesselSongVariablesUI::kFocusResolution);
    EXPECT_EQ(engine().song.resolution, 1.0);
}

TEST_F(PreferencesPageTest, SavingAsDefaultWritesTheFileOnceWithEverySetting)
{
    openSettings();
    press(kWinRight);   // Faster
    press(kWinTab);
    FontChoice chosen;
    chosen.face = "DejaVu Sans";
    chosen.height = pointsToHeight(14);
    chosen.weight = 700;
    windows.scriptedDialogs().answerFont(chosen);
    press(kWinReturn);
    press(kWinTab);
    press('0');
    press('7');
    press(kWinTab);
    const std::string samples = (scratch / "samples").string();
    windows.scriptedDialogs().answerPaths({samples});
    press(kWinReturn);
    tabTo(TesselSettingsUI::kDelay);
    press(kWinHome);
    press(kWinEscape);
    // A key bound on the keyboard page: Ctrl+J for "Context Help".
    chord({kWinShift}, kWinTab);
    ASSERT_EQ(page().focusIndex(), TesselSongVariablesUI::kFocusResolution);
    press('4');
    press(kWinReturn);
    press(kWinTab);
    press(kWinTab);
    press(kWinReturn);
    ASSERT_TRUE(keyboard().isShown());
    press(kWinRight);
    press(kWinRight);
    ASSERT_EQ(keyboard().selectedPath(), "HelpContext");
    press(kWinReturn);
    chord({kWinControl}, 'J');
    runClock(2100);
    press(kWinReturn);
    press(kWinEscape);
    ASSERT_FALSE(page().wantsKeys());

    // The save button held over three mouse calls: one write.
    const int preferencesRecords = count(usageRecords(*editor), 'p');
    Window& window = *editor->frame2()->getWindow();
    windows.injectButton(window, {kPage.x + 220, kPage.y + 30}, kLeftButton, true);
    idle();
    windows.injectMove(window, {kPage.x + 221, kPage.y + 30});
    idle();
    windows.injectMove(window, {kPage.x + 222, kPage.y + 31});
    idle();
    windows.injectButton(window, {kPage.x + 222, kPage.y + 31}, kLeftButton, false);
    idle();
    EXPECT_EQ(count(usageRecords(*editor), 'p'), preferencesRecords + 1);
    EXPECT_EQ(statusText(), "Quorbel preferences saved as default.");
    ASSERT_TRUE(std::filesystem::exists(scratch / "config" / "Quorbel" / "Quorbel.ini"));

    TesselPreferences loaded;
    TesselCommandScheme scheme("Default");
    scheme.resetToDefaults();
    loaded.load(scheme);
    EXPECT_EQ(loaded.graphicsPriority, 1);
    EXPECT_STREQ(loaded.font.faceName, "DejaVu Sans");
    EXPECT_EQ(loaded.font.height, 14);
    EXPECT_EQ(loaded.font.weight, 700);
    EXPECT_EQ(loaded.fontWidth, 7);
    EXPECT_STREQ(loaded.samplePath, (samples + "/").c_str());
    EXPECT_EQ(loaded.midiDelay, -1);
    EXPECT_EQ(loaded.defaultResolution, 4);
    const TesselCommand* help = scheme.findByPath("HelpContext");
    ASSERT_NE(help, nullptr);
    ASSERT_FALSE(help->shortcuts.empty());
    EXPECT_EQ(help->shortcuts.back().key.toString(), "Ctrl-j");

    // A settings folder that cannot be made: the box, and nothing written.
    setMessageBoxRecorder(recordBox);
    const std::filesystem::path plain = scratch / "plain-file";
    std::ofstream(plain) << "x";
    setenv("XDG_CONFIG_HOME", plain.c_str(), 1);
    ASSERT_EQ(page().focusIndex(), TesselSongVariablesUI::kFocusSave);
    press(kWinReturn);
    setMessageBoxRecorder(nullptr);
    EXPECT_EQ(lastBox, "Error saving preferences (Could not access AppData folder).");
    EXPECT_EQ(count(usageRecords(*editor), 'p'), preferencesRecords + 1);
}

} // namespace
