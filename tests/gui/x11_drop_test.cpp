// Drops by XDND on a real display: a drag source of the test's own (as a
// file manager or a text editor would be) offers a URI list or text to a
// frame in the host's window, and the view under the pointer takes it.

#include "drop_view.h"
#include "x11_fixture.h"

#include <X11/Xatom.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

class XdndDrop : public X11Test {
protected:
    void SetUp() override
    {
        X11Test::SetUp();
        if (HasFatalFailure())
            return;
        source = XOpenDisplay(server->name().c_str());
        ASSERT_NE(source, nullptr);
        const char* names[] = {"XdndAware",    "XdndEnter",      "XdndPosition",   "XdndStatus",
                               "XdndDrop",     "XdndFinished",   "XdndSelection",  "XdndActionCopy",
                               "XdndActionMove", "text/uri-list", "text/plain;charset=utf-8", "XdndLeave"};
        Atom* slots[] = {&aware, &enter, &position, &status, &drop, &finished, &selection, &copy, &move, &uriList,
                         &plainUtf8, &leave};
        for (size_t i = 0; i < std::size(names); ++i)
            *slots[i] = XInternAtom(source, names[i], False);
        sourceWindow = XCreateSimpleWindow(source, DefaultRootWindow(source), 0, 0, 1, 1, 0, 0, 0);
        XSetSelectionOwner(source, selection, sourceWindow, CurrentTime);
        XSync(source, False);

        frame = std::make_unique<CFrame>(CRect(0, 0, 300, 200), windows->findWindow(hostWindow({40, 30, 340, 230})),
                                         &editor);
        view = new DropView(CRect(0, 0, 300, 200));
        frame->addView(view);
        target = static_cast<::Window>(frame->getWindow()->handle());
        settle();
    }

    void TearDown() override
    {
        frame.reset();
        if (source)
            XCloseDisplay(source);
        X11Test::TearDown();
    }

    void send(Atom type, long l1, long l2 = 0, long l3 = 0, long l4 = 0)
    {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = target;
        event.xclient.message_type = type;
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(sourceWindow);
        event.xclient.data.l[1] = l1;
        event.xclient.data.l[2] = l2;
        event.xclient.data.l[3] = l3;
        event.xclient.data.l[4] = l4;
        XSendEvent(source, target, False, NoEventMask, &event);
        XFlush(source);
    }

    // The target's answer of that type, pumping our windows meanwhile.
    bool answer(Atom type, XClientMessageEvent& reply)
    {
        for (int tries = 0; tries < 500; ++tries) {
            settle();
            XEvent event;
            while (XCheckTypedEvent(source, ClientMessage, &event))
                if (event.xclient.message_type == type) {
                    reply = event.xclient;
                    return true;
                }
            std::this_thread::sleep_for(std::chrono::milliseconds(4));
        }
        return false;
    }

    // The pointer goes there too, as it does under a real drag.
    void positionAt(int x, int y)
    {
        moveTo({x, y});
        XSync(host, False);
        send(position, 0, x << 16 | y, CurrentTime, static_cast<long>(move));
    }

    // Drops, answering the selection request with the data on a thread of
    // its own while our windows are pumped; the target's XdndFinished.
    XClientMessageEvent dropWith(Atom type, const std::string& data)
    {
        send(drop, 0, CurrentTime);
        std::atomic<bool> done{false};
        XClientMessageEvent reply{};
        std::thread serving([&] {
            for (int tries = 0; tries < 2000 && !done; ++tries) {
                if (!XPending(source)) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(2));
                    continue;
                }
                XEvent event;
                XNextEvent(source, &event);
                if (event.type == SelectionRequest) {
                    const XSelectionRequestEvent& request = event.xselectionrequest;
                    XEvent notify{};
                    notify.xselection.type = SelectionNotify;
                    notify.xselection.requestor = request.requestor;
                    notify.xselection.selection = request.selection;
                    notify.xselection.target = request.target;
                    notify.xselection.time = request.time;
                    notify.xselection.property = None;
                    if (request.target == type) {
                        XChangeProperty(source, request.requestor, request.property, type, 8, PropModeReplace,
                                        reinterpret_cast<const unsigned char*>(data.data()), int(data.size()));
                        notify.xselection.property = request.property;
                    }
                    XSendEvent(source, request.requestor, False, NoEventMask, &notify);
                    XFlush(source);
                } else if (event.type == ClientMessage && event.xclient.message_type == finished) {
                    reply = event.xclient;
                    done = true;
                }
            }
            done = true;
        });
        while (!done) {
            windows->pump();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        serving.join();
        return reply;
    }

    Display* source = nullptr;
    ::Window sourceWindow = 0;
    ::Window target = 0;
    Atom aware, enter, position, status, drop, finished, selection, copy, move, uriList, plainUtf8, leave;
    RecordingEditor editor;
    std::unique_ptr<CFrame> frame;
    DropView* view = nullptr;
};

TEST_F(XdndDrop, AFileManagersDropReachesTheViewWithCtrlForCopy)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0, rest = 0;
    unsigned char* data = nullptr;
    ASSERT_EQ(XGetWindowProperty(host, target, aware, 0, 1, False, XA_ATOM, &type, &format, &count, &rest, &data),
              Success);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(*reinterpret_cast<Atom*>(data), 5u);
    XFree(data);

    send(enter, 5L << 24, static_cast<long>(uriList));
    positionAt(60, 50);
    XClientMessageEvent reply{};
    ASSERT_TRUE(answer(status, reply));
    EXPECT_EQ(reply.data.l[1] & 1, 1);
    EXPECT_EQ(static_cast<Atom>(reply.data.l[4]), move);

    key(XK_Control_L, true);
    XSync(host, False);
    positionAt(61, 50);
    ASSERT_TRUE(answer(status, reply));
    EXPECT_EQ(static_cast<Atom>(reply.data.l[4]), copy);

    const XClientMessageEvent done = dropWith(uriList, "file:///music/My%20Song.zip\r\n# note\r\nfile:///m/b.wav\r\n");
    key(XK_Control_L, false);
    EXPECT_EQ(done.data.l[1] & 1, 1);
    EXPECT_EQ(static_cast<Atom>(done.data.l[2]), copy);
    ASSERT_EQ(view->types, std::vector<int32_t>{UDropTarget::kFiles});
    EXPECT_EQ(view->texts, (std::vector<std::string>{"/music/My Song.zip", "/m/b.wav"}));
    EXPECT_EQ(view->where, CPoint(21, 20));
}

TEST_F(XdndDrop, TextArrivesAsLatin1AndADragThatLeavesDropsNothing)
{
    send(enter, 5L << 24, static_cast<long>(plainUtf8));
    positionAt(100, 100);
    XClientMessageEvent reply{};
    ASSERT_TRUE(answer(status, reply));
    EXPECT_EQ(static_cast<Atom>(reply.data.l[4]), move);
    send(leave, 0);
    settle();
    EXPECT_TRUE(view->types.empty());

    send(enter, 5L << 24, static_cast<long>(plainUtf8));
    positionAt(100, 100);
    ASSERT_TRUE(answer(status, reply));
    const XClientMessageEvent done = dropWith(plainUtf8, "caf\xC3\xA9 \xE2\x98\x83!");
    EXPECT_EQ(done.data.l[1] & 1, 1);
    ASSERT_EQ(view->types, std::vector<int32_t>{UDropTarget::kText});
    EXPECT_EQ(view->texts.front(), "caf\xE9 !");
    EXPECT_EQ(view->sizes.front(), 7);
}

TEST_F(XdndDrop, OutsideAnyWindowThatTakesDropsNothingIsAccepted)
{
    frame->setDropActive(false);
    settle();
    send(enter, 5L << 24, static_cast<long>(uriList));
    positionAt(60, 50);
    XClientMessageEvent reply{};
    ASSERT_TRUE(answer(status, reply));
    EXPECT_EQ(reply.data.l[1] & 1, 0);
    const XClientMessageEvent done = dropWith(uriList, "file:///m/a.zip\r\n");
    EXPECT_EQ(done.data.l[1] & 1, 0);
    EXPECT_TRUE(view->types.empty());
}

} // namespace
