#include "pagekit/frame2.h"
#include "gui_fixture.h"

namespace {

using platform::kRightButton;

// Records the wheel messages that reach the host window after the frame.
struct HostHandler : platform::WindowHandler {
    bool handleMessage(platform::Window&, platform::WindowMessage& message) override
    {
        if (message.kind == platform::MessageKind::Wheel)
            wheels.push_back(message.point);
        return true;
    }
    std::vector<platform::Point> wheels;
};

class FrameMouseTest : public GuiTest {};

TEST_F(FrameMouseTest, TheLastAddedMouseEnabledChildUnderThePointTakesTheClick)
{
    CFrame frame(CRect(0, 0, 400, 300), host.get(), &editor);
    RecordingView* below = addView(frame, CRect(0, 0, 100, 100), "below");
    RecordingView* above = addView(frame, CRect(50, 50, 150, 150), "above");
    RecordingView* disabled = addView(frame, CRect(0, 0, 400, 300), "disabled");
    disabled->setMouseEnabled(false);
    platform::Window& window = *frame.getWindow();

    system.click(window, {60, 60});
    system.click(window, {10, 10});
    system.click(window, {150, 150});   // edges count
    system.click(window, {151, 151});
    system.pump();

    ASSERT_EQ(above->clicks.size(), 4u);   // two clicks, each a press and a release
    EXPECT_EQ(above->clicks[0], CPoint(60, 60));
    EXPECT_EQ(above->clicks[2], CPoint(150, 150));
    ASSERT_EQ(below->clicks.size(), 2u);
    EXPECT_EQ(below->clicks[0], CPoint(10, 10));
    EXPECT_TRUE(disabled->clicks.empty());
}

TEST_F(FrameMouseTest, TheCursorIsFoundRelativeToTheFramesWindow)
{
    CFrame frame(CRect(0, 0, 400, 300), host.get(), &editor);
    RecordingView* view = addView(frame, CRect(0, 0, 100, 100), "view");
    system.injectMove(*frame.getWindow(), {30, 40});
    EXPECT_EQ(system.cursorPosition(), (platform::Point{130, 90}));   // the host lies at 100, 50
    CPoint where;
    EXPECT_TRUE(frame.getCurrentLocation(where));
    EXPECT_EQ(where, CPoint(30, 40));
    std::unique_ptr<CDrawContext> context = frame.createWindowContext();
    view->getMouseLocation(context.get(), where);
    EXPECT_EQ(where, CPoint(30, 40));
    EXPECT_EQ(frame.getViewAt(CPoint(100, 100)), view);
    EXPECT_EQ(frame.getViewAt(CPoint(101, 100)), nullptr);
    EXPECT_EQ(frame.getTicks(), system.ticks());
}

TEST_F(FrameMouseTest, ButtonsAreThoseOfTheEventNotOfNow)
{
    CFrame frame(CRect(0, 0, 400, 300), host.get(), &editor);
    RecordingView* view = addView(frame, CRect(0, 0, 100, 100), "view");
    platform::Window& window = *frame.getWindow();
    // Shift and the right button are both up again when the messages arrive.
    system.injectKey(platform::kWinShift, true);
    system.injectButton(window, {5, 5}, kRightButton, true);
    system.injectKey(platform::kWinShift, false);
    system.injectButton(window, {5, 5}, kRightButton, false);
    system.setButtonsSwapped(true);
    system.click(window, {5, 5}, kRightButton);
    system.pump();
    // Swapped, the physical right button reports as the left.
    EXPECT_EQ(view->buttons, (std::vector<int32_t>{4 | 8, 0, 1, 0}));
}

TEST_F(FrameMouseTest, AModalViewAloneTakesTheMouseAndFirstTheKeys)
{
    CFrame frame(CRect(0, 0, 400, 300), host.get(), &editor);
    RecordingView* page = addView(frame, CRect(0, 0, 400, 300), "page");
    RecordingView modal(CRect(100, 100, 200, 200), "modal", &journal);
    EXPECT_TRUE(frame.setModalView(&modal));
    RecordingView other(CRect(0, 0, 10, 10), "other");
    EXPECT_FALSE(frame.setModalView(&other));

    system.click(*frame.getWindow(), {10, 10});   // outside the modal view: nobody
    system.click(*frame.getWindow(), {150, 150});
    system.pump();
    EXPECT_TRUE(page->clicks.empty());
    EXPECT_EQ(modal.clicks.size(), 2u);

    VstKeyCode key{'a', 0, 0};
    journal.clear();
    EXPECT_EQ(frame.onKeyDown(key), -1);
    EXPECT_EQ(journal, (std::vector<std::string>{"modal key", "page key"}));
    modal.takesKeys = true;
    journal.clear();
    EXPECT_EQ(frame.onKeyDown(key), 1);
    EXPECT_EQ(journal, (std::vector<std::string>{"modal key"}));

    EXPECT_TRUE(frame.setModalView(nullptr));
    system.click(*frame.getWindow(), {10, 10});
    system.pump();
    EXPECT_EQ(page->clicks.size(), 2u);
}

TEST_F(FrameMouseTest, AnyMouseMessageEndsTheEditViewWithOneFocusLoss)
{
    CFrame frame(CRect(0, 0, 400, 300), host.get(), &editor);
    addView(frame, CRect(0, 0, 400, 300), "page");
    RecordingView menu(CRect(10, 10, 60, 30), "menu", &journal);
    RecordingView next(CRect(10, 10, 60, 30), "next", &journal);
    frame.setEditView(&menu);
    frame.setEditView(&next);   // the previous one loses its focus
    EXPECT_EQ(menu.focusLosses, 1);

    journal.clear();
    system.injectMove(*frame.getWindow(), {300, 200});
    system.click(*frame.getWindow(), {300, 200});
    system.pump();
    EXPECT_EQ(next.focusLosses, 1);
    EXPECT_EQ(frame.getEditView(), nullptr);
    // The edit view lost its focus before the page saw the move.
    EXPECT_EQ(journal[0], "next looseFocus");
    EXPECT_EQ(journal[1], "page mouse");
}

TEST_F(FrameMouseTest, TheWheelReachesTheViewAtItsClientPointThenTheParentWindow)
{
    HostHandler hostHandler;
    platform::WindowOptions options;
    options.kind = platform::WindowOptions::Kind::TopLevel;
    options.rect = {300, 200, 800, 600};
    options.handler = &hostHandler;
    std::unique_ptr<platform::Window> parent = system.createWindow(options);
    CFrame frame(CRect(0, 0, 400, 300), parent.get(), &editor);
    RecordingView* left = addView(frame, CRect(0, 0, 100, 300), "left");
    left->setMouseEnabled(false);   // the wheel asks no mouse test
    RecordingView* right = addView(frame, CRect(100, 0, 400, 300), "right");

    system.injectWheel(*frame.getWindow(), {20, 30}, 120);
    system.injectWheel(*frame.getWindow(), {120, 30}, -240);
    system.pump();

    ASSERT_EQ(left->wheels.size(), 1u);
    EXPECT_EQ(left->wheels[0].where, CPoint(20, 30));
    EXPECT_EQ(left->wheels[0].distance, 1.0f);
    ASSERT_EQ(right->wheels.size(), 1u);
    EXPECT_EQ(right->wheels[0].where, CPoint(120, 30));
    EXPECT_EQ(right->wheels[0].distance, -2.0f);
    // Then, as the default processing does, the parent window in screen coordinates.
    EXPECT_EQ(hostHandler.wheels, (std::vector<platform::Point>{{320, 230}, {420, 230}}));
}

TEST_F(FrameMouseTest, TheEditorFrameHalvesPointsAtDoubleSize)
{
    CFrame2 frame(CRect(0, 0, 3200, 1200), host.get(), &editor);
    ASSERT_NE(frame.getWindow(), nullptr);
    EXPECT_TRUE(system.acceptsDrops(*frame.getWindow()));
    RecordingView* page = addView(frame, CRect(0, 0, 100, 100), "page");

    system.click(*frame.getWindow(), {150, 120});
    system.pump();
    EXPECT_TRUE(page->clicks.empty());

    editor.twice = true;
    system.click(*frame.getWindow(), {150, 120});
    system.injectWheel(*frame.getWindow(), {150, 120}, 120);
    system.pump();
    ASSERT_EQ(page->clicks.size(), 2u);
    EXPECT_EQ(page->clicks[0], CPoint(75, 60));
    ASSERT_EQ(page->wheels.size(), 1u);
    EXPECT_EQ(page->wheels[0].where, CPoint(75, 60));

    // A paint draws nothing itself: the pattern editor redraws.
    EXPECT_EQ(page->draws, 0);
    EXPECT_EQ(editor.patternRedraws, 1);
}

} // namespace
