// What the editor hands to windows outside the program and asks of the
// screen: a function key passed on to the host's top-level window as the
// host would have received it, and the root window's area.

#include "platform/x11_system.h"

#include "platform/x11_errors.h"

namespace platform::x11 {

bool System::sendKey(platform::Window& target, uint8_t windowsKey, uint32_t modifiers)
{
    const unsigned int keycode = keyboard_.keycodeOf(genericKey(windowsKey));
    if (keycode == 0 || !target.alive())
        return false;
    unsigned int state = 0;
    if (modifiers & kShiftHeld)
        state |= ShiftMask;
    if (modifiers & kControlHeld)
        state |= ControlMask;
    if (modifiers & kAltHeld)
        state |= Mod1Mask;
    const auto xid = static_cast<::Window>(target.handle());
    XEvent event{};
    XKeyEvent& key = event.xkey;
    key.display = display_;
    key.window = xid;
    key.root = root_;
    key.subwindow = None;
    key.time = CurrentTime;
    key.same_screen = True;
    key.keycode = keycode;
    key.state = state;
    ErrorTrap trap(display_);
    key.type = KeyPress;
    XSendEvent(display_, xid, True, KeyPressMask, &event);
    key.type = KeyRelease;
    XSendEvent(display_, xid, True, KeyReleaseMask, &event);
    return !trap.failed();
}

Rect System::screenArea()
{
    return {0, 0, DisplayWidth(display_, screen_), DisplayHeight(display_, screen_)};
}

} // namespace platform::x11
