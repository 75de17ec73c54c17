// Keys handed to windows outside the program (the editor's function keys to
// the host's top-level window, the host's keys on to the editor window), as
// their program would have received them, and the root window's area.

#include "platform/x11/x11_system.h"

#include "platform/x11/x11_errors.h"

namespace platform::x11 {

namespace {

unsigned int modifierState(uint32_t bits)
{
    unsigned int state = 0;
    if (bits & kShiftHeld)
        state |= ShiftMask;
    if (bits & kControlHeld)
        state |= ControlMask;
    if (bits & kAltHeld)
        state |= Mod1Mask;
    return state;
}

} // namespace

bool System::sendKeyEvent(platform::Window& target, uint8_t windowsKey, unsigned int state, bool down)
{
    const unsigned int keycode = keyboard_.keycodeOf(genericKey(windowsKey));
    if (keycode == 0 || !target.alive() || &target.system() != this)
        return false;
    const auto xid = static_cast<::Window>(target.handle());
    XEvent event{};
    XKeyEvent& key = event.xkey;
    key.type = down ? KeyPress : KeyRelease;
    key.display = display_;
    key.window = xid;
    key.root = root_;
    key.subwindow = None;
    key.time = CurrentTime;
    key.same_screen = True;
    key.keycode = keycode;
    key.state = state;
    ErrorTrap trap(display_);
    XSendEvent(display_, xid, True, down ? KeyPressMask : KeyReleaseMask, &event);
    return !trap.failed();
}

bool System::sendKey(platform::Window& target, uint8_t windowsKey, uint32_t modifiers)
{
    const unsigned int state = modifierState(modifiers);
    return sendKeyEvent(target, windowsKey, state, true) && sendKeyEvent(target, windowsKey, state, false);
}

bool System::forwardKey(platform::Window& target, const WindowMessage& key)
{
    if (key.kind != MessageKind::KeyDown && key.kind != MessageKind::KeyUp)
        return false;
    unsigned int state = modifierState(key.input.bits);
    if (key.input.capsLock)
        state |= LockMask;
    if (key.input.numLock)
        state |= keyboard_.numLockMask();
    return sendKeyEvent(target, key.key.windowsKey, state, key.kind == MessageKind::KeyDown);
}

Rect System::screenArea()
{
    return {0, 0, DisplayWidth(display_, screen_), DisplayHeight(display_, screen_)};
}

} // namespace platform::x11
