// Drops on a frame: the effect shown while dragging, files and text handed
// to the views' onDrop, links followed to their targets.

#include "drop_view.h"
#include "gui_fixture.h"

#include <filesystem>
#include <fstream>

namespace {

class DropTarget : public GuiTest {
protected:
    DropTarget()
    {
        view = new DropView(CRect(0, 0, 400, 300));
        frame.addView(view);
    }

    platform::DragMessage files(std::vector<std::string> names)
    {
        platform::DragMessage drag;
        drag.offersFiles = true;
        drag.files = std::move(names);
        return drag;
    }

    CFrame frame{CRect(0, 0, 400, 300), host.get(), &editor};
    DropView* view = nullptr;
};

TEST_F(DropTarget, CtrlShowsCopyAndOtherwiseMove)
{
    platform::Window& window = *frame.getWindow();
    ASSERT_TRUE(system.acceptsDrops(window));
    platform::DragMessage text;
    text.offersText = true;
    EXPECT_EQ(system.dragOver(window, {10, 10}, text, platform::kControlHeld), platform::DropEffect::Copy);
    EXPECT_EQ(system.dragOver(window, {10, 10}, files({}), 0), platform::DropEffect::Move);
    EXPECT_EQ(system.dragOver(window, {10, 10}, files({}), platform::kShiftHeld), platform::DropEffect::Move);
    platform::DragMessage nothing;
    EXPECT_EQ(system.dragOver(window, {10, 10}, nothing, platform::kControlHeld), platform::DropEffect::None);
    system.dragLeave(window);

    frame.setDropActive(false);
    EXPECT_FALSE(system.acceptsDrops(window));
    EXPECT_EQ(frame.getDropTarget(), nullptr);
    EXPECT_EQ(system.dragOver(window, {10, 10}, text, 0), platform::DropEffect::None);
}

TEST_F(DropTarget, FilesReachTheViewWithLinksFollowed)
{
    const std::string folder = ::testing::TempDir() + "qb-drop-" + std::to_string(::getpid());
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "/song.zip") << "x";
    std::filesystem::remove(folder + "/link.zip");
    std::filesystem::create_symlink(folder + "/song.zip", folder + "/link.zip");
    const std::string target = std::filesystem::canonical(folder + "/song.zip").string();

    const std::string tooLong(1024, 'a');
    EXPECT_EQ(system.drop(*frame.getWindow(), {30, 40}, files({folder + "/link.zip", "/" + tooLong, "/music/b.wav"})),
              platform::DropEffect::Move);
    ASSERT_EQ(view->types, std::vector<int32_t>{UDropTarget::kFiles});
    EXPECT_EQ(view->texts, (std::vector<std::string>{target, "/music/b.wav"}));
    EXPECT_EQ(view->where, CPoint(30, 40));
    std::filesystem::remove_all(folder);
}

TEST_F(DropTarget, TextComesFirstWithItsSizeAndIsCapped)
{
    platform::DragMessage drag = files({"/music/a.zip"});
    drag.offersText = true;
    drag.text = "hello";
    system.drop(*frame.getWindow(), {5, 5}, drag, platform::kControlHeld);
    ASSERT_EQ(view->types, std::vector<int32_t>{UDropTarget::kText});
    EXPECT_EQ(view->texts.front(), "hello");
    EXPECT_EQ(view->sizes.front(), 6);

    drag.text = std::string(UDropTarget::kLongestText + 100, 'x');
    system.drop(*frame.getWindow(), {5, 5}, drag);
    EXPECT_EQ(view->texts.back().size(), UDropTarget::kLongestText);
}

TEST_F(DropTarget, ADropOfNothingUsableChangesNothing)
{
    system.drop(*frame.getWindow(), {5, 5}, files({}));
    platform::DragMessage empty;
    empty.offersText = true;
    system.drop(*frame.getWindow(), {5, 5}, empty);
    EXPECT_TRUE(view->types.empty());
}

} // namespace
