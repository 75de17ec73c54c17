#pragma once
// An Xvfb of the test's own at one depth, our window system on it, and a
// window of a second connection (the host's) painted in a grid of colours
// that a 5-6-5 visual holds exactly, so that a capture at any depth must give
// them back to the bit.

#include "platform/x11/x11_window_system.h"
#include "support/outside_tools.h"
#include "support/xvfb_server.h"

// After the window layer's headers: Xlib's macros rename two of its messages.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

class X11PaintedScreen {
public:
    static constexpr int kWidth = 1024, kHeight = 768;
    static constexpr int kLeft = 37, kTop = 23, kCells = 7, kCell = 10, kSide = 2 * kCells * kCell;
    // 8-bit values that narrow to 5 or 6 bits and widen back unchanged when
    // widening rounds; 0x19 (5-bit 3) would be 0x18 if it shifted and copied bits.
    static constexpr uint32_t kColours[kCells] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF,
                                                  0x000000, 0x5255A5, 0x19AA31};

    // The colour of the grid at a point of the window (kSide x kSide at kLeft, kTop).
    static uint32_t colourAt(int x, int y) { return kColours[(x / kCell + 2 * (y / kCell)) % kCells]; }

    explicit X11PaintedScreen(int depth)
    {
        if (!outside_tools::have({"Xvfb"}))
            return;
        server_ = std::make_unique<XvfbServer>(
            (std::to_string(kWidth) + "x" + std::to_string(kHeight) + "x" + std::to_string(depth)).c_str());
        if (server_->name().empty())
            return;
        host_ = XOpenDisplay(server_->name().c_str());
        windows = platform::X11WindowSystem::open(server_->name().c_str());
        if (host_ && windows && DefaultVisual(host_, DefaultScreen(host_))->red_mask)
            paint();
    }
    ~X11PaintedScreen()
    {
        windows.reset();
        if (host_)
            XCloseDisplay(host_);
    }
    X11PaintedScreen(const X11PaintedScreen&) = delete;
    X11PaintedScreen& operator=(const X11PaintedScreen&) = delete;

    // Why the screen is not ready; empty when it is.
    std::string problem() const
    {
        if (!server_ || server_->name().empty())
            return "Xvfb did not start (Debian package xvfb)";
        if (!host_ || !windows)
            return "cannot connect to " + server_->name();
        return "";
    }

    std::unique_ptr<platform::X11WindowSystem> windows;

private:
    // An 8-bit component in a visual's mask, rounded.
    static unsigned long narrowed(uint32_t component, unsigned long mask)
    {
        int shift = 0;
        while (!(mask >> shift & 1))
            ++shift;
        const unsigned long top = mask >> shift;
        return (component * top + 127) / 255 << shift;
    }

    void paint()
    {
        const int screen = DefaultScreen(host_);
        const Visual* visual = DefaultVisual(host_, screen);
        XSetWindowAttributes set{};
        set.background_pixel = BlackPixel(host_, screen);
        set.override_redirect = True;
        const ::Window window = XCreateWindow(host_, RootWindow(host_, screen), kLeft, kTop, kSide, kSide, 0,
                                              CopyFromParent, InputOutput, CopyFromParent,
                                              CWBackPixel | CWOverrideRedirect, &set);
        XMapWindow(host_, window);
        GC gc = XCreateGC(host_, window, 0, nullptr);
        for (int y = 0; y < kSide; y += kCell)
            for (int x = 0; x < kSide; x += kCell) {
                const uint32_t c = colourAt(x, y);
                XSetForeground(host_, gc, narrowed(c >> 16 & 0xFF, visual->red_mask)
                                              | narrowed(c >> 8 & 0xFF, visual->green_mask)
                                              | narrowed(c & 0xFF, visual->blue_mask));
                XFillRectangle(host_, window, gc, x, y, kCell, kCell);
            }
        XFreeGC(host_, gc);
        XSync(host_, False);
    }

    std::unique_ptr<XvfbServer> server_;
    Display* host_ = nullptr;
};
