#include "platform/headless/headless_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace platform;

namespace {

// Writes down every message, with the input state the system reports
// while it is handled.
struct Journal : WindowHandler {
    bool handleMessage(Window& window, WindowMessage& message) override
    {
        entries.push_back({message.kind, message.timerId, message.area, window.system().inputState().bits});
        if (message.kind == MessageKind::MeasureItem) {
            message.item->width = 30;
            message.item->height = 12;
        }
        if (message.kind == MessageKind::DrawItem)
            drawn.push_back(message.item->rect);
        return handles;
    }
    size_t count(MessageKind kind) const
    {
        size_t n = 0;
        for (const Entry& e : entries)
            n += e.kind == kind;
        return n;
    }

    struct Entry {
        MessageKind kind;
        uint32_t timer;
        Rect area;
        uint32_t input;
    };
    std::vector<Entry> entries;
    std::vector<Rect> drawn;
    bool handles = true;
};

struct Swallower : KeyFilter {
    bool filterKey(Window&, const WindowMessage& message) override
    {
        seen.push_back(message.key.windowsKey);
        return true;
    }
    std::vector<uint8_t> seen;
};

class HeadlessWindowTest : public ::testing::Test {
protected:
    std::unique_ptr<Window> make(Journal& journal, Window* parent, Rect rect)
    {
        WindowOptions options;
        options.kind = parent ? WindowOptions::Kind::Child : WindowOptions::Kind::TopLevel;
        options.parent = parent;
        options.rect = rect;
        options.handler = &journal;
        return system.createWindow(options);
    }

    HeadlessWindowSystem system;
};

TEST_F(HeadlessWindowTest, TimersRunOnTheFakeClockAndAnOverdueOneFiresOnce)
{
    Journal journal;
    auto window = make(journal, nullptr, {10, 10, 110, 60});
    system.pump();   // the first paint
    journal.entries.clear();
    const uint32_t start = system.ticks();
    window->setTimer(4, 25);
    window->setTimer(1, 100);
    system.advance(24);
    system.pump();
    EXPECT_EQ(journal.count(MessageKind::Timer), 0u);
    system.advance(1);
    system.pump();
    ASSERT_EQ(journal.entries.size(), 1u);
    EXPECT_EQ(journal.entries[0].timer, 4u);

    system.advance(250);   // ten periods of timer 4 late
    system.pump();
    EXPECT_EQ(journal.count(MessageKind::Timer), 3u);   // 4 once more, 1 once
    system.pump();
    EXPECT_EQ(journal.count(MessageKind::Timer), 3u);
    EXPECT_EQ(system.ticks(), start + 275);

    window->killTimer(4);
    EXPECT_FALSE(system.timerRunning(*window, 4));
    system.advance(100);
    system.pump();
    EXPECT_EQ(journal.count(MessageKind::Timer), 4u);
    EXPECT_EQ(journal.entries.back().timer, 1u);
}

TEST_F(HeadlessWindowTest, CreationQueuesTheFirstPaintAndPaintsMerge)
{
    Journal top;
    Journal child;
    auto parent = make(top, nullptr, {40, 30, 240, 130});
    auto inner = make(child, parent.get(), {10, 20, 60, 70});
    EXPECT_EQ(inner->screenOrigin(), (Point{50, 50}));
    EXPECT_EQ(inner->image().width(), 50);
    EXPECT_TRUE(top.entries.empty());
    system.pump();
    ASSERT_EQ(child.entries.size(), 1u);
    EXPECT_EQ(child.entries[0].kind, MessageKind::Paint);
    EXPECT_EQ(child.entries[0].area, (Rect{0, 0, 50, 50}));

    inner->invalidate({0, 0, 10, 10});
    inner->invalidate({30, 5, 80, 20});   // cut to the window
    system.pump();
    EXPECT_EQ(child.entries.back().area, (Rect{0, 0, 50, 20}));
    system.pump();
    EXPECT_EQ(child.count(MessageKind::Paint), 2u);

    // A hidden parent holds its children's paints back.
    parent->show(false);
    inner->invalidate({0, 0, 5, 5});
    system.pump();
    EXPECT_EQ(child.count(MessageKind::Paint), 2u);
    parent->show(true);
    system.pump();
    EXPECT_EQ(child.count(MessageKind::Paint), 3u);
}

TEST_F(HeadlessWindowTest, AHandlerSeesTheStateOfItsEventNotTheLiveOne)
{
    Journal journal;
    auto window = make(journal, nullptr, {0, 0, 100, 100});
    window->takeFocus();
    system.pump();
    journal.entries.clear();
    system.injectKey(kWinControl, true);
    system.injectButton(*window, {5, 5}, kLeftButton, true);
    system.injectKey(kWinControl, false);
    system.injectButton(*window, {5, 5}, kLeftButton, false);
    EXPECT_EQ(system.inputState().bits, 0u);
    system.pump();
    std::vector<uint32_t> states;
    for (const Journal::Entry& e : journal.entries)
        states.push_back(e.input);
    EXPECT_EQ(states, (std::vector<uint32_t>{kControlHeld, kControlHeld | kLeftButton, kLeftButton, 0u}));
    EXPECT_EQ(system.cursorPosition(), (Point{5, 5}));
}

TEST_F(HeadlessWindowTest, AnUnhandledWheelGoesToTheParentAndAKeyFilterSeesKeysFirst)
{
    Journal top;
    Journal child;
    auto parent = make(top, nullptr, {0, 0, 200, 200});
    auto inner = make(child, parent.get(), {10, 10, 60, 60});
    system.pump();
    child.handles = false;
    system.injectWheel(*inner, {1, 2}, 120);
    system.pump();
    EXPECT_EQ(top.count(MessageKind::Wheel), 1u);

    Swallower filter;
    system.setKeyFilter(&filter);
    inner->takeFocus();
    system.pressKey(kWinF1);
    system.pump();
    EXPECT_EQ(filter.seen, (std::vector<uint8_t>{kWinF1, kWinF1}));
    EXPECT_EQ(child.count(MessageKind::KeyDown), 0u);
    system.setKeyFilter(nullptr);
}

TEST_F(HeadlessWindowTest, KeysGoToTheFocusWindowAsItIsWhenPumped)
{
    Journal first;
    Journal second;
    auto one = make(first, nullptr, {0, 0, 100, 100});
    auto two = make(second, nullptr, {200, 0, 300, 100});
    system.pressKey('A');   // no focus yet: dropped
    system.pump();
    EXPECT_EQ(system.pendingMessages(), 0u);
    one->takeFocus();
    system.pressKey('B');
    system.click(*two, {5, 5});   // the press moves the focus before the next key
    system.pressKey('C');
    system.pump();
    EXPECT_EQ(first.count(MessageKind::KeyDown), 1u);
    EXPECT_EQ(first.count(MessageKind::FocusOut), 1u);
    EXPECT_EQ(second.count(MessageKind::KeyDown), 1u);
    EXPECT_TRUE(two->hasFocus());
}

TEST_F(HeadlessWindowTest, AHotKeyReachesItsWindowAloneWhereverTheFocusIs)
{
    Journal editor;
    Journal host;
    auto editorWindow = make(editor, nullptr, {0, 0, 200, 200});
    auto hostWindow = make(host, nullptr, {300, 0, 500, 200});
    system.pump();
    editor.entries.clear();
    host.entries.clear();
    ASSERT_TRUE(system.registerHotKey(*editorWindow, 2, kControlHeld | kAltHeld, kWinF1 + 1));
    EXPECT_FALSE(system.registerHotKey(*hostWindow, 9, kControlHeld | kAltHeld, kWinF1 + 1));
    hostWindow->takeFocus();
    system.injectKey(kWinControl, true);
    system.injectKey(kWinLMenu, true);
    system.pressKey(kWinF1 + 1);
    system.injectKey(kWinLMenu, false);
    system.pressKey(kWinF1 + 1);   // Ctrl alone: an ordinary key
    system.injectKey(kWinControl, false);
    system.pump();
    ASSERT_EQ(editor.count(MessageKind::HotKey), 1u);
    EXPECT_EQ(host.count(MessageKind::KeyDown), 3u);   // Ctrl, Alt, F2
    EXPECT_EQ(host.count(MessageKind::KeyUp), 3u);

    system.unregisterHotKey(*editorWindow, 2);
    system.injectKey(kWinControl, true);
    system.injectKey(kWinLMenu, true);
    system.pressKey(kWinF1 + 1);
    system.pump();
    EXPECT_EQ(editor.count(MessageKind::HotKey), 1u);
}

TEST_F(HeadlessWindowTest, DestroyingAParentDestroysItsChildrenFirstHearingIt)
{
    Journal top;
    Journal child;
    auto parent = make(top, nullptr, {0, 0, 200, 200});
    auto inner = make(child, parent.get(), {10, 10, 60, 60});
    const uintptr_t handle = inner->handle();
    EXPECT_EQ(system.findWindow(handle), inner.get());
    inner->takeFocus();
    inner->post(7);
    parent.reset();
    EXPECT_FALSE(inner->alive());
    EXPECT_EQ(child.count(MessageKind::Destroy), 1u);
    EXPECT_EQ(system.findWindow(handle), nullptr);
    EXPECT_EQ(system.focusWindow(), nullptr);
    system.pump();   // its queued message is dropped
    EXPECT_EQ(child.count(MessageKind::User), 0u);
    // No child can be made in a dead window.
    Journal late;
    EXPECT_EQ(make(late, inner.get(), {0, 0, 5, 5}), nullptr);
}

TEST_F(HeadlessWindowTest, PopupsAnswerFromTheQueueAndKeepWhatTheyShowed)
{
    Journal owner;
    auto window = make(owner, nullptr, {0, 0, 200, 200});
    PopupMenu menu;
    menu.rows.push_back({"&Open\tCtrl+O", 0, PopupMenu::kOwnerDraw, 11, nullptr});
    menu.rows.push_back({"", 1, PopupMenu::kSeparator, 0, nullptr});
    menu.rows.push_back({"Close", 2, PopupMenu::kOwnerDraw | PopupMenu::kChecked, 12, nullptr});
    system.answerPopup(2);
    EXPECT_EQ(system.trackPopup(*window, menu, {50, 60}, true), 2);
    EXPECT_EQ(system.trackPopup(*window, menu, {0, 0}, false), -1);
    ASSERT_EQ(system.popupsAsked().size(), 2u);
    const HeadlessWindowSystem::PopupRequest& first = system.popupsAsked()[0];
    EXPECT_EQ(first.menu.rows[0].text, "&Open\tCtrl+O");
    EXPECT_EQ(first.screen, (Point{50, 60}));
    EXPECT_TRUE(first.rightButton);
    // The owner measured and drew the two owner-drawn rows, one under the other.
    EXPECT_EQ(first.rows.width(), 30);
    EXPECT_EQ(first.rows.height(), 24);
    ASSERT_GE(owner.drawn.size(), 2u);
    EXPECT_EQ(owner.drawn[1], (Rect{0, 12, 30, 24}));
}

} // namespace
