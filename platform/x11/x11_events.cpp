// X events become window messages. X reports the state from before its
// event; the messages carry the state after it, as Windows' key and button
// messages do (a modifier's own bit added on its press, dropped on its
// release).

#include "platform/x11/x11_drop.h"
#include "platform/x11/x11_system.h"

#include "platform/x11/x11_errors.h"
#include "platform/x11/x11_popup.h"

#include <X11/XKBlib.h>

namespace platform::x11 {

namespace {

uint32_t buttonBit(unsigned int button)
{
    switch (button) {
    case Button1: return kLeftButton;
    case Button2: return kMiddleButton;
    case Button3: return kRightButton;
    default: return 0;
    }
}

uint32_t modifierBit(uint8_t key)
{
    switch (key) {
    case kWinShift: return kShiftHeld;
    case kWinControl: return kControlHeld;
    case kWinMenu: return kAltHeld;
    default: return 0;
    }
}

} // namespace

void System::handleEvent(XEvent& event)
{
    if (takenAsTopLevelChange(event))
        return;
    if (popup_ && popup_->handle(event))
        return;
    if (event.type == xkbEventBase_) {
        keyboard_.reload();
        return;
    }
    switch (event.type) {
    case MappingNotify:
        XRefreshKeyboardMapping(&event.xmapping);
        keyboard_.reload();
        break;
    case Expose:
        if (OwnWindow* window = own(event.xexpose.window))
            window->invalidate(rectOfSize(event.xexpose.x, event.xexpose.y, event.xexpose.width, event.xexpose.height));
        break;
    case ConfigureNotify:
        handleConfigure(event.xconfigure);
        break;
    case PropertyNotify:
        if (event.xproperty.atom == atoms_.netWmState)
            if (OwnWindow* window = own(event.xproperty.window))
                window->stateChanged();
        break;
    case DestroyNotify:
        handleDestroyed(event.xdestroywindow.window);
        break;
    case ReparentNotify:
        if (auto found = foreign_.find(event.xreparent.window); found != foreign_.end()) {
            WindowMessage message;
            message.kind = MessageKind::Reparented;
            send(*found->second, message);
        }
        break;
    case kXFocusIn:
    case kXFocusOut:
        handleFocus(event.xfocus);
        break;
    case MapNotify:
        if (OwnWindow* window = own(event.xmap.window); window && window->isTool())
            window->activate();
        break;
    case ClientMessage:
        if (dropReceiver_->handle(event.xclient))
            break;
        if (event.xclient.message_type == atoms_.wmProtocols
            && static_cast<Atom>(event.xclient.data.l[0]) == atoms_.wmDeleteWindow)
            if (OwnWindow* window = own(event.xclient.window)) {
                WindowMessage message;
                message.kind = MessageKind::Close;
                send(*window, message);
            }
        break;
    case ButtonPress:
    case ButtonRelease:
        if (OwnWindow* window = own(event.xbutton.window))
            handleButton(*window, event.xbutton);
        break;
    case MotionNotify: {
        // Only the latest of a run of moves in one window matters.
        XEvent next;
        while (XPending(display_) && (XPeekEvent(display_, &next), next.type == MotionNotify)
               && next.xmotion.window == event.xmotion.window)
            XNextEvent(display_, &event);
        if (OwnWindow* window = own(event.xmotion.window)) {
            WindowMessage message;
            message.kind = MessageKind::MouseMove;
            message.point = {event.xmotion.x, event.xmotion.y};
            message.input = stateOf(event.xmotion.state);
            dispatch(*window, message);
        }
        break;
    }
    case KeyPress:
    case KeyRelease:
        handleKey(event.xkey);
        break;
    default:
        break;
    }
}

void System::handleButton(OwnWindow& window, const XButtonEvent& event)
{
    const ::Window xid = window.xid();
    const bool down = event.type == ButtonPress;
    if (event.button == Button4 || event.button == Button5) {
        if (!down)
            return;
        WindowMessage message;
        message.kind = MessageKind::Wheel;
        message.point = {event.x_root, event.y_root};
        message.wheelDelta = event.button == Button4 ? 120 : -120;
        message.input = stateOf(event.state);
        dispatch(window, message);
        return;
    }
    const uint32_t button = buttonBit(event.button);
    if (!button)
        return;
    WindowMessage message;
    message.kind = down ? MessageKind::ButtonDown : MessageKind::ButtonUp;
    message.point = {event.x, event.y};
    message.button = button;
    message.input = stateOf(event.state);
    message.input.bits = down ? message.input.bits | button : message.input.bits & ~button;
    if (down) {
        // A child in another program's window gets no keys unless it asks.
        XSetInputFocus(display_, xid, RevertToParent, event.time);
        setFocus(&window);
    }
    if (OwnWindow* still = own(xid))
        dispatch(*still, message);
}

void System::handleKey(const XKeyEvent& event)
{
    const bool down = event.type == KeyPress;
    const uint8_t key = keyboard_.windowsKey(event.keycode, event.state);
    const Keyboard::Characters characters = Keyboard::characters(event);
    if (key == 0 && characters.printable == 0 && characters.plain == 0)
        return;
    const size_t code = event.keycode & 0xFF;
    const bool autoRepeat = down && keysDown_[code];
    keysDown_[code] = down;

    InputState state = stateOf(event.state);
    const uint32_t modifier = modifierBit(key);
    state.bits = down ? state.bits | modifier : state.bits & ~modifier;
    if (down && !autoRepeat) {
        if (key == kWinCapital)
            state.capsLock = !state.capsLock;
        if (key == kWinNumLock)
            state.numLock = !state.numLock;
    }
    if (takenAsHotKey(event.keycode, key, state, down))
        return;
    // A key another program sends goes to the window it names.
    OwnWindow* target = event.send_event ? own(event.window) : own(focus_);
    if (!target)
        target = own(event.window);
    if (!target)
        return;

    WindowMessage message;
    message.kind = down ? MessageKind::KeyDown : MessageKind::KeyUp;
    message.input = state;
    message.key.windowsKey = key;
    message.key.up = !down;
    message.key.autoRepeat = autoRepeat;
    message.key.printable = characters.printable;
    message.key.character = characters.plain;
    message.key.sent = event.send_event;
    dispatch(*target, message);
}

void System::handleFocus(const XFocusChangeEvent& event)
{
    // Grabs (our popups' among them) move no focus.
    if (event.mode == NotifyGrab || event.mode == NotifyUngrab)
        return;
    if (event.detail == NotifyPointer || event.detail == NotifyPointerRoot || event.detail == NotifyDetailNone)
        return;
    const bool in = event.type == kXFocusIn;
    if (OwnWindow* window = own(event.window)) {
        if (in)
            setFocus(window);
        else if (focus_ == window->xid() && event.detail != NotifyInferior)
            setFocus(nullptr);
        return;
    }
    auto found = foreign_.find(event.window);
    if (found != foreign_.end()) {
        WindowMessage message;
        message.kind = in ? MessageKind::FocusIn : MessageKind::FocusOut;
        send(*found->second, message);
    }
}

void System::handleConfigure(const XConfigureEvent& event)
{
    if (OwnWindow* window = own(event.window)) {
        // The event may be an old one: of a request we have since replaced
        // with another (whose event is still to come), or a window manager's
        // notice of a size or place that a later request has changed. The
        // server's present answer is the one that holds, and a later change
        // brings an event of its own. A top-level window's event tells its
        // place in the manager's frame; it is wanted on the screen.
        ::Window rootReturn = 0;
        int x = 0, y = 0;
        unsigned int width = 0, height = 0, border = 0, depth = 0;
        if (!XGetGeometry(display_, event.window, &rootReturn, &x, &y, &width, &height, &border, &depth))
            return;   // gone: its DestroyNotify follows
        if (window->isTopLevel()) {
            ::Window child = 0;
            XTranslateCoordinates(display_, event.window, root_, 0, 0, &x, &y, &child);
        }
        window->configured(rectOfSize(x, y, static_cast<int32_t>(width), static_cast<int32_t>(height)));
        return;
    }
    auto found = foreign_.find(event.window);
    if (found != foreign_.end()) {
        WindowMessage message;
        message.kind = MessageKind::Moved;
        message.area = found->second->rect();
        send(*found->second, message);
    }
}

bool System::takenAsHotKey(unsigned int keycode, uint8_t key, const InputState& state, bool down)
{
    if (!down) {
        const bool held = keycode == hotKeyHeld_ && keycode != 0;
        if (held)
            hotKeyHeld_ = 0;
        return held;
    }
    const uint32_t modifiers = state.bits & (kShiftHeld | kControlHeld | kAltHeld);
    auto found = hotKeys_.find(modifiers << 8 | key);
    if (found == hotKeys_.end())
        return false;
    if (Handle* target = lookUp(found->second.target)) {
        WindowMessage message;
        message.kind = MessageKind::HotKey;
        message.param = found->second.id;
        message.input = state;
        dispatch(*target, message);
    }
    hotKeyHeld_ = keycode;
    return true;
}

bool System::registerHotKey(platform::Window& target, int32_t id, uint32_t modifiers, uint8_t windowsKey)
{
    const uint8_t key = genericKey(windowsKey);
    const uint32_t slot = (modifiers & (kShiftHeld | kControlHeld | kAltHeld)) << 8 | key;
    auto taken = hotKeys_.find(slot);
    if (taken != hotKeys_.end()) {
        if (taken->second.target != target.handle())
            return false;
        taken->second.id = id;
        return true;
    }
    const unsigned int keycode = keyboard_.keycodeOf(key);
    if (keycode == 0 || !target.alive())
        return false;
    unsigned int xmodifiers = 0;
    if (modifiers & kShiftHeld)
        xmodifiers |= ShiftMask;
    if (modifiers & kControlHeld)
        xmodifiers |= ControlMask;
    if (modifiers & kAltHeld)
        xmodifiers |= Mod1Mask;
    const unsigned int locks[] = {0u, unsigned(LockMask), keyboard_.numLockMask(), LockMask | keyboard_.numLockMask()};
    // Wherever the focus is; with Caps Lock and Num Lock in either state.
    ErrorTrap trap(display_);
    for (unsigned int lock : locks)
        XGrabKey(display_, static_cast<int>(keycode), xmodifiers | lock, root_, False, GrabModeAsync, GrabModeAsync);
    if (trap.failed()) {
        for (unsigned int lock : locks)
            XUngrabKey(display_, static_cast<int>(keycode), xmodifiers | lock, root_);
        return false;
    }
    hotKeys_[slot] = HotKey{static_cast<::Window>(target.handle()), id, keycode, xmodifiers};
    return true;
}

void System::unregisterHotKey(platform::Window& target, int32_t id)
{
    for (auto it = hotKeys_.begin(); it != hotKeys_.end();) {
        if (it->second.target == target.handle() && it->second.id == id) {
            for (unsigned int lock : {0u, unsigned(LockMask), keyboard_.numLockMask(), LockMask | keyboard_.numLockMask()})
                XUngrabKey(display_, static_cast<int>(it->second.keycode), it->second.modifiers | lock, root_);
            it = hotKeys_.erase(it);
        } else {
            ++it;
        }
    }
    XFlush(display_);
}

} // namespace platform::x11
