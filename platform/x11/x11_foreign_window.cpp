// A host's window, asked of the server each time: the host moves it and
// changes it without telling us.

#include "platform/x11/x11_system.h"

#include "platform/x11/x11_properties.h"

namespace platform::x11 {

platform::Window* ForeignWindow::parent() const
{
    if (!alive_)
        return nullptr;
    Display* display = system_.display();
    ::Window rootReturn = 0, above = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, xid_, &rootReturn, &above, &children, &count))
        return nullptr;
    if (children)
        XFree(children);
    // Inside a window of this connection's own (never a window manager's
    // frame, never redirecting its children) it is a top level only when a
    // window manager marked it one: one request instead of a walk up the
    // tree with several for every ancestor.
    if (above != 0 && system_.own(above))
        return hasProperty(display, xid_, system_.atoms().wmState) ? nullptr : system_.findWindow(above);
    if (above == 0 || above == system_.root() || system_.topLevelOf(xid_) == xid_)
        return nullptr;
    return system_.findWindow(above);
}

Rect ForeignWindow::rect() const
{
    XWindowAttributes attributes{};
    if (!alive_ || !XGetWindowAttributes(system_.display(), xid_, &attributes))
        return {};
    if (isTopLevel()) {
        const Point origin = screenOrigin();
        return rectOfSize(origin.x, origin.y, attributes.width, attributes.height);
    }
    return rectOfSize(attributes.x, attributes.y, attributes.width, attributes.height);
}

Point ForeignWindow::screenOrigin() const
{
    int x = 0, y = 0;
    ::Window child = 0;
    if (alive_)
        XTranslateCoordinates(system_.display(), xid_, system_.root(), 0, 0, &x, &y, &child);
    return {x, y};
}

bool ForeignWindow::isVisible() const
{
    XWindowAttributes attributes{};
    return alive_ && XGetWindowAttributes(system_.display(), xid_, &attributes) && attributes.map_state != IsUnmapped;
}

std::string ForeignWindow::className() const
{
    XClassHint hint{};
    if (!alive_ || !XGetClassHint(system_.display(), xid_, &hint))
        return {};
    std::string name = hint.res_class ? hint.res_class : "";
    if (hint.res_name)
        XFree(hint.res_name);
    if (hint.res_class)
        XFree(hint.res_class);
    return name;
}

void ForeignWindow::takeFocus()
{
    if (!alive_)
        return;
    XSetInputFocus(system_.display(), xid_, RevertToParent, CurrentTime);
    XFlush(system_.display());
}

} // namespace platform::x11
