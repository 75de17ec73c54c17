// The sample page's mouse: the file buttons with their questions, the
// browser's button and close box, a double click on a file, the fields
// (stored only when the click changed them) and the wheel.

#include "sample_page_fixture.h"

namespace {

using namespace platform;

struct PagePoint {
    int32_t x;
    int32_t y;
};
constexpr PagePoint kBrowse{622, 268};
constexpr PagePoint kPaste{622, 308};
constexpr PagePoint kDelete{668, 308};
constexpr PagePoint kBrowserClose{683, 24};
constexpr PagePoint kFileName{340, 249};
constexpr PagePoint kGlobalVolumeLow{525, 247};
constexpr PagePoint kSquareWave{553, 289};
constexpr PagePoint kListRow3{100, 21 + 2 * 8 + 3};

TEST_F(SamplePageTest, PasteAndDeleteButtonsAskFirstOnAUsedSample)
{
    openPage();
    fillSlot(0, "Source", 50, 1, 16, 10.0f);
    fillSlot(1, "Target", 60, 1, 16, 10.0f);
    HeadlessDialogs& dialogs = windows.scriptedDialogs();
    chord({kWinMenu}, 'C');
    press(kWinDown);

    const struct {
        PagePoint button;
        int32_t answer;
        const char* question;
        bool changes;
    } steps[] = {
        {kPaste, kAnswerNo, "Overwrite current sample?", false},
        {kDelete, kAnswerNo, "Delete current sample?", false},
        {kPaste, kAnswerYes, "Overwrite current sample?", true},
        {kDelete, kAnswerYes, "Delete current sample?", true},
    };
    for (const auto& step : steps) {
        dialogs.answerButton(step.answer);
        const size_t asked = dialogs.requests().size();
        const std::string before = contents(1);
        clickPage(step.button.x, step.button.y);
        ASSERT_EQ(dialogs.requests().size(), asked + 1);
        EXPECT_EQ(dialogs.requests().back().text, step.question);
        EXPECT_EQ(dialogs.requests().back().title, "Quorbel");
        EXPECT_EQ(contents(1) != before, step.changes) << step.question;
        EXPECT_FALSE(editor->popupActive());
    }
    EXPECT_TRUE(slot(1).isEmpty());
    EXPECT_EQ(statusText(), "Sample deleted.");
    // Pasting onto the empty slot asks nothing.
    const size_t asked = dialogs.requests().size();
    clickPage(kPaste.x, kPaste.y);
    EXPECT_EQ(dialogs.requests().size(), asked);
    EXPECT_EQ(slot(1).nameText().substr(0, 6), "Source");
}

TEST_F(SamplePageTest, TheBrowserOpensFromItsButtonTakesADoubleClickAndClosesFromItsBox)
{
    ASSERT_TRUE(outside_tools::have({"sox"}));
    make("click.wav", "sox -n -r 8000 -b 8 -c 1 click.wav synth 0.05 square 100");
    openPage();
    clickPage(kBrowse.x, kBrowse.y);
    ASSERT_EQ(page()->listMode(), TesselSampleListUI::kBrowserMode);
    EXPECT_TRUE(page()->wantsKeys());
    TesselFileBox& box = page()->fileBox();
    for (int i = 0; i < 100 && box.firstScanPending(); ++i)
        idle();
    int32_t row = -1;
    for (int32_t i = 0; i < box.getList().entryCount(); ++i)
        if (box.getList().entry(i).name == "click.wav")
            row = i;
    ASSERT_GE(row, 0);
    // Two presses on the entry within the double-click time.
    const int32_t x = 320;
    const int32_t y = 30 + 12 + 8 * row + 3;
    clickPage(x, y);
    windows.click(*editor->frame2()->getWindow(), {kPageLeft + x, kPageTop + y});
    idle();
    EXPECT_EQ(statusText(), "Sample 'click.wav' loaded successfully.");
    EXPECT_EQ(slot(0).bits, 8);

    clickPage(kBrowserClose.x, kBrowserClose.y);
    EXPECT_EQ(page()->listMode(), TesselSampleListUI::kListMode);
    EXPECT_FALSE(page()->wantsKeys());
}

TEST_F(SamplePageTest, AClickStoresAFieldOnlyWhenItChangedItsControl)
{
    openPage();
    fillSlot(0, "Fields", 100, 1, 16, 10.0f);
    slot(0).filename = "a_file_name_longer_than_twelve.wav";
    const float* audio = slot(0).audio.buffers[0];

    clickPage(kFileName.x, kFileName.y);   // the caret moves: nothing is stored
    EXPECT_EQ(page()->focusedField(), TesselSampleFields::kFileName);
    press(kWinRight);
    EXPECT_EQ(slot(0).filename, "a_file_name_longer_than_twelve.wav");
    EXPECT_EQ(slot(0).audio.buffers[0], audio);
    press(kWinDelete);   // an edit stores what the box holds
    EXPECT_EQ(slot(0).filename, "a_ile_name_");

    clickPage(kGlobalVolumeLow.x, kGlobalVolumeLow.y);
    EXPECT_EQ(page()->focusedField(), TesselSampleFields::kGlobalVolume);
    EXPECT_LT(slot(0).globalVolume, 20);
    EXPECT_EQ(slot(0).globalVolume, page()->fields().control(TesselSampleFields::kGlobalVolume)->value);
    clickPage(kSquareWave.x, kSquareWave.y);
    EXPECT_EQ(slot(0).vibrato.waveform, 2);
}

TEST_F(SamplePageTest, TheWheelOverTheListStepsTheSample)
{
    openPage();
    clickPage(kListRow3.x, kListRow3.y);
    EXPECT_EQ(editor->currentSample(), 3);
    Window& window = *editor->frame2()->getWindow();
    const Point overList{kPageLeft + 100, kPageTop + 100};
    windows.injectWheel(window, overList, -120);
    idle();
    EXPECT_EQ(editor->currentSample(), 4);
    windows.injectWheel(window, overList, 120);
    windows.injectWheel(window, overList, 120);
    idle();
    EXPECT_EQ(editor->currentSample(), 2);
}

} // namespace
