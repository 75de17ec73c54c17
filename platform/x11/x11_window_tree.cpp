// Other programs' windows inside ours, as a host sees its plug-in's: the
// children of a window and placing them.

#include "platform/x11/x11_system.h"

#include "platform/x11/x11_errors.h"

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

} // namespace platform::x11
