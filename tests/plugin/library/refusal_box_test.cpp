// A host that loads the library a second time in its process gets the
// refusal in a system-modal box: under a window manager (openbox on an Xvfb
// of the test's own) the box stands above the first copy's editor window,
// which is kept on top, and Return answers it. The box is the desktop's
// (zenity, through a stand-in on PATH that notes its arguments and hands
// over to the real one).

#include "library/test_host.h"
#include "support/outside_tools.h"
#include "support/window_manager.h"
#include "support/x11_properties.h"
#include "support/xvfb_server.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <future>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <vector>

namespace {

constexpr const char* kRefusal = "ERROR: You can only run one instance of Quorbel at a time.";

// Where the shell finds the program on PATH; empty when nowhere.
std::string programPath(const char* name)
{
    std::string path;
    if (FILE* pipe = popen((std::string("command -v ") + name).c_str(), "r")) {
        char line[4096];
        if (std::fgets(line, sizeof line, pipe))
            path = line;
        pclose(pipe);
    }
    while (!path.empty() && (path.back() == '\n' || path.back() == '\r'))
        path.pop_back();
    return path;
}

class RefusalBoxOnX : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(outside_tools::have({"Xvfb", "openbox", "zenity", "import"}));
        server = std::make_unique<XvfbServer>();
        ASSERT_FALSE(server->name().empty()) << "Xvfb did not start";
        manager = std::make_unique<WindowManager>(server->name());
        ASSERT_TRUE(manager->running()) << "openbox did not start managing windows";
        savedDisplay = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
        savedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
        setenv("DISPLAY", server->name().c_str(), 1);
        display = XOpenDisplay(server->name().c_str());
        ASSERT_NE(display, nullptr);

        const std::string realZenity = programPath("zenity");
        ASSERT_FALSE(realZenity.empty());
        char pattern[] = "/tmp/qb-refusal-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        {
            std::ofstream script(folder + "/zenity");
            script << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" << folder
                   << "/args.log'\nexec '" << realZenity << "' \"$@\"\n";
        }
        chmod((folder + "/zenity").c_str(), 0700);
        setenv("PATH", (folder + ":" + savedPath).c_str(), 1);

        std::string error;
        ASSERT_TRUE(host().load(error)) << error;
    }
    void TearDown() override
    {
        host().unload();
        if (display)
            XCloseDisplay(display);
        manager.reset();
        server.reset();
        setenv("PATH", savedPath.c_str(), 1);
        savedDisplay.empty() ? unsetenv("DISPLAY") : setenv("DISPLAY", savedDisplay.c_str(), 1);
        if (!folder.empty() && std::system(("rm -rf '" + folder + "'").c_str()) != 0) {}
    }
    static TestHost& host() { return TestHost::get(); }

    ::Window root() const { return DefaultRootWindow(display); }
    std::vector<long> property(::Window w, const char* name, long count)
    {
        return x11_read::property32(display, w, name, count);
    }
    bool keptAbove(::Window w)
    {
        const std::vector<long> state = property(w, "_NET_WM_STATE", 16);
        return std::find(state.begin(), state.end(), long(XInternAtom(display, "_NET_WM_STATE_ABOVE", False)))
            != state.end();
    }
    bool viewable(::Window w)
    {
        XWindowAttributes attributes{};
        return w && XGetWindowAttributes(display, w, &attributes) && attributes.map_state == IsViewable;
    }
    // The managed window of that title, 0 while there is none.
    ::Window clientNamed(const std::string& title)
    {
        for (long client : property(root(), "_NET_CLIENT_LIST", 256)) {
            char* name = nullptr;
            const bool match = XFetchName(display, ::Window(client), &name) && name && title == name;
            if (name)
                XFree(name);
            if (match && viewable(::Window(client)))
                return ::Window(client);
        }
        return 0;
    }
    // The window manager's frame around a client: its child of the root.
    ::Window frameOf(::Window w)
    {
        for (::Window at = w;;) {
            ::Window rootReturn = 0, parent = 0, *children = nullptr;
            unsigned int count = 0;
            if (!XQueryTree(display, at, &rootReturn, &parent, &children, &count))
                return 0;
            if (children)
                XFree(children);
            if (parent == rootReturn)
                return at;
            at = parent;
        }
    }
    // Whether a's frame lies above b's in the root's stacking order.
    bool stackedAbove(::Window a, ::Window b)
    {
        const std::vector<::Window> order = x11_read::childrenOf(display, root());
        const auto at = [&](::Window w) { return std::find(order.begin(), order.end(), frameOf(w)) - order.begin(); };
        return at(a) > at(b);
    }
    // Idles the first copy's editor, as a host's timer does, until the
    // condition holds; false after ten seconds.
    bool idleUntil(const std::function<bool()>& condition)
    {
        for (int i = 0; i < 1000; ++i) {
            host().dispatch(effEditIdle);
            XSync(display, False);
            if (condition())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    std::unique_ptr<XvfbServer> server;
    std::unique_ptr<WindowManager> manager;
    Display* display = nullptr;
    std::string savedDisplay, savedPath, folder;
};

TEST_F(RefusalBoxOnX, ASecondCopysRefusalStandsAboveTheFirstCopysEditorKeptOnTop)
{
    ASSERT_NE(host().create(), nullptr);
    host().start(44100.0f, 512);

    // The first copy's editor beside the host's plug-in window, kept on top
    // (the preference's first value).
    XSetWindowAttributes set{};
    set.background_pixel = 0x305070;
    const ::Window plugInWindow = XCreateWindow(display, root(), 200, 40, 493, 36, 0, CopyFromParent, InputOutput,
                                                CopyFromParent, CWBackPixel, &set);
    XStoreName(display, plugInWindow, "Host Plug-in");
    XSizeHints where{};
    where.flags = USPosition;
    where.x = 200;
    where.y = 40;
    XSetWMNormalHints(display, plugInWindow, &where);
    XMapWindow(display, plugInWindow);
    XSync(display, False);
    ASSERT_EQ(host().dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(plugInWindow)), 1);
    ::Window editor = 0;
    ASSERT_TRUE(idleUntil([&] {
        editor = clientNamed("Quorbel Window");
        return editor && keptAbove(editor);
    })) << "the editor window did not show kept on top";

    // The host loads the library's main again; the box holds its thread.
    std::future<AEffect*> second = std::async(std::launch::async, [] { return host().create(); });
    ::Window box = 0;
    ASSERT_TRUE(idleUntil([&] {
        box = clientNamed("Quorbel");
        return box && keptAbove(box) && stackedAbove(box, editor);
    })) << "the box did not come above the editor window";
    EXPECT_TRUE(viewable(editor));
    EXPECT_TRUE(stackedAbove(box, editor));
    ASSERT_EQ(std::system(("mkdir -p screenshots && import -display " + server->name() +
                           " -window root screenshots/refusal_box_above.png").c_str()),
              0);

    // The user answers it with Return: the box goes, main returns null.
    const auto tap = [&](KeySym sym) {
        XTestFakeKeyEvent(display, XKeysymToKeycode(display, sym), True, CurrentTime);
        XTestFakeKeyEvent(display, XKeysymToKeycode(display, sym), False, CurrentTime);
        XFlush(display);
    };
    XSetInputFocus(display, box, RevertToParent, CurrentTime);
    tap(XK_Return);
    ASSERT_TRUE(idleUntil([&] { return second.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }))
        << "Return did not answer the box";
    EXPECT_EQ(second.get(), nullptr);
    std::ifstream shown(folder + "/args.log");
    const std::string arguments((std::istreambuf_iterator<char>(shown)), std::istreambuf_iterator<char>());
    EXPECT_EQ(arguments, std::string("--error\n--no-markup\n--title=Quorbel\n--text=") + kRefusal + "\n");
    EXPECT_TRUE(viewable(editor));   // the first copy goes on as before
    host().dispatch(effEditClose);
    XDestroyWindow(display, plugInWindow);
    XSync(display, False);
}

} // namespace
