#include "x11_fixture.h"

#include <X11/Xatom.h>

#include <atomic>
#include <cstring>
#include <thread>

namespace {

struct Closer : platform::WindowHandler {
    bool handleMessage(platform::Window&, platform::WindowMessage& message) override
    {
        closes += message.kind == platform::MessageKind::Close;
        return true;
    }
    int closes = 0;
};

class X11TopLevelTest : public X11Test {
protected:
    std::vector<unsigned long> cardinals(::Window w, const char* name, Atom type)
    {
        Atom actual = None;
        int format = 0;
        unsigned long count = 0, rest = 0;
        unsigned char* data = nullptr;
        std::vector<unsigned long> out;
        if (XGetWindowProperty(host, w, XInternAtom(host, name, False), 0, 1 << 16, False, type, &actual, &format,
                               &count, &rest, &data) == Success && data) {
            const auto* values = reinterpret_cast<const unsigned long*>(data);
            out.assign(values, values + count);
            XFree(data);
        }
        return out;
    }
};

TEST_F(X11TopLevelTest, TheEditorWindowStaysAboveTheHostsTopLevelAndClosesOnRequest)
{
    // The host's window sits in its top level (WM_STATE set, as a window
    // manager does), which sits in a manager's frame.
    const ::Window frame = hostWindow({40, 40, 700, 520});
    const int screen = DefaultScreen(host);
    const ::Window topLevel = XCreateSimpleWindow(host, frame, 0, 20, 640, 480, 0, 0, 0);
    const long normal[2] = {1, 0};
    const Atom wmState = XInternAtom(host, "WM_STATE", False);
    XChangeProperty(host, topLevel, wmState, wmState, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(normal), 2);
    const ::Window inner = XCreateSimpleWindow(host, topLevel, 0, 0, 493, 36, 0, 0, 0);
    XMapSubwindows(host, frame);
    XMapSubwindows(host, topLevel);
    XSync(host, False);

    Closer closer;
    platform::WindowOptions options;
    options.kind = platform::WindowOptions::Kind::TopLevel;
    options.parent = windows->findWindow(inner);
    options.rect = {40, 106, 763, 605};
    options.title = "Quorbel Window";
    options.className = "Quorbel";
    options.visible = false;
    options.handler = &closer;
    auto editor = windows->createWindow(options);
    ASSERT_NE(editor, nullptr);
    const auto xid = ::Window(editor->handle());
    editor->setKeepAbove(true);
    editor->setIcon(platform::Image(32, 32, platform::rgb(200, 0, 0)));
    editor->show(true);
    settle();

    ::Window transient = 0;
    ASSERT_TRUE(XGetTransientForHint(host, xid, &transient));
    EXPECT_EQ(transient, topLevel);
    XClassHint hint{};
    ASSERT_TRUE(XGetClassHint(host, xid, &hint));
    EXPECT_STREQ(hint.res_class, "Quorbel");
    XFree(hint.res_name);
    XFree(hint.res_class);
    EXPECT_EQ(cardinals(xid, "_NET_WM_STATE", XA_ATOM),
              std::vector<unsigned long>{XInternAtom(host, "_NET_WM_STATE_ABOVE", False)});
    const std::vector<unsigned long> icon = cardinals(xid, "_NET_WM_ICON", XA_CARDINAL);
    ASSERT_EQ(icon.size(), 2u + 32u * 32u);
    EXPECT_EQ(icon[0], 32u);
    EXPECT_EQ(icon[2] & 0xFFFFFFFFu, 0xFFC80000u);   // Xlib widens the 32 bits with their sign
    char* name = nullptr;
    ASSERT_TRUE(XFetchName(host, xid, &name));
    EXPECT_STREQ(name, "Quorbel Window");
    XFree(name);
    // Ancestor searches walk the host's windows up to its top level, not into the manager's frame.
    EXPECT_EQ(windows->findWindow(inner)->parent(), windows->findWindow(topLevel));
    EXPECT_EQ(windows->findWindow(topLevel)->parent(), nullptr);
    EXPECT_TRUE(windows->findWindow(topLevel)->isTopLevel());

    // The window manager's close button.
    XEvent close{};
    close.xclient.type = ClientMessage;
    close.xclient.window = xid;
    close.xclient.message_type = XInternAtom(host, "WM_PROTOCOLS", False);
    close.xclient.format = 32;
    close.xclient.data.l[0] = long(XInternAtom(host, "WM_DELETE_WINDOW", False));
    XSendEvent(host, xid, False, NoEventMask, &close);
    settle();
    EXPECT_EQ(closer.closes, 1);

    // Merged with the host: a child of the host's window, and back.
    editor->setParent(windows->findWindow(topLevel));
    settle();
    ::Window rootReturn = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    XQueryTree(host, xid, &rootReturn, &parent, &children, &count);
    EXPECT_EQ(parent, topLevel);
    EXPECT_FALSE(editor->isTopLevel());
    editor->setParent(nullptr);
    settle();
    XQueryTree(host, xid, &rootReturn, &parent, &children, &count);
    EXPECT_EQ(parent, RootWindow(host, screen));

    windows->warpPointer({321, 234});
    EXPECT_EQ(windows->cursorPosition(), (platform::Point{321, 234}));
    editor.reset();
}

// The host owns the clipboard on a thread of its own and answers (or not).
void serveClipboard(const std::string& display, const char* text, std::atomic<bool>& ready)
{
    Display* owner = XOpenDisplay(display.c_str());
    const ::Window w = XCreateSimpleWindow(owner, DefaultRootWindow(owner), 0, 0, 1, 1, 0, 0, 0);
    const Atom clipboard = XInternAtom(owner, "CLIPBOARD", False);
    XSetSelectionOwner(owner, clipboard, w, CurrentTime);
    XSync(owner, False);
    ready = true;
    for (int wait = 0; wait < 500; ++wait) {
        if (!XPending(owner)) {
            usleep(10000);
            continue;
        }
        XEvent event;
        XNextEvent(owner, &event);
        if (event.type != SelectionRequest)
            continue;
        if (!text)
            break;   // a hung owner
        const XSelectionRequestEvent& request = event.xselectionrequest;
        XChangeProperty(owner, request.requestor, request.property, request.target, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(text), int(strlen(text)));
        XEvent answer{};
        answer.xselection.type = SelectionNotify;
        answer.xselection.requestor = request.requestor;
        answer.xselection.selection = request.selection;
        answer.xselection.target = request.target;
        answer.xselection.property = request.property;
        answer.xselection.time = request.time;
        XSendEvent(owner, request.requestor, False, NoEventMask, &answer);
        XSync(owner, False);
        break;
    }
    XCloseDisplay(owner);
}

TEST_F(X11TopLevelTest, ClipboardTextArrivesAsLatin1AndAHungOwnerIsNotWaitedFor)
{
    EXPECT_EQ(windows->clipboardText(), "");   // nobody owns it

    std::atomic<bool> ready{false};
    std::thread answering(serveClipboard, server->name(), "Caf\xC3\xA9 \xE2\x86\x92 ok", std::ref(ready));
    while (!ready)
        usleep(1000);
    EXPECT_EQ(windows->clipboardText(), "Caf\xE9  ok");
    answering.join();

    ready = false;
    std::thread hung(serveClipboard, server->name(), nullptr, std::ref(ready));
    while (!ready)
        usleep(1000);
    EXPECT_EQ(windows->clipboardText(), "");
    hung.join();
}

} // namespace
