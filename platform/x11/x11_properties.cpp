#include "platform/x11/x11_properties.h"

namespace platform::x11 {

std::vector<long> property32(Display* display, ::Window window, Atom property, Atom type, long count)
{
    std::vector<long> values;
    Atom actual = None;
    int format = 0;
    unsigned long items = 0, rest = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, property, 0, count, False, type, &actual, &format, &items, &rest, &data)
            == Success
        && data && format == 32) {
        const long* held = reinterpret_cast<const long*>(data);
        values.assign(held, held + items);
    }
    if (data)
        XFree(data);
    return values;
}

bool hasProperty(Display* display, ::Window window, Atom property)
{
    Atom actual = None;
    int format = 0;
    unsigned long items = 0, rest = 0;
    unsigned char* data = nullptr;
    const bool read = XGetWindowProperty(display, window, property, 0, 0, False, AnyPropertyType, &actual, &format,
                                         &items, &rest, &data) == Success;
    if (data)
        XFree(data);
    return read && actual != None;
}

} // namespace platform::x11
