// The modal pass of the X11 backend: while a dialog shows, our windows are
// painted and timed, and input reaches the dialog's window alone.

#include "platform/system/clock.h"
#include "platform/x11/x11_drop.h"
#include "platform/x11/x11_system.h"

namespace platform::x11 {

namespace {

constexpr uint32_t kHostIdleMs = 100;

// The window an input event is for; 0 for events that are not input.
::Window inputWindowOf(const XEvent& event, ::Window focus)
{
    switch (event.type) {
    case KeyPress:
    case KeyRelease: return focus ? focus : event.xkey.window;
    case ButtonPress:
    case ButtonRelease: return event.xbutton.window;
    case MotionNotify: return event.xmotion.window;
    default: return 0;
    }
}

} // namespace

void System::pumpModal(platform::Window* modal)
{
    for (int budget = XPending(display_); budget > 0 && XEventsQueued(display_, QueuedAlready) > 0; --budget) {
        XEvent event;
        XNextEvent(display_, &event);
        if (const ::Window target = inputWindowOf(event, focus_)) {
            bool inside = false;
            for (platform::Window* at = lookUp(target); at && modal && !inside; at = at->parent())
                inside = at == modal;
            if (!inside)
                continue;
        }
        // Drags wait for the dialog: the source hears no answer and gives up.
        if (event.type == ClientMessage && event.xclient.message_type != atoms_.wmProtocols)
            continue;
        handleEvent(event);
    }
    dispatchPosted();
    serviceWindows();
    if (static_cast<int32_t>(milliseconds() - nextModalIdle_) >= 0) {
        nextModalIdle_ = milliseconds() + kHostIdleMs;
        runModalIdle();
    }
}

std::vector<OwnWindow*> System::dropWindows() const
{
    std::vector<OwnWindow*> windows;
    for (OwnWindow* window : ownWindows())
        if (window->acceptsDrops() && window->showing())
            windows.push_back(window);
    return windows;
}

void OwnWindow::acceptDrops(bool accept)
{
    drops_ = accept;
    system_.dropReceiver().setAware(*this, accept);
}

} // namespace platform::x11
