// The Host program under a real window manager (openbox on an Xvfb of the
// test's own), as a user starts it again and again: the editor window fills
// the Host's window from the start, and the key reference the editor opens
// with Shift+F1 keeps its place on its monitor while the arrow keys page it.
// A JACK dummy server is its sound card (without one a box would say so first).
#include "host_process.h"
#include "platform/system/folders.h"
#include "support/jack_dummy_server.h"

// Last: Xlib's macros would rename names of the headers above.
#include "gui/x11_fixture.h"
#include "support/window_manager.h"
#include "support/x11_properties.h"

#include <chrono>
#include <functional>
#include <sstream>
#include <sys/stat.h>
#include <thread>

namespace {

using platform::Rect;

using hosttest::eventually;
using hosttest::kWindowReady;

std::string text(const Rect& r)
{
    std::ostringstream out;
    out << r.left << "," << r.top << " " << r.width() << "x" << r.height();
    return out.str();
}

class ManagedHostTest : public X11Test {
protected:
    void SetUp() override
    {
        X11Test::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(outside_tools::have({"openbox"}));
        manager = std::make_unique<WindowManager>(server->name());
        ASSERT_TRUE(manager->running()) << "openbox did not start managing windows";
        // The program's windows come and go while the test looks at them.
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        char name[] = "/tmp/qb-managed-host-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        folder = name;
        mkdir((folder + "/bin").c_str(), 0700);
        ASSERT_TRUE(platform::makeFolders("screenshots"));
        ASSERT_TRUE(outside_tools::have({"jackd"}));
        sound = std::make_unique<JackDummyServer>(2, 44100);
        ASSERT_TRUE(sound->ready()) << "jackd did not start";
    }
    void TearDown() override
    {
        program.reset();
        sound.reset();
        manager.reset();
        X11Test::TearDown();
        if (std::system(("rm -rf '" + folder + "'").c_str()) != 0) {}
    }
    void start()
    {
        program = std::make_unique<hosttest::HostProcess>(
            std::vector<std::string>{},
            std::vector<std::pair<std::string, std::string>>{
                {"DISPLAY", server->name()}, {"PATH", folder + "/bin"}, {"XDG_CONFIG_HOME", folder},
                sound->environment()});
        ASSERT_TRUE(program->waitFor(kWindowReady)) << program->output();
    }

    std::vector<long> property(::Window w, const char* name, long count)
    {
        return x11_read::property32(host, w, name, count);
    }
    std::string classOf(::Window w) { return x11_read::classOf(host, w); }
    std::vector<::Window> childrenOf(::Window w) { return x11_read::childrenOf(host, w); }
    // The managed, mapped window of that class; 0 while there is none.
    ::Window client(const char* className)
    {
        for (long c : property(DefaultRootWindow(host), "_NET_CLIENT_LIST", 256)) {
            XWindowAttributes attributes{};
            if (classOf(::Window(c)) == className && XGetWindowAttributes(host, ::Window(c), &attributes)
                && attributes.map_state == IsViewable)
                return ::Window(c);
        }
        return 0;
    }
    Rect sizeOf(::Window w)
    {
        XWindowAttributes a{};
        XGetWindowAttributes(host, w, &a);
        return platform::rectOfSize(a.x, a.y, a.width, a.height);
    }
    Rect onScreen(::Window w)
    {
        int x = 0, y = 0;
        ::Window child = 0;
        XTranslateCoordinates(host, w, DefaultRootWindow(host), 0, 0, &x, &y, &child);
        const Rect r = sizeOf(w);
        return platform::rectOfSize(x, y, r.width(), r.height());
    }
    // The Host's MDI client and the editor window in it.
    std::pair<::Window, ::Window> clientAndEditor(::Window frame)
    {
        for (::Window child : childrenOf(frame))
            if (classOf(child) == "MDIClient") {
                const std::vector<::Window> inside = childrenOf(child);
                return {child, inside.empty() ? 0 : inside.back()};
            }
        return {0, 0};
    }
    bool editorFills(::Window frame)
    {
        const auto [mdi, editor] = clientAndEditor(frame);
        if (!mdi || !editor)
            return false;
        const Rect room = sizeOf(mdi);
        const Rect editorRect = sizeOf(editor);
        return sizeOf(frame).height() - room.height() == 36 && editorRect == Rect{0, 0, room.width(), room.height()};
    }

    std::string folder;
    std::unique_ptr<WindowManager> manager;
    std::unique_ptr<JackDummyServer> sound;
    std::unique_ptr<hosttest::HostProcess> program;
};

} // namespace

// Started again and again, the editor window fills the space below the strip
// each time without the window being touched.
TEST_F(ManagedHostTest, TheEditorFillsTheHostWindowOnEveryStart)
{
    for (int run = 0; run < 11; ++run) {
        start();
        ::Window frame = 0;
        ASSERT_TRUE(eventually([&] { return (frame = client("QuorbelHost")) != 0; })) << "run " << run;
        // Given time to settle, as a user looks at it.
        EXPECT_TRUE(eventually([&] { return editorFills(frame); }, 5))
            << "run " << run << ": window " << text(sizeOf(frame)) << ", client "
            << text(sizeOf(clientAndEditor(frame).first)) << ", editor "
            << text(sizeOf(clientAndEditor(frame).second));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        EXPECT_TRUE(editorFills(frame)) << "run " << run << ": editor " << text(sizeOf(clientAndEditor(frame).second));
        if (run == 0) {
            const platform::Image shot = grabWindow(host, DefaultRootWindow(host));
            EXPECT_TRUE(shot.writePng("screenshots/host_managed_start.png"));
        }
        program.reset();
        ASSERT_TRUE(eventually([&] { return client("QuorbelHost") == 0; })) << "run " << run;
    }
}

// Shift+F1 in the pattern editor opens the key reference beside the editor;
// the arrow keys page it where it is, kept on its monitor.
TEST_F(ManagedHostTest, TheKeyReferenceKeepsItsPlaceWhenPaged)
{
    start();
    ::Window frame = 0;
    ASSERT_TRUE(eventually([&] { return (frame = client("QuorbelHost")) != 0 && editorFills(frame); }));
    const ::Window editor = clientAndEditor(frame).second;
    XSetInputFocus(host, editor, RevertToParent, CurrentTime);
    tap(XK_Shift_L);   // the first key ends the splash
    // Shift+F1 again while the splash may still take the keys.
    ::Window popup = 0;
    for (int tries = 0; tries < 10 && !popup; ++tries) {
        key(XK_Shift_L, true);
        tap(XK_F1);
        key(XK_Shift_L, false);
        eventually([&] { return (popup = client("QuorbelHelp")) != 0; }, 2);
    }
    ASSERT_NE(popup, 0u) << program->output();
    const Rect editorOnScreen = onScreen(editor);
    Rect first;
    EXPECT_TRUE(eventually([&] {
        first = onScreen(popup);
        return first.left == editorOnScreen.left + 10 && first.top == editorOnScreen.top + 37;
    }, 5)) << text(first) << " beside " << text(editorOnScreen);
    grabWindow(host, DefaultRootWindow(host)).writePng("screenshots/host_key_reference_first.png");

    // The three key pages of the pattern editor, each of its own height,
    // then the first again: each where the last one was, unless its height
    // would take it off the monitor.
    const Rect monitor{0, 0, 1024, 768};
    Rect last = first;
    for (int page = 2; page <= 4; ++page) {
        tap(XK_Right);
        Rect now;
        EXPECT_TRUE(eventually([&] {
            now = onScreen(popup);
            return client("QuorbelHelp") == popup && now.height() != last.height() && now.left == last.left
                && now.top == std::min(last.top, monitor.bottom - now.height());
        }, 5)) << "page " << page << ": " << text(now) << " after " << text(last);
        last = now;
    }
    grabWindow(host, DefaultRootWindow(host)).writePng("screenshots/host_key_reference_paged.png");
    tap(XK_Escape);
}
