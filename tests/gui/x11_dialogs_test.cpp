// Dialogs on a real display: our own dialog window drawn and clicked, and
// the modal pass that keeps windows painted but deaf while a dialog program
// runs.

#include "platform/dialogs/desktop_dialogs.h"
#include "platform/dialogs/dialog_helpers.h"
#include "platform/dialogs/dialog_window.h"
#include "platform/system/folders.h"
#include "platform/dialogs/message_box.h"
#include "platform/dialog_test_support.h"
#include "x11_fixture.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace {

struct Journal : platform::WindowHandler {
    bool handleMessage(platform::Window&, platform::WindowMessage& message) override
    {
        kinds.push_back(message.kind);
        return true;
    }
    size_t count(platform::MessageKind kind) const { return size_t(std::count(kinds.begin(), kinds.end(), kind)); }
    std::vector<platform::MessageKind> kinds;
};

using X11Dialogs = X11Test;

TEST_F(X11Dialogs, OurDialogShowsAndItsButtonAnswers)
{
    platform::DialogWindow dialog(*windows, nullptr, "Quorbel", 300, 110);
    dialog.addLabel(platform::rectOfSize(14, 12, 270, 18), "Save the changes?");
    dialog.addButton(platform::rectOfSize(120, 76, 75, 24), "Yes", 3);
    dialog.addButton(platform::rectOfSize(205, 76, 75, 24), "No", 4);
    ASSERT_TRUE(dialog.open());
    const ::Window xid = static_cast<::Window>(dialog.window()->handle());
    platform::Image shot;
    for (int tries = 0; tries < 100; ++tries) {
        settle();
        windows->pumpModal(dialog.window());
        shot = grab(xid);
        if (shot.width() == 300 && shot.pixelAt(5, 5) == platform::rgb(212, 208, 200))
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_TRUE(platform::makeFolders("screenshots"));
    EXPECT_TRUE(shot.writePng("screenshots/x11_dialog.png"));
    ASSERT_EQ(shot.width(), 300);
    EXPECT_EQ(shot.pixelAt(5, 5), platform::rgb(212, 208, 200));
    // Text was drawn: dark pixels in the label's row.
    bool ink = false;
    for (int x = 14; x < 200 && !ink; ++x)
        for (int y = 12; y < 30 && !ink; ++y)
            ink = shot.pixelAt(x, y).red < 80;
    EXPECT_TRUE(ink);

    const platform::Point origin = dialog.window()->screenOrigin();
    clickAt({origin.x + 240, origin.y + 88});
    for (int tries = 0; tries < 200 && dialog.result() == platform::DialogWindow::kRunning; ++tries) {
        settle();
        windows->pumpModal(dialog.window());
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(dialog.result(), 4);
}

TEST_F(X11Dialogs, WhileADialogProgramRunsWindowsPaintButHearNoClicks)
{
    Journal journal;
    auto window = topLevel({10, 10, 210, 110}, &journal);
    for (int i = 0; i < 20; ++i)
        settle();
    journal.kinds.clear();

    ScratchFolder folder;
    const std::string script = folder / "zenity";
    writeFile(script, "#!/bin/sh\n/bin/sleep 0.3\necho /m/a.zip\n");
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    PathOverride path(folder.path());
    const platform::Point origin = window->screenOrigin();
    clickAt({origin.x + 20, origin.y + 20});
    window->invalidate({0, 0, 10, 10});
    platform::DesktopDialogs desktop(*windows);
    platform::FileDialogRequest request;
    std::vector<std::string> paths;
    ASSERT_TRUE(desktop.chooseFiles(window.get(), request, paths));
    EXPECT_EQ(paths, std::vector<std::string>{"/m/a.zip"});
    EXPECT_GE(journal.count(platform::MessageKind::Paint), 1u);
    EXPECT_EQ(journal.count(platform::MessageKind::ButtonDown), 0u);
}

} // namespace

// Without a dialog program the platform's message box is a window of our
// own on a connection of its own, shown from whatever thread refuses.
TEST_F(X11Dialogs, APlatformMessageBoxWithoutADialogProgramIsOurWindow)
{
    ScratchFolder emptyPath;
    PathOverride path(emptyPath.path());
    const char* before = std::getenv("DISPLAY");
    const std::string savedDisplay = before ? before : "";
    setenv("DISPLAY", server->name().c_str(), 1);
    std::atomic<bool> answered{false};
    std::thread refusing([&] {
        platform::showMessageBox("ERROR: You can only run one instance of Quorbel at a time.", "Quorbel",
                                 platform::kBoxSystemModal | platform::kBoxIconError);
        answered = true;
    });

    ::Window box = 0;
    for (int tries = 0; tries < 500 && !box; ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ::Window root = 0, parent = 0, *children = nullptr;
        unsigned int count = 0;
        XQueryTree(host, DefaultRootWindow(host), &root, &parent, &children, &count);
        for (unsigned int i = 0; i < count && !box; ++i) {
            XWindowAttributes attributes{};
            char* name = nullptr;
            if (XGetWindowAttributes(host, children[i], &attributes) && attributes.map_state == IsViewable &&
                XFetchName(host, children[i], &name) && name && std::string(name) == "Quorbel")
                box = children[i];
            if (name)
                XFree(name);
        }
        if (children)
            XFree(children);
    }
    ASSERT_NE(box, 0u);
    XWindowAttributes attributes{};
    XGetWindowAttributes(host, box, &attributes);
    platform::Image shot;
    for (int tries = 0; tries < 100; ++tries) {
        shot = grab(box);
        if (shot.pixelAt(5, 5) == platform::rgb(212, 208, 200))
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_TRUE(platform::makeFolders("screenshots"));
    EXPECT_TRUE(shot.writePng("screenshots/x11_platform_message_box.png"));
    EXPECT_FALSE(answered.load());

    // OK, the only button, at the bottom right.
    int x = 0, y = 0;
    ::Window child = 0;
    XTranslateCoordinates(host, box, DefaultRootWindow(host), attributes.width - 10 - 75 + 37,
                          attributes.height - 22, &x, &y, &child);
    clickAt({x, y});
    for (int tries = 0; tries < 500 && !answered.load(); ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(answered.load());
    // A box nobody closed must not hang the run: the failure is reported.
    answered.load() ? refusing.join() : refusing.detach();
    savedDisplay.empty() ? unsetenv("DISPLAY") : setenv("DISPLAY", savedDisplay.c_str(), 1);
}
