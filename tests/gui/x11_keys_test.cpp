#include "platform/headless/headless_window.h"
#include "x11_fixture.h"

#include <X11/XKBlib.h>

namespace {

// One key as the user presses it on the display and as a headless test injects it.
struct Stroke {
    KeySym sym;
    uint8_t windowsKey;
    bool down;
    bool autoRepeat = false;
};

struct Sequence {
    const char* name;
    std::vector<Stroke> strokes;
};

const Sequence kSequences[] = {
    {"Shift alone", {{XK_Shift_L, platform::kWinShift, true}, {XK_Shift_L, platform::kWinShift, false}}},
    {"Ctrl+A",
     {{XK_Control_L, platform::kWinControl, true}, {XK_a, 'A', true}, {XK_a, 'A', false},
      {XK_Control_L, platform::kWinControl, false}}},
    {"F1", {{XK_F1, platform::kWinF1, true}, {XK_F1, platform::kWinF1, false}}},
    {"Ctrl+Alt+T and Delete",
     {{XK_Control_L, platform::kWinControl, true}, {XK_Alt_L, platform::kWinMenu, true}, {XK_t, 'T', true},
      {XK_t, 'T', false}, {XK_Alt_L, platform::kWinMenu, false}, {XK_Control_L, platform::kWinControl, false},
      {XK_Delete, platform::kWinDelete, true}, {XK_Delete, platform::kWinDelete, false}}},
    {"keypad 7 with Num Lock",
     {{XK_Num_Lock, platform::kWinNumLock, true}, {XK_Num_Lock, platform::kWinNumLock, false},
      {XK_KP_7, platform::kWinNumpad0 + 7, true}, {XK_KP_7, platform::kWinNumpad0 + 7, false},
      {XK_Num_Lock, platform::kWinNumLock, true}, {XK_Num_Lock, platform::kWinNumLock, false}}},
    {"keypad 7 without Num Lock", {{XK_KP_7, platform::kWinNumpad0 + 7, true}, {XK_KP_7, platform::kWinNumpad0 + 7, false}}},
    {"Shift+Return and Escape",
     {{XK_Shift_R, platform::kWinShift, true}, {XK_Return, platform::kWinReturn, true},
      {XK_Return, platform::kWinReturn, false}, {XK_Shift_R, platform::kWinShift, false},
      {XK_Escape, platform::kWinEscape, true}, {XK_Escape, platform::kWinEscape, false}}},
};

class X11KeysTest : public X11Test, public ::testing::WithParamInterface<Sequence> {};

TEST_P(X11KeysTest, KeysOnTheDisplayGiveTheHeadlessInjectionsEvents)
{
    const Sequence& sequence = GetParam();

    platform::HeadlessWindowSystem headless;
    platform::WindowOptions options;
    options.kind = platform::WindowOptions::Kind::TopLevel;
    options.rect = {50, 60, 650, 460};
    auto top = headless.createWindow(options);
    RecordingEditor expected;
    CFrame headlessFrame(CRect(0, 0, 400, 80), top.get(), &expected);
    headlessFrame.getWindow()->takeFocus();
    for (const Stroke& stroke : sequence.strokes)
        headless.injectKey(stroke.windowsKey, stroke.down, 1, stroke.autoRepeat);
    headless.pump();

    const ::Window parent = hostWindow({50, 60, 650, 460});
    RecordingEditor seen;
    CFrame frame(CRect(0, 0, 400, 80), windows->findWindow(parent), &seen);
    settle();
    frame.getWindow()->takeFocus();
    settle();
    for (const Stroke& stroke : sequence.strokes)
        key(stroke.sym, stroke.down);
    settle();

    EXPECT_EQ(seen.keys, expected.keys);
    EXPECT_FALSE(seen.keys.empty());
}

INSTANTIATE_TEST_SUITE_P(Keys, X11KeysTest, ::testing::ValuesIn(kSequences),
                         [](const auto& info) {
                             std::string name;
                             for (const char* c = info.param.name; *c; ++c)
                                 if (std::isalnum(static_cast<unsigned char>(*c)))
                                     name += *c;
                             return name;
                         });

class X11HeldKeyTest : public X11Test {};

TEST_F(X11HeldKeyTest, AHeldKeyRepeatsItsPressWithoutReleases)
{
    const ::Window parent = hostWindow({50, 60, 650, 460});
    RecordingEditor seen;
    CFrame frame(CRect(0, 0, 400, 80), windows->findWindow(parent), &seen);
    settle();
    frame.getWindow()->takeFocus();
    settle();
    // The server's own repeat, made quick.
    XkbSetAutoRepeatRate(host, XkbUseCoreKbd, 40, 20);
    XAutoRepeatOn(host);
    key(XK_q, true);
    for (int wait = 0; wait < 500 && seen.keys.size() < 3; ++wait) {
        usleep(10000);
        settle();
    }
    key(XK_q, false);
    settle();
    ASSERT_GE(seen.keys.size(), 4u) << "the server repeated nothing";

    platform::HeadlessWindowSystem headless;
    platform::WindowOptions options;
    options.kind = platform::WindowOptions::Kind::TopLevel;
    auto top = headless.createWindow(options);
    RecordingEditor expected;
    CFrame headlessFrame(CRect(0, 0, 400, 80), top.get(), &expected);
    headlessFrame.getWindow()->takeFocus();
    headless.injectKey('Q', true);
    for (size_t repeat = 2; repeat < seen.keys.size(); ++repeat)
        headless.injectKey('Q', true, 1, true);
    headless.injectKey('Q', false);
    headless.pump();
    EXPECT_EQ(seen.keys, expected.keys);
}

// Records hot keys and the keys that reach the window.
struct HotKeyJournal : platform::WindowHandler {
    bool handleMessage(platform::Window&, platform::WindowMessage& message) override
    {
        if (message.kind == platform::MessageKind::HotKey)
            hotKeys.push_back(int32_t(message.param));
        if (message.kind == platform::MessageKind::KeyDown || message.kind == platform::MessageKind::KeyUp)
            keys.push_back(message.key.windowsKey);
        return true;
    }
    std::vector<int32_t> hotKeys;
    std::vector<uint8_t> keys;
};

class X11HotKeyTest : public X11Test {};

TEST_F(X11HotKeyTest, AHotKeyReachesOnlyItsWindowAndOneTakenElsewhereIsRefused)
{
    HotKeyJournal journal;
    auto window = topLevel({100, 100, 300, 200}, &journal);
    window->takeFocus();
    settle();

    // The host holds Ctrl+Alt+T for itself.
    const int screen = DefaultScreen(host);
    XGrabKey(host, XKeysymToKeycode(host, XK_t), ControlMask | Mod1Mask, RootWindow(host, screen), False,
             GrabModeAsync, GrabModeAsync);
    XSync(host, False);
    EXPECT_FALSE(windows->registerHotKey(*window, 3, platform::kControlHeld | platform::kAltHeld, 'T'));
    ASSERT_TRUE(windows->registerHotKey(*window, 1, platform::kControlHeld | platform::kAltHeld, 'R'));

    key(XK_Control_L, true);
    key(XK_Alt_L, true);
    tap(XK_r);
    key(XK_Alt_L, false);
    key(XK_Control_L, false);
    settle();
    EXPECT_EQ(journal.hotKeys, std::vector<int32_t>{1});
    // The modifiers reach the window; the hot key itself, down or up, does not.
    for (uint8_t k : journal.keys)
        EXPECT_NE(k, 'R');

    windows->unregisterHotKey(*window, 1);
    journal.keys.clear();
    key(XK_Control_L, true);
    key(XK_Alt_L, true);
    tap(XK_r);
    key(XK_Alt_L, false);
    key(XK_Control_L, false);
    settle();
    EXPECT_EQ(journal.hotKeys, std::vector<int32_t>{1});
    EXPECT_EQ(std::count(journal.keys.begin(), journal.keys.end(), uint8_t('R')), 2);
}

} // namespace
