// The editor on a real X server: an Xvfb of the test's own, a second
// connection that plays the host (its window, its keyboard through XTest),
// and the editor's own connection opened by effEditOpen from DISPLAY.

#include "demo_song.h"
#include "editor/splash_page.h"
#include "editor/tessel_editor.h"
#include "gui/frame2.h"
#include "patterneditor/grid_colours.h"
#include "patterneditor/pattern_editor_ui.h"
#include "platform/folders.h"
#include "platform/image.h"
#include "plugin/fake_host.h"
#include "plugin/plugin_globals.h"
#include "plugin/plugin_object.h"
#include "support/outside_tools.h"
#include "support/xvfb_server.h"

// After the window layer's headers: Xlib's macros rename two of its messages.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kHostX = 100;
constexpr int kHostY = 80;

// A host whose idle requests (made while a popup menu holds the thread) run
// a test's step.
struct IdleHost {
    static inline std::function<void()> onIdle;
    static VstIntPtr callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                              float opt)
    {
        if (opcode == audioMasterIdle && onIdle)
            onIdle();
        return FakeHost::callback(effect, opcode, index, value, ptr, opt);
    }
};

class EditorOnX : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(outside_tools::have({"Xvfb"}));
        server = std::make_unique<XvfbServer>();
        ASSERT_FALSE(server->name().empty()) << "Xvfb did not start";
        const char* before = std::getenv("DISPLAY");
        savedDisplay = before ? before : "";
        setenv("DISPLAY", server->name().c_str(), 1);
        host = XOpenDisplay(server->name().c_str());
        ASSERT_NE(host, nullptr);

        FakeHost::reset();
        FakeHost::get().answers[audioMasterVersion] = 2400;
        installEngineHooks();
        installTesselEditor();
        TesselEditor::windowSystemSource = nullptr;   // the editor's own connection
        plugin = std::make_unique<TesselPlugin>(FakeHost::callback);
        editor = dynamic_cast<TesselEditor*>(plugin->pluginEditor());
        ASSERT_NE(editor, nullptr);
        TesselPreferences& preferences = pluginPreferences();
        preferences.keyboardMode = 0;
        preferences.linkWindows = 0;
        preferences.alwaysOnTop = 0;
    }
    void TearDown() override
    {
        plugin.reset();
        TesselPluginEditor::maker = nullptr;
        if (host)
            XCloseDisplay(host);
        server.reset();
        if (savedDisplay.empty())
            unsetenv("DISPLAY");
        else
            setenv("DISPLAY", savedDisplay.c_str(), 1);
    }

    ::Window makeHostWindow()
    {
        XSetWindowAttributes set{};
        set.background_pixel = 0x303030;
        const ::Window w = XCreateWindow(host, DefaultRootWindow(host), kHostX, kHostY, 493, 36, 0, CopyFromParent,
                                         InputOutput, CopyFromParent, CWBackPixel, &set);
        XStoreName(host, w, "Host");
        XSelectInput(host, w, KeyPressMask | KeyReleaseMask);
        XMapWindow(host, w);
        XSync(host, False);
        return w;
    }

    VstIntPtr dispatch(VstInt32 opcode, VstIntPtr value = 0, void* ptr = nullptr)
    {
        AEffect* effect = plugin->getAeffect();
        return effect->dispatcher(effect, opcode, 0, value, ptr, 0.0f);
    }
    // The host's requests handled, then editor idles until the condition
    // holds (at most about three seconds of them).
    bool idleUntil(const std::function<bool()>& done)
    {
        for (int i = 0; i < 150; ++i) {
            XSync(host, False);
            dispatch(effEditIdle);
            if (done())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }
    void idlePasses(int passes)
    {
        for (int i = 0; i < passes; ++i) {
            XSync(host, False);
            dispatch(effEditIdle);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    void key(KeySym sym, bool down)
    {
        XTestFakeKeyEvent(host, XKeysymToKeycode(host, sym), down ? True : False, CurrentTime);
        XFlush(host);
    }
    void tap(KeySym sym)
    {
        key(sym, true);
        key(sym, false);
    }

    std::vector<::Window> childrenOf(::Window w)
    {
        ::Window root = 0, parent = 0, *children = nullptr;
        unsigned int count = 0;
        std::vector<::Window> out;
        if (XQueryTree(host, w, &root, &parent, &children, &count)) {
            out.assign(children, children + count);
            if (children)
                XFree(children);
        }
        return out;
    }
    // The mapped top-level windows with that name.
    std::vector<::Window> topLevelsNamed(const char* name)
    {
        std::vector<::Window> found;
        for (::Window w : childrenOf(DefaultRootWindow(host))) {
            char* title = nullptr;
            XWindowAttributes attributes{};
            if (XFetchName(host, w, &title) && title) {
                if (std::string(title) == name && XGetWindowAttributes(host, w, &attributes)
                    && attributes.map_state == IsViewable)
                    found.push_back(w);
                XFree(title);
            }
        }
        return found;
    }
    bool writeShot(::Window w, const std::string& name)
    {
        XWindowAttributes attributes{};
        XGetWindowAttributes(host, w, &attributes);
        XImage* shot = XGetImage(host, w, 0, 0, unsigned(attributes.width), unsigned(attributes.height), AllPlanes,
                                 ZPixmap);
        if (!shot)
            return false;
        std::vector<uint32_t> pixels;
        for (int y = 0; y < attributes.height; ++y)
            for (int x = 0; x < attributes.width; ++x)
                pixels.push_back(uint32_t(XGetPixel(shot, x, y)) & 0xFFFFFFu);
        XDestroyImage(shot);
        lastShot = platform::Image::fromPixels(attributes.width, attributes.height, pixels.data());
        return platform::makeFolders("screenshots") && lastShot.writePng("screenshots/" + name);
    }
    // A grab by the host of a key our hot keys hold fails while they hold it.
    bool hostCanGrab(KeySym sym, unsigned int modifiers)
    {
        static int failures;
        failures = 0;
        XErrorHandler previous = XSetErrorHandler([](Display*, XErrorEvent*) {
            ++failures;
            return 0;
        });
        XGrabKey(host, XKeysymToKeycode(host, sym), modifiers, DefaultRootWindow(host), True, GrabModeAsync,
                 GrabModeAsync);
        XSync(host, False);
        XUngrabKey(host, XKeysymToKeycode(host, sym), modifiers, DefaultRootWindow(host));
        XSync(host, False);
        XSetErrorHandler(previous);
        return failures == 0;
    }

    std::unique_ptr<XvfbServer> server;
    std::string savedDisplay;
    Display* host = nullptr;
    std::unique_ptr<TesselPlugin> plugin;
    TesselEditor* editor = nullptr;
    platform::Image lastShot;
};

TEST_F(EditorOnX, TheEditorOpensOverTheHostsWindowAndTakesXTestKeys)
{
    const ::Window hostWindow = makeHostWindow();
    ASSERT_EQ(dispatch(effEditOpen, 0, reinterpret_cast<void*>(hostWindow)), 1);
    ASSERT_TRUE(idleUntil([&] { return !topLevelsNamed("Quorbel Window").empty(); }));

    // The toolbar frame is a child of the host's window.
    const auto toolbarXid = static_cast<::Window>(editor->toolbarFrame()->getWindow()->handle());
    const std::vector<::Window> hostChildren = childrenOf(hostWindow);
    EXPECT_NE(std::find(hostChildren.begin(), hostChildren.end(), toolbarXid), hostChildren.end());
    // "Quorbel Window" stands 10 pixels below it, transient for it.
    const ::Window editorXid = topLevelsNamed("Quorbel Window").front();
    XWindowAttributes attributes{};
    XGetWindowAttributes(host, editorXid, &attributes);
    int x = 0, y = 0;
    ::Window child = 0;
    XTranslateCoordinates(host, editorXid, DefaultRootWindow(host), 0, 0, &x, &y, &child);
    EXPECT_EQ(x, kHostX);
    EXPECT_EQ(y, kHostY + 36 + 10);
    EXPECT_EQ(attributes.width, 723);
    EXPECT_EQ(attributes.height, 499);
    ::Window owner = 0;
    ASSERT_TRUE(XGetTransientForHint(host, editorXid, &owner));
    EXPECT_EQ(owner, hostWindow);
    EXPECT_FALSE(hostCanGrab(XK_t, ControlMask | Mod1Mask));   // our hot key holds it

    ASSERT_TRUE(idleUntil([&] { return !editor->splash()->isAnimating(); }));
    idlePasses(5);   // every page drawn
    ASSERT_TRUE(writeShot(editorXid, "editor_open.png"));
    // The splash's logo stands over the pattern editor: amber letters near the middle.
    int amber = 0;
    for (int32_t py = 200; py < 300; ++py)
        for (int32_t px = 200; px < 520; ++px) {
            const platform::Colour c = lastShot.pixelAt(px, py);
            amber += c.red > 200 && c.green > 150 && c.blue < 160;
        }
    EXPECT_GT(amber, 500);

    // Keys: the focus comes with a click, the first key fades the splash out.
    editor->frame2()->getWindow()->takeFocus();
    tap(XK_Shift_L);
    ASSERT_TRUE(idleUntil([&] { return !editor->splash()->isShown(); }));
    tap(XK_F3);
    ASSERT_TRUE(idleUntil([&] { return currentPageNumber() == kSampleListPage; }));
    idlePasses(5);
    ASSERT_TRUE(writeShot(editorXid, "editor_sample_list.png"));
    // The sample list's panel at (9, 43): its title strip where the pattern editor was.
    EXPECT_NE(lastShot.pixelAt(20, 50), lastShot.pixelAt(5, 50));
    // The toolbar fills the host's window.
    ASSERT_TRUE(writeShot(hostWindow, "editor_toolbar.png"));
    EXPECT_NE(lastShot.pixelAt(300, 10), platform::rgb(0x30, 0x30, 0x30));

    // Shift+F5 goes on to the host's window, as a key of its own.
    key(XK_Shift_L, true);
    tap(XK_F5);
    key(XK_Shift_L, false);
    bool hostGotF5 = false;
    idleUntil([&] {
        while (XPending(host)) {
            XEvent event;
            XNextEvent(host, &event);
            if (event.type == KeyPress && event.xkey.send_event && (event.xkey.state & ShiftMask)
                && XLookupKeysym(&event.xkey, 0) == XK_F5)
                hostGotF5 = true;
        }
        return hostGotF5;
    });
    EXPECT_TRUE(hostGotF5);
    EXPECT_EQ(currentPageNumber(), kSampleListPage);

    // effEditClose: both windows and the grabs go.
    dispatch(effEditClose);
    XSync(host, False);
    EXPECT_TRUE(childrenOf(hostWindow).empty());
    EXPECT_TRUE(topLevelsNamed("Quorbel Window").empty());
    EXPECT_TRUE(hostCanGrab(XK_t, ControlMask | Mod1Mask));
    EXPECT_TRUE(hostCanGrab(XK_F2, ControlMask | Mod1Mask));
}

TEST_F(EditorOnX, ThePatternEditorWithADemoSongASelectionAndTheInfoBar)
{
    const ::Window hostWindow = makeHostWindow();
    ASSERT_EQ(dispatch(effEditOpen, 0, reinterpret_cast<void*>(hostWindow)), 1);
    ASSERT_TRUE(idleUntil([&] { return !topLevelsNamed("Quorbel Window").empty(); }));
    const ::Window editorXid = topLevelsNamed("Quorbel Window").front();
    editor->frame2()->getWindow()->takeFocus();
    tap(XK_Shift_L);
    ASSERT_TRUE(idleUntil([&] { return !editor->splash()->isShown(); }));

    auto* page = dynamic_cast<TesselPatternEditorUI*>(editor->pages().patternEditor);
    ASSERT_NE(page, nullptr);
    fillDemoSongInto(plugin->getEngine().song);
    page->fillInstrumentList(0);
    page->goToPattern(0, true);
    page->grid().moveCursorTo(1 * 9, 8);
    key(XK_Alt_L, true);
    tap(XK_d);   // a block of four rows in the bass channel
    key(XK_Alt_L, false);
    ASSERT_TRUE(idleUntil([&] { return page->grid().selection.active; }));
    EXPECT_EQ(page->grid().selection.start.channel, 1);
    page->grid().moveCursorTo(3 * 9 + 6, 14);
    key(XK_Shift_L, true);
    tap(XK_slash);   // '?': the info bar
    key(XK_Shift_L, false);
    ASSERT_TRUE(idleUntil([&] { return page->infoPanel().mostlyShown(); }));
    idlePasses(12);   // the bar slides all the way in
    ASSERT_TRUE(writeShot(editorXid, "pattern_editor_demo.png"));

    const auto count = [this](platform::Colour colour) {
        int n = 0;
        for (int y = 0; y < lastShot.height(); ++y)
            for (int x = 0; x < lastShot.width(); ++x)
                n += lastShot.pixelAt(x, y) == colour;
        return n;
    };
    EXPECT_GT(count(gridColour(kColourSelection)), 500);   // four rows of one channel
    EXPECT_GT(count(gridColour(kColourMajorRow)), 1000);    // the highlighted rows
    EXPECT_GT(count(platform::rgb(255, 200, 96)), 400);     // the info bar's edge
    dispatch(effEditClose);
}

TEST_F(EditorOnX, TheContextMenuOverTheOptionsPanel)
{
    plugin.reset();
    plugin = std::make_unique<TesselPlugin>(IdleHost::callback);
    editor = dynamic_cast<TesselEditor*>(plugin->pluginEditor());
    ASSERT_NE(editor, nullptr);
    const ::Window hostWindow = makeHostWindow();
    ASSERT_EQ(dispatch(effEditOpen, 0, reinterpret_cast<void*>(hostWindow)), 1);
    ASSERT_TRUE(idleUntil([&] { return !topLevelsNamed("Quorbel Window").empty(); }));
    const ::Window editorXid = topLevelsNamed("Quorbel Window").front();
    editor->frame2()->getWindow()->takeFocus();
    tap(XK_Shift_L);
    ASSERT_TRUE(idleUntil([&] { return !editor->splash()->isShown(); }));
    auto* page = dynamic_cast<TesselPatternEditorUI*>(editor->pages().patternEditor);
    ASSERT_NE(page, nullptr);
    fillDemoSongInto(plugin->getEngine().song);
    page->fillInstrumentList(0);
    page->goToPattern(0, true);

    tap(XK_F2);
    ASSERT_TRUE(idleUntil([&] { return page->optionsPanel().isShown(); }));
    idlePasses(5);
    ASSERT_TRUE(writeShot(editorXid, "pattern_options_x11.png"));
    const platform::Image panelShown = lastShot.clone();

    // The right button over the grid: the menu's loop runs the host's idle,
    // where the screen is taken and Escape closes the menu.
    int x = 0, y = 0;
    ::Window child = 0;
    XTranslateCoordinates(host, editorXid, DefaultRootWindow(host), 500, 300, &x, &y, &child);
    int idles = 0;
    bool shot = false;
    IdleHost::onIdle = [&] {
        if (++idles == 4) {
            XSync(host, False);
            shot = writeShot(DefaultRootWindow(host), "pattern_context_menu_x11.png");
            tap(XK_Escape);
        }
    };
    XTestFakeMotionEvent(host, -1, x, y, CurrentTime);
    XTestFakeButtonEvent(host, 3, True, CurrentTime);
    XTestFakeButtonEvent(host, 3, False, CurrentTime);
    XFlush(host);
    idleUntil([&] { return shot; });
    IdleHost::onIdle = nullptr;
    ASSERT_TRUE(shot);
    // The menu covers the grid right of and below the click.
    int changed = 0;
    for (int py = 0; py < 120; ++py)
        for (int px = 0; px < 120; ++px) {
            const int ex = 500 + 4 + px;
            const int ey = 300 + 4 + py;
            changed += lastShot.pixelAt(x + 4 + px, y + 4 + py) != panelShown.pixelAt(ex, ey);
        }
    EXPECT_GT(changed, 3000);
    EXPECT_TRUE(page->optionsPanel().isShown());
    dispatch(effEditClose);
}

} // namespace
