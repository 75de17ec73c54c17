// The host's frame window on the headless window layer, with a plug-in of
// the test's own that puts a toolbar and an editor window into it.

#include "host/main_window.h"

#include "fake_editor.h"
#include "gui/dialogs/base_dialog.h"
#include "host/host_bitmaps.h"
#include "host/host_dialogs.h"
#include "platform/headless/headless_window.h"

#include <gtest/gtest.h>

#include <functional>

using namespace host;
using platform::Point;
using platform::Rect;

namespace {

struct RecordedActions : MainWindowActions {
    void openAudioSettings(platform::Window& owner) override
    {
        ++settings;
        if (whileOpen)
            whileOpen(owner);
    }
    void startExport(platform::Window&, int mode) override { exports.push_back(mode); }
    bool confirmQuit(platform::Window&) override
    {
        ++questions;
        return answer;
    }
    std::function<void(platform::Window&)> whileOpen;
    int settings = 0;
    std::vector<int> exports;
    int questions = 0;
    bool answer = false;
};

// Equal pixels of an image area and a bitmap area of one size.
bool samePixels(const platform::Image& image, Rect area, const platform::Image& bitmap, Point from)
{
    for (int y = 0; y < area.height(); ++y)
        for (int x = 0; x < area.width(); ++x)
            if (!(image.pixelAt(area.left + x, area.top + y) == bitmap.pixelAt(from.x + x, from.y + y)))
                return false;
    return true;
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        state.effect = &plugin.effect;
        main = std::make_unique<MainWindow>(windows, state, actions);
        ::testing::internal::CaptureStdout();
        const bool created = main->create();
        printed = ::testing::internal::GetCapturedStdout();
        ASSERT_TRUE(created) << printed;
        frame = main->window();
        tick();
    }

    void TearDown() override
    {
        ::testing::internal::CaptureStdout();
        main.reset();
        ::testing::internal::GetCapturedStdout();
    }

    // One timer period, and what it caused.
    void tick(uint32_t ms = kIdlePeriodMs)
    {
        windows.advance(ms);
        windows.pump();
        windows.pump();
    }

    void click(Point at)
    {
        windows.click(*frame, at);
        windows.pump();
    }

    void shift(bool down) { windows.injectKey(platform::kWinShift, down); }

    platform::HeadlessWindowSystem windows;
    hosttest::FakeEditorPlugin plugin{windows};
    HostState state;
    RecordedActions actions;
    std::unique_ptr<MainWindow> main;
    platform::Window* frame = nullptr;
    std::string printed;
};

} // namespace

TEST_F(MainWindowTest, ToolbarOnTopTheEditorFillingTheMdiClientBelow)
{
    EXPECT_EQ(printed, "HOST> Open editor...\nHOST> Get editor rect..\n");
    EXPECT_EQ(frame->rect().width(), 893);
    EXPECT_EQ(frame->rect().height(), 621);
    EXPECT_EQ(windows.title(*frame), "Quorbel");
    EXPECT_EQ(frame->className(), "QuorbelHost");
    EXPECT_EQ(windows.iconSize(*frame), (Point{32, 32}));
    ASSERT_NE(plugin.toolbar, nullptr);
    EXPECT_EQ(plugin.toolbar->parent(), frame);
    EXPECT_EQ(plugin.toolbar->rect(), (Rect{0, 0, 493, 36}));

    platform::Window* client = main->mdiClient();
    EXPECT_EQ(client->parent(), frame);
    EXPECT_EQ(client->className(), "MDIClient");
    EXPECT_EQ(client->rect(), (Rect{0, 36, 893, 621}));
    // The first idle made the editor window; the host made it fill its parent.
    EXPECT_GE(plugin.idles, 1);
    ASSERT_NE(plugin.editorWindow, nullptr);
    EXPECT_EQ(main->editorWindow(), plugin.editorWindow.get());
    EXPECT_EQ(plugin.editorWindow->rect(), (Rect{0, 0, 893, 585}));

    frame->setRect({0, 0, 1000, 700});
    EXPECT_EQ(client->rect(), (Rect{0, 36, 1000, 700}));
    EXPECT_EQ(plugin.editorWindow->rect(), (Rect{0, 0, 1000, 664}));

    // Every timer tick idles the editor.
    const int idles = plugin.idles;
    for (int i = 0; i < 5; ++i)
        tick();
    EXPECT_EQ(plugin.idles, idles + 5);
}

TEST_F(MainWindowTest, SliderClicksAndDragsSetTheVolumeAndDrawTheTrack)
{
    const platform::Image slider = loadHostBitmap(kVolumeSliderBitmap);
    const int x0 = main->caption().slider().left;
    EXPECT_EQ(x0, 893 - 144);
    const Rect track = platform::rectOfSize(x0, 10, 77, 18);
    // Full at the start, as the volume is.
    EXPECT_TRUE(samePixels(frame->image(), track, slider, {0, 0}));

    struct Case {
        int x;
        float volume;
        int filled;
    };
    for (const Case c : {Case{x0 + 1, 0.0f, 0}, Case{x0 + 76, 1.0f, 77}, Case{x0 + 1, 0.0f, 0},
                         Case{x0 + 77, 1.0f, 77}, Case{x0 + 38, 37.0f / 75.0f, 37}}) {
        click({c.x, 20});
        EXPECT_EQ(state.masterVolume.load(), c.volume) << c.x - x0;
        EXPECT_TRUE(samePixels(frame->image(), platform::rectOfSize(x0, 10, c.filled, 18), slider, {0, 0}))
            << c.x - x0;
        EXPECT_TRUE(samePixels(frame->image(), Rect{x0 + c.filled, 10, x0 + 77, 28}, slider, {c.filled, 18}))
            << c.x - x0;
    }

    // A drag with the button held follows the pointer while it is over the track.
    windows.injectButton(*frame, {x0 + 1, 12}, platform::kLeftButton, true);
    windows.injectMove(*frame, {x0 + 16, 12});
    windows.pump();
    EXPECT_EQ(state.masterVolume.load(), 15.0f / 75.0f);
    windows.injectMove(*frame, {x0 - 30, 12});
    windows.injectButton(*frame, {x0 - 30, 12}, platform::kLeftButton, false);
    windows.injectMove(*frame, {x0 + 60, 12});
    windows.pump();
    EXPECT_EQ(state.masterVolume.load(), 15.0f / 75.0f);
}

TEST_F(MainWindowTest, ShiftFunctionKeysAreTheHostsAndOtherKeysGoToTheEditor)
{
    frame->takeFocus();
    shift(true);
    windows.injectKey(platform::kWinF12, true);
    windows.injectKey(platform::kWinF1 + 9, true);
    windows.injectKey(platform::kWinF1 + 10, true);
    windows.injectKey(platform::kWinF1 + 1, true);   // Shift+F2: the editor's
    shift(false);
    windows.injectKey(platform::kWinF1 + 9, true);   // F10 alone: the editor's
    windows.injectKey('A', true);
    windows.injectKey('A', false);
    tick();
    EXPECT_EQ(actions.settings, 1);
    EXPECT_EQ(actions.exports, (std::vector<int>{1, 0}));

    std::vector<std::pair<uint8_t, bool>> heard;
    for (const auto& m : plugin.keys) {
        EXPECT_TRUE(m.key.sent);
        heard.emplace_back(m.key.windowsKey, m.kind == platform::MessageKind::KeyDown);
    }
    const std::vector<std::pair<uint8_t, bool>> expected{
        {platform::kWinShift, true}, {platform::kWinF1 + 1, true}, {platform::kWinShift, false},
        {platform::kWinF1 + 9, true}, {'A', true}, {'A', false}};
    EXPECT_EQ(heard, expected);

    // Keys the editor posts here: F10 to F12 with their Shift reach the
    // host; nothing goes back to the editor.
    plugin.keys.clear();
    platform::WindowMessage posted;
    posted.kind = platform::MessageKind::KeyDown;
    posted.input.bits = platform::kShiftHeld;
    for (uint8_t f = 1; f < 12; ++f) {
        posted.key.windowsKey = static_cast<uint8_t>(platform::kWinF1 + f);
        ASSERT_TRUE(windows.forwardKey(*frame, posted));
    }
    tick();
    EXPECT_EQ(actions.settings, 2);
    EXPECT_EQ(actions.exports, (std::vector<int>{1, 0, 1, 0}));
    EXPECT_TRUE(plugin.keys.empty());
}

TEST_F(MainWindowTest, CaptionButtonsOpenTheSettingsAndExport)
{
    const CaptionLayout caption = main->caption();
    click({caption.settings().left, caption.settings().top});
    click({caption.settings().right, caption.settings().bottom});   // edges count
    click({caption.exportButton().left + 9, 19});
    shift(true);
    click({caption.exportButton().right, 19});
    shift(false);
    click({caption.exportButton().right + 1, 19});   // beside it: nothing
    EXPECT_EQ(actions.settings, 2);
    EXPECT_EQ(actions.exports, (std::vector<int>{1, 0}));
}

TEST_F(MainWindowTest, QuitAnsweredNoKeepsTheWindowYesClosesTheEditor)
{
    windows.injectClose(*frame);
    tick();
    EXPECT_EQ(actions.questions, 1);
    EXPECT_TRUE(main->isOpen());
    EXPECT_TRUE(windows.timerRunning(*frame, kIdleTimer));
    const int idles = plugin.idles;
    tick();
    EXPECT_GT(plugin.idles, idles);

    actions.answer = true;
    windows.injectClose(*frame);
    ::testing::internal::CaptureStdout();
    tick();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "HOST> Close editor..\n");
    EXPECT_FALSE(main->isOpen());
    EXPECT_EQ(plugin.closes, 1);
    EXPECT_FALSE(windows.timerRunning(*frame, kIdleTimer));
}

TEST_F(MainWindowTest, MaximisedTheCaptionGoesAndTheStripTakesTheSystemButtons)
{
    frame->setMaximised(true);
    tick();
    EXPECT_FALSE(windows.decorated(*frame));
    const CaptionLayout caption = main->caption();
    ASSERT_TRUE(caption.maximised);
    const int w = frame->rect().width();
    EXPECT_EQ(caption.settings().left, w - 89);
    EXPECT_EQ(caption.exportButton().left, w - 115);
    EXPECT_EQ(caption.slider().left, w - 200);
    const platform::Image buttons = loadHostBitmap(kSystemButtonsBitmap);
    EXPECT_TRUE(samePixels(frame->image(), platform::rectOfSize(w - 56, 2, 50, 14), buttons, {0, 0}));

    click({w - 56 + 5, 8});
    EXPECT_TRUE(windows.minimised(*frame));
    click({w - 56 + 40, 8});
    EXPECT_EQ(actions.questions, 1);
    // 20 pixels in: restore, and the caption comes back.
    click({w - 56 + 20, 8});
    tick();
    EXPECT_FALSE(frame->isMaximised());
    EXPECT_TRUE(windows.decorated(*frame));
    EXPECT_FALSE(main->caption().maximised);
    EXPECT_EQ(frame->rect().width(), 893);
}

TEST_F(MainWindowTest, TheEditorKeepsIdlingWhileADialogIsOpen)
{
    // A dialog that lets the clock run for a while, then ends.
    struct Waiting : CBaseDialog {
        Waiting(platform::Window* owner, platform::HeadlessWindowSystem& windows)
            : CBaseDialog(kAudioSettingsDialog, owner), windows(windows)
        {
        }
        void onModalPass() override
        {
            windows.advance(kIdlePeriodMs);
            if (++passes == 20)
                onCancel();
        }
        platform::HeadlessWindowSystem& windows;
        int passes = 0;
    };
    int idlesDuring = 0;
    actions.whileOpen = [&](platform::Window& owner) {
        const int before = plugin.idles;
        Waiting dialog(&owner, windows);
        EXPECT_EQ(dialog.doModalWithInstance(&hostDialogs()), IDCANCEL);
        idlesDuring = plugin.idles - before;
    };
    windows.click(*frame, {main->caption().settings().left + 4, 14});
    windows.pump();
    EXPECT_EQ(actions.settings, 1);
    EXPECT_GE(idlesDuring, 19);
}

TEST(MainWindowRefusal, APlugInWithoutAnEditorSaysSoAndMakesNoWindow)
{
    platform::HeadlessWindowSystem windows;
    hosttest::FakeEditorPlugin plugin(windows);
    plugin.effect.flags = 0;
    HostState state;
    state.effect = &plugin.effect;
    RecordedActions actions;
    MainWindow main(windows, state, actions);
    ::testing::internal::CaptureStdout();
    EXPECT_FALSE(main.create());
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "This plug does not have an editor!\n");
    EXPECT_EQ(main.window(), nullptr);
    EXPECT_EQ(plugin.opens, 0);
    state.effect = nullptr;
    EXPECT_FALSE(main.create());
}
