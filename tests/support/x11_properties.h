#pragma once
// What a test reads of another program's windows over its own connection:
// 32-bit properties, class names and children. Xlib only, so that any test
// (also one that links nothing of ours) can use it.

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <string>
#include <vector>

namespace x11_read {

// Up to `count` longs of a format-32 property; empty when there is none.
inline std::vector<long> property32(Display* display, ::Window w, const char* name, long count)
{
    std::vector<long> values;
    Atom type = None;
    int format = 0;
    unsigned long items = 0, rest = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, w, XInternAtom(display, name, False), 0, count, False, AnyPropertyType, &type,
                           &format, &items, &rest, &data) == Success && data && format == 32) {
        const long* held = reinterpret_cast<const long*>(data);
        values.assign(held, held + items);
    }
    if (data)
        XFree(data);
    return values;
}

// WM_CLASS's class part; empty when the window has none.
inline std::string classOf(Display* display, ::Window w)
{
    XClassHint hint{};
    if (!XGetClassHint(display, w, &hint))
        return {};
    std::string name = hint.res_class ? hint.res_class : "";
    XFree(hint.res_name);
    XFree(hint.res_class);
    return name;
}

// Bottom of the stacking order first.
inline std::vector<::Window> childrenOf(Display* display, ::Window w)
{
    ::Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    std::vector<::Window> out;
    if (XQueryTree(display, w, &root, &parent, &children, &count) && children)
        out.assign(children, children + count);
    if (children)
        XFree(children);
    return out;
}

} // namespace x11_read
