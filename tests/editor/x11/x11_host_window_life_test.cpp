// The editor window beside a host's window under a real window manager
// (openbox on the test's own Xvfb): it goes and comes with the host's
// window and is linked anew each time, keeps its caption on its monitor,
// names the host's client window as its owner (also before the manager has
// marked it, and after the host moves it elsewhere), gives way to the host's
// modal dialogs, and in manual key mode the keys the host hands on enter
// notes.

#include "x11_editor_fixture.h"

#include "engine/engine.h"
#include "support/window_manager.h"
#include "support/x11_grab.h"
#include "support/x11_properties.h"

#include <X11/Xatom.h>
#include <X11/extensions/Xrandr.h>

#include <functional>
#include <sstream>

#include <unistd.h>

namespace {

constexpr int kToolbarWidth = 493;
constexpr int kToolbarHeight = 36;

std::string text(const platform::Rect& r)
{
    std::ostringstream out;
    out << r.left << "," << r.top << " " << r.width() << "x" << r.height();
    return out.str();
}

class EditorBesideAManagedHost : public EditorOnX {
protected:
    void SetUp() override
    {
        EditorOnX::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(outside_tools::have({"openbox"}));
        manager = std::make_unique<WindowManager>(server->name());
        ASSERT_TRUE(manager->running()) << "openbox did not start managing windows";
        TesselPreferences& preferences = pluginPreferences();
        preferences.linkWindows = 1;
        preferences.alwaysOnTop = 1;
    }
    void TearDown() override
    {
        plugin.reset();
        manager.reset();
        EditorOnX::TearDown();
    }

    ::Window root() const { return DefaultRootWindow(host); }

    // A top-level window of the host's where it asks to be (USPosition),
    // transient for its owner when it has one; mapped, not yet managed.
    ::Window hostTopLevel(int x, int y, int width, int height, const char* name, ::Window owner = 0,
                          bool modal = false, const std::function<void(::Window)>& mark = {})
    {
        XSetWindowAttributes set{};
        set.background_pixel = 0x305070;
        const ::Window w = XCreateWindow(host, root(), x, y, unsigned(width), unsigned(height), 0, CopyFromParent,
                                         InputOutput, CopyFromParent, CWBackPixel, &set);
        XSizeHints hints{};
        hints.flags = USPosition | USSize;
        hints.x = x;
        hints.y = y;
        hints.width = width;
        hints.height = height;
        XSetWMNormalHints(host, w, &hints);
        XStoreName(host, w, name);
        if (owner)
            XSetTransientForHint(host, w, owner);
        if (modal) {
            const Atom state = XInternAtom(host, "_NET_WM_STATE_MODAL", False);
            XChangeProperty(host, w, XInternAtom(host, "_NET_WM_STATE", False), XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(&state), 1);
        }
        XSelectInput(host, w, KeyPressMask | KeyReleaseMask);
        if (mark)
            mark(w);
        XMapWindow(host, w);
        XSync(host, False);
        return w;
    }
    // Up to `count` longs of a format-32 property; empty when there is none.
    std::vector<long> property(::Window w, const char* name, long count)
    {
        return x11_read::property32(host, w, name, count);
    }
    // Framed and marked by the window manager.
    bool managed(::Window w)
    {
        return !property(w, "WM_STATE", 2).empty() && property(w, "_NET_FRAME_EXTENTS", 4).size() == 4;
    }
    bool waitUntilManaged(::Window w)
    {
        return idleUntil([&] { return managed(w); });
    }
    bool viewable(::Window w)
    {
        XWindowAttributes attributes{};
        return w && XGetWindowAttributes(host, w, &attributes) && attributes.map_state == IsViewable;
    }
    ::Window editorXid() const
    {
        return editor->editorWindow() ? static_cast<::Window>(editor->editorWindow()->handle()) : 0;
    }
    ::Window ownerOf(::Window w)
    {
        ::Window owner = 0;
        return XGetTransientForHint(host, w, &owner) ? owner : 0;
    }
    // A window's client area on the screen.
    platform::Rect clientRect(::Window w)
    {
        XWindowAttributes attributes{};
        XGetWindowAttributes(host, w, &attributes);
        int x = 0, y = 0;
        ::Window child = 0;
        XTranslateCoordinates(host, w, root(), 0, 0, &x, &y, &child);
        return platform::rectOfSize(x, y, attributes.width, attributes.height);
    }
    // The window with the window manager's frame, caption included.
    platform::Rect frameRect(::Window w)
    {
        const platform::Rect client = clientRect(w);
        std::vector<long> extents = property(w, "_NET_FRAME_EXTENTS", 4);   // left, right, top, bottom
        extents.resize(4, 0);
        return {client.left - int32_t(extents[0]), client.top - int32_t(extents[2]),
                client.right + int32_t(extents[1]), client.bottom + int32_t(extents[3])};
    }
    // The editor window shown with its frame's corner 2 pixels left of the
    // host's window and 4 below it.
    bool shownLinkedBelow(::Window hostWindow)
    {
        if (!viewable(editorXid()) || !managed(editorXid()))
            return false;
        const platform::Rect below = clientRect(hostWindow);
        const platform::Rect frame = frameRect(editorXid());
        return frame.left == below.left - 2 && frame.top == below.bottom + 4;
    }
    void shootScreen(const std::string& name)
    {
        const platform::Image screen = grabWindow(host, root());
        EXPECT_TRUE(platform::makeFolders("screenshots") && screen.writePng("screenshots/" + name));
    }
    VstIntPtr hostKey(VstInt32 opcode, int32_t character, uint8_t virtualKey = 0, uint8_t modifiers = 0)
    {
        AEffect* effect = plugin->getAeffect();
        return effect->dispatcher(effect, opcode, character, virtualKey, nullptr, static_cast<float>(modifiers));
    }
    int pitchAt(int row)
    {
        const TesselRow* found = plugin->getEngine().song.patterns[0].findRow(0, row);
        return found ? found->pitch : -1;
    }

    std::unique_ptr<WindowManager> manager;
};

TEST_F(EditorBesideAManagedHost, TheEditorWindowGoesAndComesBackLinkedWithTheHostsWindow)
{
    const ::Window top = hostTopLevel(120, 90, kToolbarWidth, kToolbarHeight, "Host");
    ASSERT_TRUE(waitUntilManaged(top));
    ASSERT_EQ(dispatch(effEditOpen, 0, reinterpret_cast<void*>(top)), 1);
    ASSERT_TRUE(idleUntil([&] { return editorXid() && shownLinkedBelow(top); }));
    EXPECT_EQ(ownerOf(editorXid()), top);
    ASSERT_TRUE(idleUntil([&] { return !editor->splash()->isAnimating(); }));
    shootScreen("host_life_open.png");

    // A host closes its plug-in's window by hiding it, and may show it
    // again anywhere: each time the editor window goes, and comes back
    // just below it.
    for (int round = 0; round < 5; ++round) {
        XUnmapWindow(host, top);
        ASSERT_TRUE(idleUntil([&] { return !viewable(editorXid()); })) << "round " << round;
        EXPECT_TRUE(editor->isWindowVisible());   // hidden with the host, not closed
        if (round == 0)
            shootScreen("host_life_hidden.png");
        XMoveWindow(host, top, 40 + 50 * round, 40 + 25 * round);
        XMapWindow(host, top);
        ASSERT_TRUE(idleUntil([&] { return shownLinkedBelow(top); }))
            << "round " << round << ": host " << text(clientRect(top)) << ", editor " << text(frameRect(editorXid()));
        EXPECT_EQ(ownerOf(editorXid()), top);
    }
    shootScreen("host_life_reopened.png");

    // Iconified by the window manager: the editor window goes along.
    XIconifyWindow(host, top, DefaultScreen(host));
    ASSERT_TRUE(idleUntil([&] { return !viewable(editorXid()); }));
    XMapWindow(host, top);
    ASSERT_TRUE(idleUntil([&] { return shownLinkedBelow(top); }));

    // Hidden by its own user, it stays hidden when the host comes back.
    editor->hideEditorWindow();
    XUnmapWindow(host, top);
    idlePasses(3);
    XMapWindow(host, top);
    ASSERT_TRUE(idleUntil([&] { return viewable(top); }));
    idlePasses(10);
    EXPECT_FALSE(viewable(editorXid()));
    dispatch(effEditClose);
}

TEST_F(EditorBesideAManagedHost, TheLinkedWindowKeepsItsCaptionOnItsMonitor)
{
    // Two monitors side by side, 800 and 224 pixels wide, as XRandR tells them.
    XRRScreenResources* resources = XRRGetScreenResourcesCurrent(host, root());
    ASSERT_NE(resources, nullptr);
    ASSERT_GE(resources->noutput, 1);
    const struct {
        const char* name;
        int x, width;
        bool withOutput;
    } monitors[] = {{"LEFT", 0, 800, true}, {"RIGHT", 800, 224, false}};
    for (const auto& m : monitors) {
        XRRMonitorInfo* info = XRRAllocateMonitor(host, m.withOutput ? 1 : 0);
        info->name = XInternAtom(host, m.name, False);
        info->x = m.x;
        info->y = 0;
        info->width = m.width;
        info->height = 768;
        info->mwidth = m.width / 4;
        info->mheight = 192;
        if (m.withOutput)
            info->outputs[0] = resources->outputs[0];
        XRRSetMonitor(host, root(), info);
        XRRFreeMonitors(info);
    }
    XRRFreeScreenResources(resources);
    XSync(host, False);

    // The host's window in the bottom-right corner of the left monitor:
    // just below it the editor window would leave the screen at the bottom
    // and reach onto the other monitor; kept on the monitor there, it would
    // cover the host's window and its controls.
    const ::Window top = hostTopLevel(800 - kToolbarWidth - 10, 768 - kToolbarHeight - 60, kToolbarWidth,
                                      kToolbarHeight, "Host");
    ASSERT_TRUE(waitUntilManaged(top));
    ASSERT_EQ(dispatch(effEditOpen, 0, reinterpret_cast<void*>(top)), 1);
    const platform::Rect left{0, 0, 800, 768};
    const auto inside = [&](const platform::Rect& area) {
        const platform::Rect frame = frameRect(editorXid());
        return viewable(editorXid()) && managed(editorXid()) && intersect(frame, area) == frame;
    };
    ASSERT_TRUE(idleUntil([&] { return editorXid() && inside(left); })) << text(frameRect(editorXid()));
    // Just above the host's window, its caption included, as far right as
    // the monitor lets it be.
    const platform::Rect frame = frameRect(editorXid());
    const platform::Rect hostFrame = frameRect(top);
    EXPECT_EQ(frame.right, left.right);
    EXPECT_EQ(frame.bottom, hostFrame.top - 4) << text(frame) << " over " << text(hostFrame);
    EXPECT_TRUE(intersect(frame, hostFrame).empty());
    ASSERT_TRUE(idleUntil([&] { return !editor->splash()->isAnimating(); }));
    shootScreen("host_corner_monitor.png");

    // Following the host to the top-left corner: just below it again.
    XMoveWindow(host, top, 20, 10);
    ASSERT_TRUE(idleUntil([&] { return shownLinkedBelow(top); })) << text(frameRect(editorXid()));
    dispatch(effEditClose);
}

TEST_F(EditorBesideAManagedHost, TheOwnerIsTheHostsClientWindowAlsoBeforeTheManagerMarksIt)
{
    // Opened as soon as the host maps its window, while the manager may be
    // framing it: never the frame.
    for (int start = 0; start < 3; ++start) {
        const ::Window top = hostTopLevel(100 + 30 * start, 80, kToolbarWidth, kToolbarHeight, "Host");
        ASSERT_EQ(dispatch(effEditOpen, 0, reinterpret_cast<void*>(top)), 1);
        ASSERT_TRUE(idleUntil([&] { return editorXid() && viewable(editorXid()); }));
        EXPECT_EQ(ownerOf(editorXid()), top) << "start " << start;
        dispatch(effEditClose);
        XDestroyWindow(host, top);
    }

    // A window manager's frame before WM_STATE is written: the host's window
    // inside a window that takes its children's requests, no WM_STATE at all.
    XSetWindowAttributes set{};
    set.override_redirect = True;
    set.background_pixel = 0x808080;
    const ::Window frameXid = XCreateWindow(host, root(), 100, 60, kToolbarWidth + 2, kToolbarHeight + 25, 0,
                                            CopyFromParent, InputOutput, CopyFromParent,
                                            CWOverrideRedirect | CWBackPixel, &set);
    const ::Window client = XCreateWindow(host, frameXid, 1, 20, kToolbarWidth, kToolbarHeight, 0, CopyFromParent,
                                          InputOutput, CopyFromParent, 0, nullptr);
    XMapWindow(host, client);
    XSelectInput(host, frameXid, SubstructureRedirectMask);
    XMapWindow(host, frameXid);
    XSync(host, False);
    ASSERT_TRUE(property(client, "WM_STATE", 2).empty());
    ASSERT_EQ(dispatch(effEditOpen, 0, reinterpret_cast<void*>(client)), 1);
    ASSERT_TRUE(idleUntil([&] { return editorXid() && viewable(editorXid()); }));
    EXPECT_EQ(ownerOf(editorXid()), client);

    // The host moves its window into another top-level window of its own:
    // the hint, the hook and the link follow; the old frame may go.
    const ::Window other = hostTopLevel(100, 60, 600, 100, "Host Other");
    ASSERT_TRUE(waitUntilManaged(other));
    XReparentWindow(host, client, other, 50, 30);
    XDestroyWindow(host, frameXid);
    XSync(host, False);
    ASSERT_TRUE(idleUntil([&] { return ownerOf(editorXid()) == other && shownLinkedBelow(client); }))
        << "owner " << ownerOf(editorXid()) << ", editor " << text(frameRect(editorXid()));
    shootScreen("host_owner_moved.png");
    XMoveWindow(host, other, 80, 110);   // the hook hears the new top window
    ASSERT_TRUE(idleUntil([&] { return shownLinkedBelow(client); })) << text(frameRect(editorXid()));
    dispatch(effEditClose);
}

TEST_F(EditorBesideAManagedHost, KeysTheHostHandsOnEnterNotesInManualKeyMode)
{
    pluginPreferences().keyboardMode = 1;
    const ::Window top = hostTopLevel(120, 90, kToolbarWidth, kToolbarHeight, "Host");
    ASSERT_TRUE(waitUntilManaged(top));
    ASSERT_EQ(dispatch(effEditOpen, 0, reinterpret_cast<void*>(top)), 1);
    ASSERT_TRUE(idleUntil([&] { return editorXid() && viewable(editorXid()); }));
    hostKey(effEditKeyDown, 0, kVkShift);   // the first key ends the splash
    ASSERT_TRUE(idleUntil([&] { return !editor->splash()->isShown(); }));

    // The user types with the host's window focused; the host hears the
    // keys and hands them on through effEditKeyDown and effEditKeyUp.
    XSetInputFocus(host, top, RevertToParent, CurrentTime);
    XSync(host, False);
    for (KeySym sym : {XK_q, XK_w, XK_e})
        tap(sym);
    int handedOn = 0;
    ASSERT_TRUE(idleUntil([&] {
        while (XPending(host)) {
            XEvent event;
            XNextEvent(host, &event);
            if ((event.type != KeyPress && event.type != KeyRelease) || event.xkey.window != top)
                continue;
            char typed[4] = {};
            KeySym sym = 0;
            XLookupString(&event.xkey, typed, sizeof typed, &sym, nullptr);
            EXPECT_EQ(hostKey(event.type == KeyPress ? effEditKeyDown : effEditKeyUp, typed[0]), 1);
            handedOn += event.type == KeyPress;
        }
        return handedOn == 3;
    }));
    idlePasses(3);
    EXPECT_EQ(pitchAt(0), 60);
    EXPECT_EQ(pitchAt(1), 62);
    EXPECT_EQ(pitchAt(2), 64);
    EXPECT_EQ(editor->getKeyMode(), 1);
    ASSERT_TRUE(idleUntil([&] { return !editor->splash()->isAnimating(); }));
    idlePasses(5);
    ASSERT_TRUE(writeShot(editorXid(), "host_keys_notes.png"));
    dispatch(effEditClose);
}

TEST_F(EditorBesideAManagedHost, TheHostsModalDialogsHideTheEditorWindowWhileTheyShow)
{
    const ::Window main = hostTopLevel(40, 40, 700, 80, "Host Main");
    ASSERT_TRUE(waitUntilManaged(main));
    const ::Window top = hostTopLevel(120, 170, kToolbarWidth, kToolbarHeight, "Host Plug-in", main);
    ASSERT_TRUE(waitUntilManaged(top));
    ASSERT_EQ(dispatch(effEditOpen, 0, reinterpret_cast<void*>(top)), 1);
    ASSERT_TRUE(idleUntil([&] { return editorXid() && shownLinkedBelow(top); }));

    // A dialog of the plug-in's window.
    const ::Window dialog = hostTopLevel(300, 330, 320, 140, "Host Dialog", top);
    ASSERT_TRUE(idleUntil([&] { return !viewable(editorXid()); }));
    EXPECT_TRUE(editor->isWindowVisible());
    shootScreen("host_dialog_shown.png");
    XUnmapWindow(host, dialog);
    ASSERT_TRUE(idleUntil([&] { return shownLinkedBelow(top); }));

    // A modal dialog of the host's main window, the plug-in window's owner.
    const ::Window modal = hostTopLevel(200, 300, 360, 120, "Host Modal", main, true);
    ASSERT_TRUE(idleUntil([&] { return !viewable(editorXid()); }));
    XDestroyWindow(host, modal);
    ASSERT_TRUE(idleUntil([&] { return shownLinkedBelow(top); }));
    shootScreen("host_dialog_gone.png");

    // Another window of the main window that is not modal (another
    // plug-in's) leaves the editor window alone.
    const ::Window other = hostTopLevel(700, 400, 200, 100, "Other Plug-in", main);
    ASSERT_TRUE(waitUntilManaged(other));
    idlePasses(10);
    EXPECT_TRUE(viewable(editorXid()));

    // Not kept on top, the editor window stays under dialogs as any window.
    editor->setAlwaysOnTop(false);
    XMapWindow(host, dialog);
    ASSERT_TRUE(waitUntilManaged(dialog));
    idlePasses(10);
    EXPECT_TRUE(viewable(editorXid()));
    dispatch(effEditClose);
}

// What a host writes on its windows that tells which program made them.
struct MadeBy {
    long pid = 0;
    ::Window leader = 0;
    ::Window group = 0;

    void writeOn(Display* display, ::Window w) const
    {
        if (pid)
            XChangeProperty(display, w, XInternAtom(display, "_NET_WM_PID", False), XA_CARDINAL, 32,
                            PropModeReplace, reinterpret_cast<const unsigned char*>(&pid), 1);
        if (leader) {
            const long value = static_cast<long>(leader);
            XChangeProperty(display, w, XInternAtom(display, "WM_CLIENT_LEADER", False), XA_WINDOW, 32,
                            PropModeReplace, reinterpret_cast<const unsigned char*>(&value), 1);
        }
        if (group) {
            XWMHints hints{};
            hints.flags = WindowGroupHint;
            hints.window_group = group;
            XSetWMHints(display, w, &hints);
        }
    }
};

// A host that restores its plug-in's window with a saved session may show it
// without an owner: its modal dialogs, owned by its main window or by none,
// are known by the process, the client leader or the window group instead.
TEST_F(EditorBesideAManagedHost, TheHostsModalDialogsAreKnownByItsProcessWhenItsWindowNamesNoOwner)
{
    const ::Window leader = XCreateSimpleWindow(host, root(), 0, 0, 1, 1, 0, 0, 0);
    const MadeBy daw{static_cast<long>(getpid()), leader, leader};
    const auto byDaw = [&](::Window w) { daw.writeOn(host, w); };
    const ::Window main = hostTopLevel(40, 40, 700, 80, "Host Main", 0, false, byDaw);
    ASSERT_TRUE(waitUntilManaged(main));
    const ::Window top = hostTopLevel(120, 170, kToolbarWidth, kToolbarHeight, "Host Plug-in", 0, false, byDaw);
    ASSERT_TRUE(waitUntilManaged(top));
    ASSERT_EQ(dispatch(effEditOpen, 0, reinterpret_cast<void*>(top)), 1);
    ASSERT_TRUE(idleUntil([&] { return editorXid() && shownLinkedBelow(top); }));
    ASSERT_TRUE(idleUntil([&] { return !editor->splash()->isAnimating(); }));
    EXPECT_EQ(ownerOf(top), 0u);

    // The host's export dialog, owned by its main window, or by none, and
    // marked by one sign of the host's only.
    const struct {
        const char* what;
        MadeBy made;
        ::Window owner;
    } dialogs[] = {{"process, owned by the main window", {daw.pid, 0, 0}, main},
                   {"process, no owner", {daw.pid, 0, 0}, 0},
                   {"client leader", {0, leader, 0}, 0},
                   {"window group", {0, 0, leader}, main}};
    for (const auto& d : dialogs) {
        const ::Window modal = hostTopLevel(200, 300, 360, 120, "Export", d.owner, true,
                                            [&](::Window w) { d.made.writeOn(host, w); });
        ASSERT_TRUE(idleUntil([&] { return !viewable(editorXid()); })) << d.what;
        EXPECT_TRUE(editor->isWindowVisible()) << d.what;
        if (d.owner == 0 && d.made.pid)
            shootScreen("host_restored_dialog_shown.png");
        XDestroyWindow(host, modal);
        ASSERT_TRUE(idleUntil([&] { return shownLinkedBelow(top); })) << d.what;
    }

    // Another program's modal dialog leaves the editor window on top.
    const ::Window otherLeader = XCreateSimpleWindow(host, root(), 0, 0, 1, 1, 0, 0, 0);
    const MadeBy other{static_cast<long>(getppid()), otherLeader, otherLeader};
    const ::Window foreign = hostTopLevel(600, 420, 300, 100, "Other Program", 0, true,
                                          [&](::Window w) { other.writeOn(host, w); });
    ASSERT_TRUE(waitUntilManaged(foreign));
    idlePasses(10);
    EXPECT_TRUE(viewable(editorXid()));
    shootScreen("host_restored_other_program.png");
    XDestroyWindow(host, foreign);
    dispatch(effEditClose);
}

} // namespace
