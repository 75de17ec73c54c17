// The popup menu's loop, pointer and keys, as Windows' menus behave.

#include "platform/x11/x11_popup.h"

#include "platform/system/clock.h"

#include <algorithm>
#include <poll.h>

namespace platform::x11 {

namespace {

constexpr uint32_t kHostIdleMs = 100;
constexpr int kWaitMs = 10;

} // namespace

int32_t System::trackPopup(platform::Window& owner, const PopupMenu& menu, Point screen, bool rightButton)
{
    if (popup_ || &owner.system() != this || !owner.alive())
        return -1;
    PopupSession session(*this, static_cast<Handle&>(owner), rightButton);
    return session.run(menu, screen);
}

PopupSession::PopupSession(System& system, Handle& owner, bool rightButton)
    : system_(system), display_(system.display()), ownerXid_(owner.xid()), rightButton_(rightButton),
      screen_(rectOfSize(0, 0, DisplayWidth(display_, system.screen()), DisplayHeight(display_, system.screen()))),
      presenter_(display_, DefaultVisual(display_, system.screen()), DefaultDepth(display_, system.screen()))
{
    gc_ = XCreateGC(display_, system.root(), 0, nullptr);
}

PopupSession::~PopupSession()
{
    if (system_.popup_ == this)
        system_.popup_ = nullptr;
    closeFrom(0);
    XUngrabPointer(display_, CurrentTime);
    XUngrabKeyboard(display_, CurrentTime);
    XFreeGC(display_, gc_);
    XFlush(display_);
}

int32_t PopupSession::run(const PopupMenu& menu, Point screen)
{
    start_ = system_.cursorPosition();
    openingPress_ = (system_.inputState().bits & kButtonBits) != 0;
    auto panel = std::make_unique<MenuPanel>(menu, [this](MenuItemMessage& item, bool draw) { ownerCall(item, draw); });
    const Rect place = placeMenu(screen, panel->width(), panel->height(), screen_);
    show(std::move(panel), place, -1, false);

    const ::Window grabber = levels_.front()->xid;
    XGrabPointer(display_, grabber, True, ButtonPressMask | ButtonReleaseMask | PointerMotionMask, GrabModeAsync,
                 GrabModeAsync, None, system_.fontCursor(Cursor::Arrow), CurrentTime);
    XGrabKeyboard(display_, grabber, True, GrabModeAsync, GrabModeAsync, CurrentTime);
    XFlush(display_);

    system_.popup_ = this;
    uint32_t nextIdle = milliseconds() + kHostIdleMs;
    while (!done_) {
        while (!done_ && XPending(display_)) {
            XEvent event;
            XNextEvent(display_, &event);
            system_.handleEvent(event);
        }
        if (done_)
            break;
        if (!system_.lookUp(ownerXid_)) {
            finish(-1);
            break;
        }
        system_.serviceWindows();
        if (static_cast<int32_t>(milliseconds() - nextIdle) >= 0) {
            nextIdle = milliseconds() + kHostIdleMs;
            system_.runModalIdle();
        }
        if (!done_ && !XPending(display_)) {
            pollfd connection{ConnectionNumber(display_), POLLIN, 0};
            poll(&connection, 1, kWaitMs);
        }
    }
    system_.popup_ = nullptr;
    return result_;
}

bool PopupSession::handle(XEvent& event)
{
    switch (event.type) {
    case KeyPress:
        key(event.xkey);
        return true;
    case KeyRelease:
        return true;
    case ButtonPress: {
        if (event.xbutton.button > Button3)
            return true;
        const Point at{event.xbutton.x_root, event.xbutton.y_root};
        if (levelAt(at) < 0) {
            finish(-1);
            return true;
        }
        openingPress_ = false;
        pointerAt(at);
        return true;
    }
    case ButtonRelease:
        released(event.xbutton);
        return true;
    case MotionNotify: {
        XEvent next;
        while (XPending(display_) && (XPeekEvent(display_, &next), next.type == MotionNotify))
            XNextEvent(display_, &event);
        pointerAt({event.xmotion.x_root, event.xmotion.y_root});
        return true;
    }
    default:
        break;
    }
    for (auto& level : levels_)
        if (level->xid == event.xany.window) {
            if (event.type == Expose)
                presenter_.put(display_, level->xid, gc_, level->image, level->image.bounds());
            return true;
        }
    return false;
}

void PopupSession::ownerCall(MenuItemMessage& item, bool draw)
{
    Handle* owner = system_.lookUp(ownerXid_);
    if (!owner)
        return;
    WindowMessage message;
    message.kind = draw ? MessageKind::DrawItem : MessageKind::MeasureItem;
    message.item = &item;
    system_.send(*owner, message);
}

void PopupSession::show(std::unique_ptr<MenuPanel> panel, const Rect& place, int32_t openedFrom, bool firstRowLit)
{
    auto level = std::make_unique<Level>();
    level->rect = place;
    level->image = Image(place.width(), place.height());
    level->openedFrom = openedFrom;
    level->highlighted = firstRowLit ? panel->step(-1, 1) : -1;
    level->panel = std::move(panel);
    const int screen = system_.screen();
    XSetWindowAttributes set{};
    set.override_redirect = True;
    set.save_under = True;
    set.background_pixmap = None;
    set.border_pixel = 0;
    set.colormap = DefaultColormap(display_, screen);
    set.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask
                   | KeyReleaseMask;
    level->xid = XCreateWindow(display_, system_.root(), place.left, place.top,
                               static_cast<unsigned>(std::max(place.width(), 1)),
                               static_cast<unsigned>(std::max(place.height(), 1)), 0, DefaultDepth(display_, screen),
                               InputOutput, DefaultVisual(display_, screen),
                               CWOverrideRedirect | CWSaveUnder | CWBackPixmap | CWBorderPixel | CWColormap
                                   | CWEventMask,
                               &set);
    XMapRaised(display_, level->xid);
    redraw(*level);
    levels_.push_back(std::move(level));
}

void PopupSession::redraw(Level& level)
{
    level.panel->draw(level.image, level.highlighted);
    presenter_.put(display_, level.xid, gc_, level.image, level.image.bounds());
}

void PopupSession::closeFrom(size_t level)
{
    while (levels_.size() > level) {
        XDestroyWindow(display_, levels_.back()->xid);
        levels_.pop_back();
    }
}

void PopupSession::highlight(size_t level, int32_t row)
{
    Level& at = *levels_[level];
    if (at.panel->isSeparator(row))
        row = -1;
    if (row == at.highlighted)
        return;
    at.highlighted = row;
    redraw(at);
}

int32_t PopupSession::levelAt(Point screen) const
{
    for (size_t i = levels_.size(); i-- > 0;)
        if (levels_[i]->rect.contains(screen))
            return static_cast<int32_t>(i);
    return -1;
}

void PopupSession::openSubmenu(size_t level, int32_t row, bool fromKeyboard)
{
    Level& parent = *levels_[level];
    if (levels_.size() > level + 1 && levels_[level + 1]->openedFrom == row) {
        if (fromKeyboard && levels_[level + 1]->highlighted < 0)
            highlight(level + 1, levels_[level + 1]->panel->step(-1, 1));
        return;
    }
    closeFrom(level + 1);
    highlight(level, row);
    const PopupMenu& submenu = *parent.panel->menu().rows[static_cast<size_t>(row)].submenu;
    auto panel = std::make_unique<MenuPanel>(submenu, [this](MenuItemMessage& item, bool draw) { ownerCall(item, draw); });
    const Rect rowOnScreen = parent.panel->rowRect(row).movedBy(parent.rect.left, parent.rect.top);
    const Rect place = placeSubmenu(parent.rect, rowOnScreen, panel->width(), panel->height(), screen_);
    show(std::move(panel), place, row, fromKeyboard);
}

void PopupSession::pointerAt(Point screen)
{
    if (!(screen == start_))
        moved_ = true;
    const int32_t index = levelAt(screen);
    if (index < 0) {
        // Off the menus: the deepest loses its highlight, the others keep the
        // rows whose submenus are open.
        highlight(levels_.size() - 1, -1);
        return;
    }
    const auto level = static_cast<size_t>(index);
    Level& at = *levels_[level];
    const int32_t row = at.panel->rowAt({screen.x - at.rect.left, screen.y - at.rect.top});
    if (row == at.highlighted && row >= 0)
        return;
    closeFrom(level + 1);
    highlight(level, row);
    if (at.panel->opensSubmenu(row))
        openSubmenu(level, row, false);
}

void PopupSession::released(const XButtonEvent& event)
{
    // With left-button tracking the right button chooses nothing.
    if (event.button != Button1 && !(rightButton_ && event.button == Button3))
        return;
    if (openingPress_) {
        openingPress_ = false;
        if (!moved_)
            return;
    }
    const Point at{event.x_root, event.y_root};
    const int32_t index = levelAt(at);
    if (index < 0)
        return;
    const Level& level = *levels_[static_cast<size_t>(index)];
    const int32_t row = level.panel->rowAt({at.x - level.rect.left, at.y - level.rect.top});
    if (level.panel->choosable(row))
        finish(level.panel->menu().rows[static_cast<size_t>(row)].id);
}

void PopupSession::activate(size_t level, int32_t row, bool fromKeyboard)
{
    MenuPanel& panel = *levels_[level]->panel;
    if (panel.opensSubmenu(row))
        openSubmenu(level, row, fromKeyboard);
    else if (panel.choosable(row))
        finish(panel.menu().rows[static_cast<size_t>(row)].id);
}

void PopupSession::key(const XKeyEvent& event)
{
    const size_t deepest = levels_.size() - 1;
    Level& level = *levels_[deepest];
    MenuPanel& panel = *level.panel;
    switch (system_.keyboard().windowsKey(event.keycode, event.state)) {
    case kWinEscape:
        if (deepest == 0)
            finish(-1);
        else
            closeFrom(deepest);
        return;
    case kWinMenu:
        finish(-1);
        return;
    case kWinUp:
        highlight(deepest, panel.step(level.highlighted, -1));
        return;
    case kWinDown:
        highlight(deepest, panel.step(level.highlighted, 1));
        return;
    case kWinHome:
        highlight(deepest, panel.step(-1, 1));
        return;
    case kWinEnd:
        highlight(deepest, panel.step(-1, -1));
        return;
    case kWinRight:
        if (panel.opensSubmenu(level.highlighted)) {
            openSubmenu(deepest, level.highlighted, true);
        } else if (const int32_t row = panel.acrossColumn(level.highlighted, 1); row >= 0) {
            highlight(deepest, row);
        }
        return;
    case kWinLeft:
        if (const int32_t row = panel.acrossColumn(level.highlighted, -1); row >= 0)
            highlight(deepest, row);
        else if (deepest > 0)
            closeFrom(deepest);
        return;
    case kWinReturn:
        activate(deepest, level.highlighted, true);
        return;
    default:
        break;
    }
    const std::vector<int32_t> rows = panel.withMnemonic(Keyboard::characters(event).printable);
    if (rows.size() == 1) {
        highlight(deepest, rows.front());
        activate(deepest, rows.front(), true);
    } else if (!rows.empty()) {
        // Several rows share the letter: each press lights the next.
        auto next = std::upper_bound(rows.begin(), rows.end(), level.highlighted);
        highlight(deepest, next == rows.end() ? rows.front() : *next);
    }
}

void PopupSession::finish(int32_t result)
{
    result_ = result;
    done_ = true;
}

} // namespace platform::x11
