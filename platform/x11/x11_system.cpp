// The connection: opening and closing, our windows' creation, the tracking
// of the host's windows, input state and the pump.

#include "platform/x11/x11_system.h"

#include "platform/system/clock.h"
#include "platform/x11/x11_drop.h"
#include "platform/x11/x11_errors.h"
#include "platform/x11/x11_shared_pixels.h"

#include <X11/XKBlib.h>
#include <X11/cursorfont.h>

#include <poll.h>

#include <algorithm>
#include <array>
#include <utility>

namespace platform {

std::unique_ptr<X11WindowSystem> X11WindowSystem::open(const char* displayName)
{
    Display* display = XOpenDisplay(displayName);
    if (!display)
        return nullptr;
    x11::watchErrors(display);
    return std::make_unique<x11::System>(display);
}

namespace x11 {

namespace {

constexpr long kOwnEvents = ExposureMask | StructureNotifyMask | KeyPressMask | KeyReleaseMask | ButtonPressMask
                          | ButtonReleaseMask | PointerMotionMask | FocusChangeMask;

} // namespace

Atoms::Atoms(Display* display)
{
    const char* names[] = {"WM_PROTOCOLS", "WM_DELETE_WINDOW", "WM_STATE", "_NET_WM_STATE", "_NET_WM_STATE_ABOVE",
                           "_NET_WM_NAME", "_NET_WM_ICON", "UTF8_STRING", "CLIPBOARD", "QUORBEL_CLIPBOARD",
                           "_MOTIF_WM_HINTS", "_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ",
                           "_NET_WM_STATE_MODAL", "_NET_FRAME_EXTENTS", "_NET_CLIENT_LIST"};
    Atom* slots[] = {&wmProtocols, &wmDeleteWindow, &wmState, &netWmState, &netWmStateAbove, &netWmName,
                     &netWmIcon, &utf8String, &clipboard, &clipboardProperty, &motifHints,
                     &netWmStateMaximisedVert, &netWmStateMaximisedHorz, &netWmStateModal, &netFrameExtents,
                     &netClientList};
    constexpr int count = sizeof names / sizeof names[0];
    Atom atoms[count];
    XInternAtoms(display, const_cast<char**>(names), count, False, atoms);
    for (int i = 0; i < count; ++i)
        *slots[i] = atoms[i];
}

System::System(Display* display)
    : display_(display), screen_(DefaultScreen(display)), root_(RootWindow(display, screen_)), atoms_(display),
      keyboard_(display), dropReceiver_(std::make_unique<DropReceiver>(*this))
{
    // Held keys send presses only, never a release between them.
    Bool detectable = False;
    XkbSetDetectableAutoRepeat(display_, True, &detectable);
    int opcode = 0, error = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
    if (XkbQueryExtension(display_, &opcode, &xkbEventBase_, &error, &major, &minor))
        XkbSelectEvents(display_, XkbUseCoreKbd, XkbNewKeyboardNotifyMask | XkbMapNotifyMask,
                        XkbNewKeyboardNotifyMask | XkbMapNotifyMask);
}

System::~System()
{
    for (auto& [slot, hotKey] : hotKeys_)
        for (unsigned int lock : {0u, unsigned(LockMask), keyboard_.numLockMask(), LockMask | keyboard_.numLockMask()})
            XUngrabKey(display_, static_cast<int>(hotKey.keycode), hotKey.modifiers | lock, root_);
    for (::Cursor cursor : cursors_)
        if (cursor)
            XFreeCursor(display_, cursor);
    for (auto& [xid, foreign] : foreign_)
        XSelectInput(display_, xid, NoEventMask);
    Display* display = display_;
    XCloseDisplay(display);
    unwatchErrors(display);
}

int System::connectionNumber() const
{
    return ConnectionNumber(display_);
}

void System::sync()
{
    XSync(display_, False);
}

uint32_t System::ticks()
{
    return milliseconds();
}

std::unique_ptr<platform::Window> System::createWindow(const WindowOptions& options)
{
    const bool child = options.kind == WindowOptions::Kind::Child;
    Handle* parent = nullptr;
    if (options.parent) {
        if (&options.parent->system() != this)
            return nullptr;
        parent = static_cast<Handle*>(options.parent);
        if (!parent->alive())
            parent = nullptr;
    }
    if (child && !parent)
        return nullptr;

    const ::Window under = child ? parent->xid() : root_;
    ErrorTrap trap(display_);
    XWindowAttributes above{};
    if (!XGetWindowAttributes(display_, under, &above) || above.depth == 0)
        return nullptr;
    Visual* visual = child ? above.visual : DefaultVisual(display_, screen_);
    const int depth = child ? above.depth : DefaultDepth(display_, screen_);
    XSetWindowAttributes set{};
    set.background_pixmap = None;   // nothing erased: paints cover what is exposed
    set.border_pixel = 0;
    set.colormap = child ? above.colormap : DefaultColormap(display_, screen_);
    // A top-level window hears of the state the window manager gives it.
    set.event_mask = child ? kOwnEvents : kOwnEvents | PropertyChangeMask;
    set.bit_gravity = NorthWestGravity;
    const Rect& r = options.rect;
    const ::Window xid = XCreateWindow(display_, under, r.left, r.top, static_cast<unsigned>(std::max(r.width(), 1)),
                                       static_cast<unsigned>(std::max(r.height(), 1)), 0, depth, InputOutput, visual,
                                       CWBackPixmap | CWBorderPixel | CWColormap | CWEventMask | CWBitGravity, &set);
    if (trap.failed()) {
        if (xid)
            XDestroyWindow(display_, xid);
        return nullptr;
    }
    WindowOptions placed = options;
    placed.parent = child ? parent : options.parent;
    auto window = std::make_unique<OwnWindow>(*this, xid, placed, Presenter(display_, visual, depth));
    own_[xid] = window.get();
    if (options.visible)
        window->show(true);
    XFlush(display_);
    return window;
}

platform::Window* System::findWindow(uintptr_t handle)
{
    const auto xid = static_cast<::Window>(handle);
    if (xid == 0)
        return nullptr;
    if (Handle* known = lookUp(xid))
        return known;
    ErrorTrap trap(display_);
    XWindowAttributes attributes{};
    const bool exists = XGetWindowAttributes(display_, xid, &attributes) != 0;
    XSelectInput(display_, xid, StructureNotifyMask | FocusChangeMask);
    if (!exists || trap.failed())
        return nullptr;
    auto& slot = foreign_[xid];
    slot = std::make_unique<ForeignWindow>(*this, xid);
    return slot.get();
}

Handle* System::lookUp(::Window xid) const
{
    if (OwnWindow* window = own(xid))
        return window;
    auto found = foreign_.find(xid);
    return found == foreign_.end() ? nullptr : found->second.get();
}

OwnWindow* System::own(::Window xid) const
{
    auto found = own_.find(xid);
    return found == own_.end() ? nullptr : found->second;
}

std::vector<OwnWindow*> System::ownWindows() const
{
    std::vector<OwnWindow*> windows;
    windows.reserve(own_.size());
    for (auto& [xid, window] : own_)
        windows.push_back(window);
    return windows;
}

InputState System::stateOf(unsigned int xstate) const
{
    InputState state;
    if (xstate & Button1Mask)
        state.bits |= kLeftButton;
    if (xstate & Button2Mask)
        state.bits |= kMiddleButton;
    if (xstate & Button3Mask)
        state.bits |= kRightButton;
    if (xstate & ShiftMask)
        state.bits |= kShiftHeld;
    if (xstate & ControlMask)
        state.bits |= kControlHeld;
    if (xstate & Mod1Mask)
        state.bits |= kAltHeld;
    state.capsLock = (xstate & LockMask) != 0;
    state.numLock = (xstate & keyboard_.numLockMask()) != 0;
    return state;
}

InputState System::inputState()
{
    // A timer's handler sees the live state, asked for only when it asks.
    if (!handling_.empty() && handling_.back())
        return *handling_.back();
    ::Window rootReturn = 0, childReturn = 0;
    int rootX = 0, rootY = 0, x = 0, y = 0;
    unsigned int mask = 0;
    XQueryPointer(display_, root_, &rootReturn, &childReturn, &rootX, &rootY, &x, &y, &mask);
    return stateOf(mask);
}

Point System::cursorPosition()
{
    ::Window rootReturn = 0, childReturn = 0;
    int rootX = 0, rootY = 0, x = 0, y = 0;
    unsigned int mask = 0;
    XQueryPointer(display_, root_, &rootReturn, &childReturn, &rootX, &rootY, &x, &y, &mask);
    return {rootX, rootY};
}

void System::warpPointer(Point screen)
{
    XWarpPointer(display_, None, root_, 0, 0, 0, 0, screen.x, screen.y);
    XFlush(display_);
}

::Cursor System::fontCursor(Cursor cursor)
{
    static constexpr unsigned int kShapes[] = {XC_left_ptr, XC_hand2, XC_fleur, XC_plus};
    const auto index = static_cast<size_t>(cursor);
    if (index >= cursors_.size())
        return None;
    if (!cursors_[index])
        cursors_[index] = XCreateFontCursor(display_, kShapes[index]);
    return cursors_[index];
}

void System::setFocus(OwnWindow* window)
{
    const ::Window next = window ? window->xid() : 0;
    if (next == focus_)
        return;
    const ::Window previous = focus_;
    focus_ = next;
    keysDown_.reset();
    WindowMessage message;
    if (OwnWindow* before = own(previous)) {
        message.kind = MessageKind::FocusOut;
        send(*before, message);
    }
    if (OwnWindow* now = own(next)) {
        message.kind = MessageKind::FocusIn;
        send(*now, message);
    }
}

void System::send(Handle& window, WindowMessage& message)
{
    message.input = inputState();
    dispatch(window, message);
}

void System::dispatch(Handle& window, WindowMessage& message)
{
    const bool isKey = message.kind == MessageKind::KeyDown || message.kind == MessageKind::KeyUp;
    handling_.push_back(message.kind == MessageKind::Timer ? nullptr : &message.input);
    bool handled = isKey && keyFilter_ && keyFilter_->filterKey(window, message);
    // Asked before the handler runs, which may destroy the window.
    platform::Window* parent = message.kind == MessageKind::Wheel && window.alive_ ? window.parent() : nullptr;
    const ::Window parentXid = parent ? static_cast<::Window>(parent->handle()) : 0;
    if (!handled && window.alive_ && window.handler_)
        handled = window.handler_->handleMessage(window, message);
    handling_.pop_back();
    // The default processing hands a wheel to the parent, as Windows does.
    if (!handled && message.kind == MessageKind::Wheel)
        if (Handle* up = lookUp(parentXid))
            dispatch(*up, message);
}

void System::destroyTree(OwnWindow& window)
{
    window.alive_ = false;
    own_.erase(window.xid());
    if (focus_ == window.xid())
        focus_ = 0;
    std::vector<int32_t> hotKeyIds;
    for (auto& [slot, hotKey] : hotKeys_)
        if (hotKey.target == window.xid())
            hotKeyIds.push_back(hotKey.id);
    for (int32_t id : hotKeyIds)
        unregisterHotKey(window, id);
    WindowMessage message;
    message.kind = MessageKind::Destroy;
    if (window.handler_)
        window.handler_->handleMessage(window, message);
    for (OwnWindow* other : ownWindows())
        if (other->parent_ == window.xid() && other->alive_)
            destroyTree(*other);
}

void System::handleDestroyed(::Window xid)
{
    if (OwnWindow* window = own(xid)) {
        destroyTree(*window);
        return;
    }
    auto found = foreign_.find(xid);
    if (found == foreign_.end())
        return;
    std::unique_ptr<ForeignWindow> gone = std::move(found->second);
    foreign_.erase(found);
    gone->alive_ = false;
    WindowMessage message;
    message.kind = MessageKind::Destroy;
    if (gone->handler_)
        gone->handler_->handleMessage(*gone, message);
    departed_.push_back(std::move(gone));
}

void System::pump()
{
    flushRequests();
    // Only what has arrived: a stream of events never holds the pump.
    for (int budget = eventsArrived(); budget > 0 && XEventsQueued(display_, QueuedAlready) > 0; --budget) {
        XEvent event;
        XNextEvent(display_, &event);
        handleEvent(event);
    }
    dispatchPosted();
    serviceWindows();
}

int System::eventsArrived()
{
    const Wait wait = std::exchange(lastWait_, Wait::Nothing);
    // Asked right after the flush: the request count is the one it noted,
    // and not asking again spares the display's lock on every pass.
    const unsigned long next = flushedRequest_;
    bool read = next != readRequest_ || wait == Wait::Readable;
    if (!read && wait == Wait::Nothing && XEventsQueued(display_, QueuedAlready) == 0) {
        // No wait of ours came before (a plug-in's editor is pumped from its
        // host's idle): a glance at the socket costs less than a read.
        pollfd socket{ConnectionNumber(display_), POLLIN, 0};
        read = poll(&socket, 1, 0) != 0;
    }
    if (!read)
        return XEventsQueued(display_, QueuedAlready);
    readRequest_ = next;
    return XEventsQueued(display_, QueuedAfterReading);
}

void System::flushRequests()
{
    if (XNextRequest(display_) != flushedRequest_) {
        XFlush(display_);
        flushedRequest_ = XNextRequest(display_);
    }
}

void System::waitForEvents(uint32_t timeoutMs)
{
    flushRequests();
    lastWait_ = Wait::Nothing;
    if (!posted_.empty() || XEventsQueued(display_, QueuedAlready) > 0)
        return;
    // What the library read from the socket while sending is queued only
    // by a read; without requests since the last read there is none.
    if (flushedRequest_ != readRequest_) {
        readRequest_ = flushedRequest_;
        if (XEventsQueued(display_, QueuedAfterReading) > 0)
            return;
    }
    const uint32_t now = milliseconds();
    for (auto& [xid, window] : own_)
        for (auto& [id, timer] : window->timers_) {
            const auto left = static_cast<int32_t>(timer.due - now);
            timeoutMs = std::min(timeoutMs, static_cast<uint32_t>(std::max(left, 0)));
        }
    pollfd wait{ConnectionNumber(display_), POLLIN, 0};
    const int ready = poll(&wait, 1, static_cast<int>(std::min<uint32_t>(timeoutMs, 60000)));
    // Interrupted by a signal, the pump reads as it would without a wait.
    lastWait_ = ready == 0 ? Wait::Quiet : ready > 0 ? Wait::Readable : Wait::Nothing;
}

void System::dispatchPosted()
{
    for (size_t n = posted_.size(); n > 0 && !posted_.empty(); --n) {
        auto [xid, message] = posted_.front();
        posted_.pop_front();
        if (Handle* window = lookUp(xid))
            dispatch(*window, message);
    }
}

void System::serviceWindows()
{
    paintPending();
    fireTimers();
    presentDamage();
    flushRequests();
}

void System::paintPending()
{
    // Most passes have nothing to paint: they allocate nothing either.
    if (std::none_of(own_.begin(), own_.end(), [](const auto& entry) { return !entry.second->invalid_.empty(); }))
        return;
    for (OwnWindow* window : ownWindows()) {
        if (!own(window->xid()) || window->invalid_.empty() || !window->showing())
            continue;
        WindowMessage message;
        message.kind = MessageKind::Paint;
        message.area = window->invalid_;
        window->invalid_ = Rect{};
        send(*window, message);
        if (own(window->xid()))
            window->present(message.area);
    }
}

void System::fireTimers()
{
    const uint32_t now = milliseconds();
    const auto isDue = [now](const auto& timer) { return static_cast<int32_t>(now - timer.second.due) >= 0; };
    if (std::none_of(own_.begin(), own_.end(), [&](const auto& entry) {
            return std::any_of(entry.second->timers_.begin(), entry.second->timers_.end(), isDue);
        }))
        return;
    // Passes come a hundred times a second with a timer or two due: those
    // are listed on the stack, and only a crowd of them takes the heap.
    using Due = std::pair<::Window, uint32_t>;
    constexpr size_t kListedOnStack = 8;
    std::array<Due, kListedOnStack> listed{};
    size_t count = 0;
    std::vector<Due> crowd;
    for (auto& [xid, window] : own_)
        for (auto& [id, timer] : window->timers_)
            if (static_cast<int32_t>(now - timer.due) >= 0) {
                if (count < kListedOnStack)
                    listed[count++] = {xid, id};
                else
                    crowd.emplace_back(xid, id);
            }
    const auto fire = [this, now](::Window xid, uint32_t id) {
        OwnWindow* window = own(xid);
        if (!window)
            return;
        auto timer = window->timers_.find(id);
        if (timer == window->timers_.end())
            return;
        timer->second.due = now + timer->second.period;
        // Timers come many times a second: the pointer and keys are asked
        // of the server only by a handler that wants them.
        WindowMessage message;
        message.kind = MessageKind::Timer;
        message.timerId = id;
        dispatch(*window, message);
    };
    for (size_t i = 0; i < count; ++i)
        fire(listed[i].first, listed[i].second);
    for (const auto& [xid, id] : crowd)
        fire(xid, id);
}

void System::presentDamage()
{
    bool shared = false;
    for (auto& [xid, window] : own_)
        if (!window->damage_.empty())
            shared = presentParts(*window) || shared;
    // The shared buffers are written again only after the server read them.
    if (shared)
        XSync(display_, False);
}

bool System::presentParts(OwnWindow& window)
{
    const std::vector<Rect> parts = window.damage_.take();
    const Presenter& presenter = window.presenter_;
    const Image& image = window.image_;
    if (presenter.direct() && !sharingRefused_ && !image.empty() &&
        (!window.shared_ || window.shared_->width() != image.width() || window.shared_->height() != image.height())) {
        window.shared_.reset();
        window.shared_ = SharedPixels::create(display_, presenter.visual(), presenter.depth(), image.width(),
                                              image.height());
        // Refused once, refused for good: the server does not change.
        sharingRefused_ = window.shared_ == nullptr;
    }
    for (const Rect& part : parts) {
        if (window.shared_)
            window.shared_->put(window.xid(), window.gc_, image, part, presenter.opaqueAlpha());
        else
            presenter.put(display_, window.xid(), window.gc_, image, part);
    }
    return window.shared_ != nullptr;
}

} // namespace x11
} // namespace platform
