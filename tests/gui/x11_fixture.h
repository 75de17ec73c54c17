#pragma once
// Real windows: an Xvfb of the test's own, our window system on it, and a
// second connection that plays the host (its windows, its focus, its
// mouse and keyboard through XTest).

#include "gui_fixture.h"
#include "platform/x11/x11_window_system.h"
#include "support/outside_tools.h"
#include "support/x11_grab.h"
#include "support/xvfb_server.h"

// After the window layer's headers: Xlib's macros rename two of its messages.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <memory>
#include <vector>

class X11Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(outside_tools::have({"Xvfb"}));
        server = std::make_unique<XvfbServer>();
        ASSERT_FALSE(server->name().empty()) << "Xvfb did not start";
        host = XOpenDisplay(server->name().c_str());
        ASSERT_NE(host, nullptr);
        windows = platform::X11WindowSystem::open(server->name().c_str());
        ASSERT_NE(windows, nullptr);
    }

    void TearDown() override
    {
        windows.reset();
        if (host)
            XCloseDisplay(host);
        server.reset();
    }

    // A mapped window of the host's, on the root, in the given visual (the
    // default one when none).
    ::Window hostWindow(const platform::Rect& r, const XVisualInfo* visual = nullptr)
    {
        const int screen = DefaultScreen(host);
        XSetWindowAttributes set{};
        set.background_pixel = 0;
        set.border_pixel = 0;
        unsigned long mask = CWBackPixel | CWBorderPixel;
        Visual* v = DefaultVisual(host, screen);
        int depth = DefaultDepth(host, screen);
        if (visual) {
            v = visual->visual;
            depth = visual->depth;
            set.colormap = XCreateColormap(host, RootWindow(host, screen), v, AllocNone);
            mask |= CWColormap;
        }
        const ::Window w = XCreateWindow(host, RootWindow(host, screen), r.left, r.top, unsigned(r.width()),
                                         unsigned(r.height()), 0, depth, InputOutput, v, mask, &set);
        XMapWindow(host, w);
        XSync(host, False);
        return w;
    }

    // Every request of both sides handled and the events they caused pumped.
    void settle()
    {
        XSync(host, False);
        windows->sync();
        windows->pump();
    }

    // A top-level window of ours, mapped and settled.
    std::unique_ptr<platform::Window> topLevel(const platform::Rect& rect, platform::WindowHandler* handler)
    {
        platform::WindowOptions options;
        options.kind = platform::WindowOptions::Kind::TopLevel;
        options.rect = rect;
        options.handler = handler;
        auto window = windows->createWindow(options);
        settle();
        return window;
    }

    // What the server shows of a window, as the host reads it.
    platform::Image grab(::Window w, uint32_t* alphaSeen = nullptr) { return grabWindow(host, w, alphaSeen); }

    void moveTo(platform::Point screen)
    {
        XTestFakeMotionEvent(host, -1, screen.x, screen.y, CurrentTime);
        XFlush(host);
    }
    void button(unsigned int which, bool down)
    {
        XTestFakeButtonEvent(host, which, down ? True : False, CurrentTime);
        XFlush(host);
    }
    void clickAt(platform::Point screen, unsigned int which = 1)
    {
        moveTo(screen);
        button(which, true);
        button(which, false);
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

    std::unique_ptr<XvfbServer> server;
    Display* host = nullptr;
    std::unique_ptr<platform::X11WindowSystem> windows;
};

// Pixels that differ between two images of one size, as "x,y" texts.
inline std::vector<std::string> differences(const platform::Image& a, const platform::Image& b, size_t atMost = 8)
{
    std::vector<std::string> out;
    if (a.width() != b.width() || a.height() != b.height())
        return {"sizes differ"};
    for (int32_t y = 0; y < a.height() && out.size() < atMost; ++y)
        for (int32_t x = 0; x < a.width() && out.size() < atMost; ++x)
            if (!(a.pixelAt(x, y) == b.pixelAt(x, y)))
                out.push_back(std::to_string(x) + "," + std::to_string(y));
    return out;
}
