#include "gui_fixture.h"

namespace {

class FrameDrawingTest : public GuiTest {};

TEST_F(FrameDrawingTest, NothingIsDrawnBeforeTheFirstPaintThenOnlyDirtyViews)
{
    CFrame frame(CRect(0, 0, 400, 300), host.get(), &editor);
    RecordingView* left = addView(frame, CRect(0, 0, 200, 300), "left");
    RecordingView* right = addView(frame, CRect(200, 0, 400, 300), "right");
    left->setDirty();
    frame.idle();
    EXPECT_TRUE(journal.empty());

    // Creating the window queued its first paint.
    system.pump();
    EXPECT_EQ(journal, (std::vector<std::string>{"left draw", "right draw"}));
    EXPECT_FALSE(frame.isFirstDraw());

    journal.clear();
    right->setDirty();
    frame.idle();
    frame.idle();
    EXPECT_EQ(journal, (std::vector<std::string>{"right draw"}));

    // A paint of part of the window draws the views it touches, edges included.
    journal.clear();
    frame.getWindow()->invalidate({0, 0, 200, 50});
    system.pump();
    EXPECT_EQ(journal, (std::vector<std::string>{"left draw", "right draw"}));
    journal.clear();
    frame.getWindow()->invalidate({0, 0, 150, 50});
    system.pump();
    EXPECT_EQ(journal, (std::vector<std::string>{"left draw"}));
}

TEST_F(FrameDrawingTest, AHiddenWindowIsPaintedWhenShown)
{
    host->show(false);
    CFrame frame(CRect(0, 0, 400, 300), host.get(), &editor);
    addView(frame, CRect(0, 0, 200, 300), "view");
    system.pump();
    EXPECT_TRUE(journal.empty());
    host->show(true);
    system.pump();
    EXPECT_EQ(journal, (std::vector<std::string>{"view draw"}));
}

TEST_F(FrameDrawingTest, ADirtyFrameDrawsWholeAndAModalViewDrawsLast)
{
    CFrame frame(CRect(0, 0, 400, 300), host.get(), &editor);
    addView(frame, CRect(0, 0, 200, 300), "a");
    addView(frame, CRect(200, 0, 400, 300), "b");
    RecordingView modal(CRect(50, 50, 100, 100), "modal", &journal);
    system.pump();
    journal.clear();

    frame.setDirty();
    frame.idle();
    EXPECT_EQ(journal, (std::vector<std::string>{"a draw", "b draw"}));
    EXPECT_FALSE(frame.isDirty());

    frame.setModalView(&modal);
    journal.clear();
    frame.draw(static_cast<CDrawContext*>(nullptr));
    EXPECT_EQ(journal, (std::vector<std::string>{"a draw", "b draw", "modal draw"}));
    // With a modal view the idle updates it alone.
    journal.clear();
    frame.getView(0)->setDirty();
    modal.setDirty();
    frame.idle();
    EXPECT_EQ(journal, (std::vector<std::string>{"modal draw"}));
    frame.setModalView(nullptr);
}

TEST_F(FrameDrawingTest, AFrameGoneWithItsWindowDrawsNoMore)
{
    auto parent = std::make_unique<CFrame>(CRect(0, 0, 400, 300), host.get(), &editor);
    CFrame frame(CRect(0, 0, 100, 100), parent->getWindow(), &editor);
    RecordingView* view = addView(frame, CRect(0, 0, 100, 100), "view");
    system.pump();
    EXPECT_TRUE(frame.isOpen());
    parent.reset();   // destroys the window under the frame's own
    EXPECT_FALSE(frame.isOpen());
    EXPECT_EQ(frame.getSystemWindow(), nullptr);
    view->setDirty();
    frame.idle();
    EXPECT_EQ(view->draws, 1);
}

} // namespace
