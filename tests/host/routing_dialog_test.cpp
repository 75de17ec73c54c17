// The "Audio Settings" dialog on the headless window layer over the fake
// audio system, worked by a user script: one step a pass of its modal loop.

#include "host/audio/routing_dialog.h"

#include "fake_audio.h"
#include "gui/dialogs/dialog_view.h"
#include "gui/frame/frame.h"
#include "host/host_dialogs.h"
#include "host_fixture.h"
#include "platform/headless/headless_window.h"
#include "platform/system/folders.h"

#include <gtest/gtest.h>

#include <functional>

using namespace host;

namespace {

class ScriptedRoutingDlg : public RoutingDlg {
public:
    using Step = std::function<void(ScriptedRoutingDlg&)>;
    using RoutingDlg::RoutingDlg;

    std::vector<Step> steps;
    DialogView& items() { return *view(); }
    const DialogItem& item(int32_t id) { return *view()->item(id); }
    platform::Window& inner() { return *view()->getFrame()->getWindow(); }

protected:
    void onModalPass() override
    {
        if (next < steps.size())
            steps[next++](*this);
        else
            onCancel();
    }

private:
    size_t next = 0;
};

class RoutingDialogTest : public hosttest::HostStateTest {
protected:
    void SetUp() override
    {
        HostStateTest::SetUp();
        audio = hosttest::makeFakeAudio();
        audio.apiDefaults = {0, 2};
        state.settings.apiName = "ALSA";
        state.settings.deviceName = "Speakers (USB Audio)";
        state.settings.routes = {1, 2, 0, 0, 0, 0};
        platform::WindowOptions options;
        options.kind = platform::WindowOptions::Kind::TopLevel;
        options.rect = {0, 0, 893, 621};
        owner = windows.createWindow(options);
    }

    intptr_t run(std::vector<ScriptedRoutingDlg::Step> steps)
    {
        ScriptedRoutingDlg dialog(owner.get(), audio, output, state);
        dialog.steps = std::move(steps);
        const intptr_t result = dialog.doModalWithInstance(&hostDialogs());
        if (result == IDOK)
            dialog.model().accept();
        return result;
    }

    void click(ScriptedRoutingDlg& d, int32_t id)
    {
        const CRect& r = d.item(id).rect;
        windows.click(d.inner(), {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    }

    hosttest::FakeAudioSystem audio;
    AudioOutput output{audio, state};
    platform::HeadlessWindowSystem windows;
    std::unique_ptr<platform::Window> owner;
};

} // namespace

TEST_F(RoutingDialogTest, ShowsTheSettingsAndAppliesWhatTheUserChose)
{
    ASSERT_TRUE(output.openAudioStream());
    std::string title;
    const intptr_t result = run({
        [&](ScriptedRoutingDlg& d) {
            title = windows.title(*d.window());
            DialogView& v = d.items();
            EXPECT_EQ(v.item(kDriverList)->entries, (std::vector<std::string>{"ALSA", "JACK"}));
            EXPECT_EQ(v.text(kDeviceList), "Speakers (USB Audio)");
            EXPECT_EQ(v.item(kRateList)->entries.size(), 5u);
            EXPECT_EQ(v.text(kFrontRightList), "Speakers 2");
            EXPECT_EQ(v.text(kLatencyText), "12 ms");   // the running stream's own
            EXPECT_FALSE(v.isEnabled(kControlPanelButton));
            for (int32_t id : {kFrontLeftList, kFrontRightList, 1009, 1010, 1011, kRightSurroundList})
                EXPECT_EQ(v.isEnabled(id), id == kFrontLeftList || id == kFrontRightList) << id;
            // What a person sees.
            EXPECT_TRUE(platform::makeFolders("screenshots"));
            EXPECT_TRUE(d.inner().image().writePng("screenshots/audio_settings_headless.png"));
            windows.answerPopup(0);   // "Line Out", the first device
            click(d, kDeviceList);
        },
        [&](ScriptedRoutingDlg& d) {
            EXPECT_EQ(d.item(kFrontLeftList).entries.size(), 9u);
            EXPECT_EQ(d.items().text(kFrontRightList), "Line Out 2");
            // The copy differs from what plays: the latency text is greyed.
            EXPECT_FALSE(d.items().isEnabled(kLatencyText));
            click(d, kApplyButton);
        },
        [&](ScriptedRoutingDlg& d) {
            EXPECT_EQ(state.settings.deviceName, "Line Out");
            EXPECT_TRUE(d.items().isEnabled(kLatencyText));
            d.items().setFocus(kLatencyTrackbar);
            windows.pressKey(platform::kWinEnd);
        },
        [&](ScriptedRoutingDlg& d) {
            EXPECT_EQ(d.items().text(kLatencyText), "1000 ms");
            windows.pressKey(platform::kWinReturn);   // the default button: OK
        },
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(title, "Audio Settings");
    EXPECT_EQ(state.settings.latency, 1000.0);
    EXPECT_EQ(audio.lastRequest.device, 1);   // Line Out
    EXPECT_EQ(audio.lastRequest.channels, 2);
    EXPECT_EQ(audio.lastRequest.suggestedLatency, 1.0);
}

// PortAudio's name for JACK is the longest of its drivers' names: every
// letter of it is shown, its last one drawn inside the list's strip.
TEST_F(RoutingDialogTest, TheLongestDriverNameIsShownWhole)
{
    const std::string jack = "JACK Audio Connection Kit";
    audio.apis[1] = jack;
    state.settings.apiName = jack;
    state.settings.deviceName = "system";
    constexpr int32_t kCell = 8;    // the lists' font
    constexpr int32_t kInset = 2;   // the text's place in the strip
    run({[&](ScriptedRoutingDlg& d) {
        ASSERT_EQ(d.items().text(kDriverList), jack);
        EXPECT_TRUE(platform::makeFolders("screenshots"));
        EXPECT_TRUE(d.inner().image().writePng("screenshots/audio_settings_long_driver.png"));
        const CRect& list = d.item(kDriverList).rect;
        const int32_t lastCell = list.left + kInset + kCell * static_cast<int32_t>(jack.size() - 1);
        EXPECT_LE(lastCell + kCell, list.right - 1);
        // The final "t" in the ink of the "J".
        const platform::Image& shown = d.inner().image();
        const auto brightness = [](platform::Colour c) { return c.red + c.green + c.blue; };
        platform::Colour ink = shown.pixelAt(list.left + kInset, list.top);
        for (int32_t y = list.top; y < list.bottom; ++y)
            for (int32_t x = list.left + kInset; x < list.left + kInset + kCell; ++x)
                if (brightness(shown.pixelAt(x, y)) > brightness(ink))
                    ink = shown.pixelAt(x, y);
        int inked = 0;
        for (int32_t y = list.top; y < list.bottom; ++y)
            for (int32_t x = lastCell; x < lastCell + kCell; ++x)
                inked += shown.pixelAt(x, y) == ink ? 1 : 0;
        EXPECT_GE(inked, 5);
    }});
}
