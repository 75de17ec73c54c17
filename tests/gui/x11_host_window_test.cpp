// What a host needs of the window layer on a real display, with the roles of
// the fixture turned round: our window system is the host, the second
// connection the plug-in whose windows live inside ours. Children of another
// program are listed and placed, keys are handed on to them marked as sent,
// keys they send arrive marked with their own modifiers, and the window
// manager's maximised state and decorations are read and written.

#include "x11_fixture.h"

#include <X11/Xatom.h>

namespace {

struct Journal : platform::WindowHandler {
    bool handleMessage(platform::Window&, platform::WindowMessage& message) override
    {
        messages.push_back(message);
        return true;
    }
    std::vector<platform::WindowMessage> messages;
};

class X11HostWindowTest : public X11Test {
protected:
    void SetUp() override
    {
        X11Test::SetUp();
        frame = topLevel({20, 20, 620, 420}, &journal);
        ASSERT_NE(frame, nullptr);
    }
    void TearDown() override
    {
        frame.reset();
        X11Test::TearDown();
    }

    // A window of the other connection inside one of ours, taking keys.
    ::Window pluginWindow(const platform::Window& parent, const platform::Rect& r)
    {
        const ::Window w = XCreateSimpleWindow(host, ::Window(parent.handle()), r.left, r.top, unsigned(r.width()),
                                               unsigned(r.height()), 0, 0, 0);
        XSelectInput(host, w, KeyPressMask | KeyReleaseMask);
        XMapWindow(host, w);
        XSync(host, False);
        return w;
    }

    std::vector<Atom> atoms(::Window w, const char* name)
    {
        Atom actual = None;
        int format = 0;
        unsigned long count = 0, rest = 0;
        unsigned char* data = nullptr;
        std::vector<Atom> out;
        if (XGetWindowProperty(host, w, XInternAtom(host, name, False), 0, 64, False, AnyPropertyType, &actual,
                               &format, &count, &rest, &data) == Success && data) {
            out.assign(reinterpret_cast<const Atom*>(data), reinterpret_cast<const Atom*>(data) + count);
            XFree(data);
        }
        return out;
    }

    Journal journal;
    std::unique_ptr<platform::Window> frame;
};

} // namespace

TEST_F(X11HostWindowTest, AnotherProgramsChildIsListedPlacedAndHandedKeys)
{
    const ::Window first = pluginWindow(*frame, {0, 0, 100, 30});
    const ::Window second = pluginWindow(*frame, {10, 40, 200, 100});
    const std::vector<platform::Window*> inside = windows->children(*frame);
    ASSERT_EQ(inside.size(), 2u);
    EXPECT_EQ(::Window(inside[0]->handle()), first);
    EXPECT_EQ(::Window(inside[1]->handle()), second);   // the top of the stacking order last

    windows->placeWindow(*inside[1], {0, 50, 600, 400});
    windows->sync();   // handled by the server before the host asks
    XWindowAttributes placed{};
    XGetWindowAttributes(host, second, &placed);
    EXPECT_EQ(placed.x, 0);
    EXPECT_EQ(placed.y, 50);
    EXPECT_EQ(placed.width, 600);
    EXPECT_EQ(placed.height, 350);

    platform::WindowMessage key;
    key.kind = platform::MessageKind::KeyDown;
    key.input.bits = platform::kShiftHeld;
    key.key.windowsKey = platform::kWinF1 + 1;
    ASSERT_TRUE(windows->forwardKey(*inside[1], key));
    key.kind = platform::MessageKind::KeyUp;
    ASSERT_TRUE(windows->forwardKey(*inside[1], key));
    XEvent event;
    for (const int type : {KeyPress, KeyRelease}) {
        XWindowEvent(host, second, KeyPressMask | KeyReleaseMask, &event);
        EXPECT_EQ(event.type, type);
        EXPECT_TRUE(event.xkey.send_event);
        EXPECT_EQ(event.xkey.keycode, XKeysymToKeycode(host, XK_F2));
        EXPECT_EQ(event.xkey.state & ShiftMask, unsigned(ShiftMask));
    }
}

TEST_F(X11HostWindowTest, KeysAProgramSendsArriveMarkedWithTheirOwnShift)
{
    // Sent: the key goes where it was sent, with the state it carries,
    // whatever the keyboard holds.
    XEvent event{};
    event.xkey.type = KeyPress;
    event.xkey.window = ::Window(frame->handle());
    event.xkey.root = DefaultRootWindow(host);
    event.xkey.state = ShiftMask;
    event.xkey.keycode = XKeysymToKeycode(host, XK_F10);
    event.xkey.same_screen = True;
    XSendEvent(host, event.xkey.window, False, NoEventMask, &event);
    moveTo({100, 100});   // the focus follows the pointer onto our window
    tap(XK_a);            // typed: not sent
    settle();
    std::vector<platform::WindowMessage> keys;
    for (const auto& m : journal.messages)
        if (m.kind == platform::MessageKind::KeyDown)
            keys.push_back(m);
    ASSERT_GE(keys.size(), 1u);
    EXPECT_EQ(keys[0].key.windowsKey, platform::kWinF1 + 9);
    EXPECT_TRUE(keys[0].key.sent);
    EXPECT_TRUE(keys[0].input.bits & platform::kShiftHeld);
    for (size_t i = 1; i < keys.size(); ++i)
        EXPECT_FALSE(keys[i].key.sent);
}

TEST_F(X11HostWindowTest, MaximisedStateAndDecorationsGoThroughTheWindowManagersProperties)
{
    const auto xid = ::Window(frame->handle());
    frame->setDecorated(false);
    settle();
    const std::vector<Atom> hints = atoms(xid, "_MOTIF_WM_HINTS");
    ASSERT_EQ(hints.size(), 5u);
    EXPECT_EQ(hints[0], 2u);   // decorations given
    EXPECT_EQ(hints[2], 0u);   // none
    frame->setDecorated(true);
    settle();
    EXPECT_EQ(atoms(xid, "_MOTIF_WM_HINTS")[2], 1u);

    // A window manager maximising the window: the state property changes.
    const Atom vertical = XInternAtom(host, "_NET_WM_STATE_MAXIMIZED_VERT", False);
    const Atom horizontal = XInternAtom(host, "_NET_WM_STATE_MAXIMIZED_HORZ", False);
    const Atom both[2] = {vertical, horizontal};
    XChangeProperty(host, xid, XInternAtom(host, "_NET_WM_STATE", False), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(both), 2);
    settle();
    EXPECT_TRUE(frame->isMaximised());
    XDeleteProperty(host, xid, XInternAtom(host, "_NET_WM_STATE", False));
    settle();
    EXPECT_FALSE(frame->isMaximised());
    std::vector<intptr_t> changes;
    for (const auto& m : journal.messages)
        if (m.kind == platform::MessageKind::StateChanged)
            changes.push_back(m.param);
    EXPECT_EQ(changes, (std::vector<intptr_t>{1, 0}));
}
