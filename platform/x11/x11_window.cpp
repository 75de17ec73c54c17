// Our windows on the display: an X window with its backing image, and the
// window-manager properties of a top-level one.

#include "platform/x11/x11_system.h"

#include "platform/graphics/windows1252.h"
#include "platform/system/clock.h"
#include "platform/x11/x11_shared_pixels.h"

#include <X11/Xatom.h>

#include <vector>

namespace platform::x11 {

WindowSystem& Handle::system()
{
    return system_;
}

OwnWindow::OwnWindow(System& system, ::Window xid, const WindowOptions& options, const Presenter& presenter)
    : Handle(system, xid, options.handler), rect_(options.rect), visible_(false),
      className_(options.className ? options.className : ""), image_(options.rect.width(), options.rect.height()),
      presenter_(presenter)
{
    Display* display = system_.display();
    if (options.kind == WindowOptions::Kind::Child)
        parent_ = static_cast<::Window>(options.parent->handle());
    gc_ = XCreateGC(display, xid_, 0, nullptr);
    invalid_ = image_.bounds();   // the first paint

    std::string name = className_.empty() ? std::string("Quorbel") : className_;
    XClassHint hint;
    hint.res_name = name.data();
    hint.res_class = name.data();
    XSetClassHint(display, xid_, &hint);
    Atom deleteWindow = system_.atoms().wmDeleteWindow;
    XSetWMProtocols(display, xid_, &deleteWindow, 1);
    setTitle(options.title);
    if (parent_ == 0) {
        XSizeHints hints{};
        hints.flags = USPosition | USSize;
        hints.x = rect_.left;
        hints.y = rect_.top;
        hints.width = std::max(rect_.width(), 1);
        hints.height = std::max(rect_.height(), 1);
        XSetWMNormalHints(display, xid_, &hints);
        if (options.parent && options.parent->alive())
            owner_ = static_cast<::Window>(options.parent->handle());
        writeOwnerHint();
        if (options.tool)
            markAsTool();
        else
            askFrameMargins();
    }
}

OwnWindow::~OwnWindow()
{
    Display* display = system_.display();
    if (alive_) {
        system_.destroyTree(*this);
        XDestroyWindow(display, xid_);
    }
    XFreeGC(display, gc_);
    XFlush(display);
}

platform::Window* OwnWindow::parent() const
{
    return parent_ ? system_.lookUp(parent_) : nullptr;
}

Point OwnWindow::screenOrigin() const
{
    Point origin{rect_.left, rect_.top};
    if (platform::Window* p = parent()) {
        const Point above = p->screenOrigin();
        origin.x += above.x;
        origin.y += above.y;
    }
    return origin;
}

void OwnWindow::resizeImage(int32_t width, int32_t height)
{
    image_ = Image(width, height);
    invalid_ = image_.bounds();
    damage_.clear();
    shared_.reset();
}

void OwnWindow::setRect(const Rect& rect)
{
    if (!alive_ || rect == rect_)
        return;
    const bool resized = rect.width() != rect_.width() || rect.height() != rect_.height();
    rect_ = rect;
    if (resized)
        XMoveResizeWindow(system_.display(), xid_, rect.left, rect.top, static_cast<unsigned>(std::max(rect.width(), 1)),
                          static_cast<unsigned>(std::max(rect.height(), 1)));
    else
        XMoveWindow(system_.display(), xid_, rect.left, rect.top);
    WindowMessage message;
    message.area = rect;
    if (resized) {
        resizeImage(rect.width(), rect.height());
        message.kind = MessageKind::Resized;
    } else {
        message.kind = MessageKind::Moved;
    }
    system_.send(*this, message);
}

void OwnWindow::configured(const Rect& rect)
{
    if (!alive_ || rect == rect_)
        return;
    const bool resized = rect.width() != rect_.width() || rect.height() != rect_.height();
    rect_ = rect;
    WindowMessage message;
    message.area = rect;
    if (resized) {
        resizeImage(rect.width(), rect.height());
        message.kind = MessageKind::Resized;
    } else {
        message.kind = MessageKind::Moved;
    }
    system_.send(*this, message);
}

void OwnWindow::setParent(Window* parent)
{
    if (!alive_ || parent == this || (parent && (&parent->system() != &system_ || !parent->alive())))
        return;
    Display* display = system_.display();
    const ::Window next = parent ? static_cast<::Window>(parent->handle()) : system_.root();
    // A managed top-level window is withdrawn before it moves, as the window
    // manager expects.
    if (visible_)
        XUnmapWindow(display, xid_);
    XReparentWindow(display, xid_, next, rect_.left, rect_.top);
    parent_ = parent ? next : 0;
    if (visible_)
        XMapWindow(display, xid_);
    invalid_ = image_.bounds();
}

void OwnWindow::show(bool visible)
{
    if (alive_ && visible != visible_) {
        Display* display = system_.display();
        if (visible) {
            invalid_ = image_.bounds();
            if (parent_ == 0) {
                setKeepAbove(above_);
                writeOwnerHint();
            }
            XMapWindow(display, xid_);
        } else if (parent_ == 0) {
            // Withdrawn, so that the window manager lets it go even when it
            // holds it iconified (with its owner) and would show it again.
            XWithdrawWindow(display, xid_, system_.screen());
        } else {
            XUnmapWindow(display, xid_);
        }
    }
    visible_ = visible;
}

void OwnWindow::setTitle(const char* title)
{
    if (!alive_)
        return;
    Display* display = system_.display();
    std::string latin = title ? title : "";
    XStoreName(display, xid_, latin.c_str());
    const std::string utf8 = windows1252ToUtf8(latin);
    XChangeProperty(display, xid_, system_.atoms().netWmName, system_.atoms().utf8String, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(utf8.data()), static_cast<int>(utf8.size()));
}

void OwnWindow::setIcon(const Image& icon)
{
    if (!alive_ || icon.empty())
        return;
    // _NET_WM_ICON: width, height, then ARGB pixels, each in a long.
    std::vector<unsigned long> data;
    data.reserve(2 + static_cast<size_t>(icon.width()) * static_cast<size_t>(icon.height()));
    data.push_back(static_cast<unsigned long>(icon.width()));
    data.push_back(static_cast<unsigned long>(icon.height()));
    const uint32_t* pixels = icon.pixels();
    for (int32_t y = 0; y < icon.height(); ++y)
        for (int32_t x = 0; x < icon.width(); ++x)
            data.push_back(0xFF000000ul | (pixels[y * icon.stride() + x] & kPixelRgb));
    XChangeProperty(system_.display(), xid_, system_.atoms().netWmIcon, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(data.data()), static_cast<int>(data.size()));
}

void OwnWindow::setKeepAbove(bool above)
{
    above_ = above;
    if (!alive_ || parent_ != 0)
        return;
    if (!visible_) {
        writeInitialState();
        return;
    }
    askStateChange(above, system_.atoms().netWmStateAbove, None);
}

void OwnWindow::askStateChange(bool add, Atom first, Atom second)
{
    constexpr long kFromApplication = 1;
    askWindowManager(system_.atoms().netWmState,
                     {add ? 1 : 0, static_cast<long>(first), static_cast<long>(second), kFromApplication, 0});
}

void OwnWindow::changeState(bool add, Atom first, Atom second)
{
    Display* display = system_.display();
    const Atoms& atoms = system_.atoms();
    if (visible_) {
        askStateChange(add, first, second);
        return;
    }
    std::vector<Atom> states;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, rest = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, xid_, atoms.netWmState, 0, 64, False, XA_ATOM, &type, &format, &count, &rest,
                           &data) == Success && data) {
        const Atom* held = reinterpret_cast<const Atom*>(data);
        for (unsigned long i = 0; i < count; ++i)
            if (held[i] != first && held[i] != second)
                states.push_back(held[i]);
    }
    if (data)
        XFree(data);
    if (add) {
        states.push_back(first);
        states.push_back(second);
    }
    XChangeProperty(display, xid_, atoms.netWmState, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(states.data()), static_cast<int>(states.size()));
}

void OwnWindow::setMaximised(bool maximised)
{
    if (alive_ && parent_ == 0)
        changeState(maximised, system_.atoms().netWmStateMaximisedVert, system_.atoms().netWmStateMaximisedHorz);
}

void OwnWindow::stateChanged()
{
    if (!alive_ || parent_ != 0)
        return;
    const Atoms& atoms = system_.atoms();
    bool vertical = false, horizontal = false;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, rest = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(system_.display(), xid_, atoms.netWmState, 0, 64, False, XA_ATOM, &type, &format, &count,
                           &rest, &data) == Success && data) {
        const Atom* held = reinterpret_cast<const Atom*>(data);
        for (unsigned long i = 0; i < count; ++i) {
            vertical = vertical || held[i] == atoms.netWmStateMaximisedVert;
            horizontal = horizontal || held[i] == atoms.netWmStateMaximisedHorz;
        }
    }
    if (data)
        XFree(data);
    if ((vertical && horizontal) == maximised_)
        return;
    maximised_ = vertical && horizontal;
    WindowMessage message;
    message.kind = MessageKind::StateChanged;
    message.param = maximised_ ? 1 : 0;
    system_.send(*this, message);
}

void OwnWindow::minimise()
{
    if (alive_ && parent_ == 0)
        XIconifyWindow(system_.display(), xid_, system_.screen());
}

// The window manager takes the pointer over: our own implicit grab from the
// button press goes first, then _NET_WM_MOVERESIZE asks for a move from the
// pointer's root position.
void OwnWindow::beginMove()
{
    if (!alive_ || parent_ != 0)
        return;
    Display* display = system_.display();
    ::Window rootReturn = 0, childReturn = 0;
    int rootX = 0, rootY = 0, x = 0, y = 0;
    unsigned int mask = 0;
    if (!XQueryPointer(display, xid_, &rootReturn, &childReturn, &rootX, &rootY, &x, &y, &mask))
        return;
    XUngrabPointer(display, CurrentTime);
    constexpr long kMoveByPointer = 8;
    constexpr long kFirstButton = 1;
    constexpr long kFromApplication = 1;
    askWindowManager(XInternAtom(display, "_NET_WM_MOVERESIZE", False),
                     {rootX, rootY, kMoveByPointer, kFirstButton, kFromApplication});
    XFlush(display);
}

void OwnWindow::setDecorated(bool decorated)
{
    if (!alive_ || parent_ != 0)
        return;
    // The Motif hints every window manager reads: flags (2: decorations
    // given), functions, decorations, input mode, status.
    const long hints[5] = {2, 0, decorated ? 1 : 0, 0, 0};
    XChangeProperty(system_.display(), xid_, system_.atoms().motifHints, system_.atoms().motifHints, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(hints), 5);
}

void OwnWindow::setMinimumSize(int32_t width, int32_t height)
{
    if (!alive_ || parent_ != 0)
        return;
    // Added to the hints given at creation (the first place and size).
    Display* display = system_.display();
    XSizeHints hints{};
    long given = 0;
    if (!XGetWMNormalHints(display, xid_, &hints, &given))
        hints = XSizeHints{};
    hints.flags |= PMinSize;
    hints.min_width = std::max(width, 1);
    hints.min_height = std::max(height, 1);
    XSetWMNormalHints(display, xid_, &hints);
}

void OwnWindow::raise()
{
    if (alive_)
        XRaiseWindow(system_.display(), xid_);
}

void OwnWindow::invalidate(const Rect& area)
{
    if (alive_)
        invalid_ = enclosing(invalid_, intersect(area, image_.bounds()));
}

void OwnWindow::present(const Rect& area)
{
    if (alive_)
        damage_.add(intersect(area, image_.bounds()));
}

void OwnWindow::setTimer(uint32_t id, uint32_t periodMs)
{
    if (alive_)
        timers_[id] = Timer{periodMs, milliseconds() + periodMs};
}

void OwnWindow::post(intptr_t param)
{
    WindowMessage message;
    message.kind = MessageKind::User;
    message.param = param;
    message.input = system_.inputState();
    system_.queue(*this, message);
}

void OwnWindow::takeFocus()
{
    if (!alive_)
        return;
    XSetInputFocus(system_.display(), xid_, RevertToParent, CurrentTime);
    system_.setFocus(this);
}

bool OwnWindow::hasFocus() const
{
    return alive_ && system_.focus() == xid_;
}

void OwnWindow::setCursor(Cursor cursor)
{
    cursor_ = cursor;
    if (alive_)
        XDefineCursor(system_.display(), xid_, system_.fontCursor(cursor));
}

bool OwnWindow::showing() const
{
    if (!isVisible())
        return false;
    if (parent_ == 0)
        return true;
    Handle* above = system_.lookUp(parent_);
    if (!above)
        return false;
    return !above->isOwn() || static_cast<OwnWindow*>(above)->showing();
}

} // namespace platform::x11
