// Other programs' windows inside ours, as a host sees its plug-in's: the
// children of a window, placing them, and keys handed on to them.

#include "platform/x11_system.h"

#include "platform/x11_errors.h"

namespace platform::x11 {

std::vector<platform::Window*> System::children(platform::Window& parent)
{
    std::vector<platform::Window*> inside;
    if (&parent.system() != this || !parent.alive())
        return inside;
    ErrorTrap trap(display_);
    ::Window rootReturn = 0, parentReturn = 0, *xids = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display_, static_cast<::Window>(parent.handle()), &rootReturn, &parentReturn, &xids, &count))
        return inside;
    for (unsigned int i = 0; i < count; ++i)
        if (platform::Window* child = findWindow(xids[i]))
            inside.push_back(child);
    if (xids)
        XFree(xids);
    return inside;
}

void System::placeWindow(platform::Window& window, const Rect& rect)
{
    if (&window.system() != this || !window.alive())
        return;
    if (static_cast<Handle&>(window).isOwn()) {
        window.setRect(rect);
        return;
    }
    ErrorTrap trap(display_);
    XMoveResizeWindow(display_, static_cast<::Window>(window.handle()), rect.left, rect.top,
                      static_cast<unsigned>(std::max(rect.width(), 1)), static_cast<unsigned>(std::max(rect.height(), 1)));
    XFlush(display_);
}

bool System::forwardKey(platform::Window& target, const WindowMessage& key)
{
    if (&target.system() != this || !target.alive())
        return false;
    if (key.kind != MessageKind::KeyDown && key.kind != MessageKind::KeyUp)
        return false;
    const unsigned int keycode = keyboard_.keycodeOf(genericKey(key.key.windowsKey));
    if (keycode == 0)
        return false;
    unsigned int state = 0;
    const uint32_t bits = key.input.bits;
    if (bits & kShiftHeld)
        state |= ShiftMask;
    if (bits & kControlHeld)
        state |= ControlMask;
    if (bits & kAltHeld)
        state |= Mod1Mask;
    if (key.input.capsLock)
        state |= LockMask;
    if (key.input.numLock)
        state |= keyboard_.numLockMask();

    XEvent event{};
    XKeyEvent& k = event.xkey;
    k.type = key.kind == MessageKind::KeyDown ? KeyPress : KeyRelease;
    k.display = display_;
    k.window = static_cast<::Window>(target.handle());
    k.root = root_;
    k.subwindow = None;
    k.time = CurrentTime;
    k.state = state;
    k.keycode = keycode;
    k.same_screen = True;
    // No event mask: the event goes to the program that made the window.
    ErrorTrap trap(display_);
    const Status sent = XSendEvent(display_, k.window, False, NoEventMask, &event);
    XFlush(display_);
    return sent != 0 && !trap.failed();
}

} // namespace platform::x11
