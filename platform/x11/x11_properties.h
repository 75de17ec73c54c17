#pragma once
// Reading a window's 32-bit properties (atoms, windows, cardinals), which
// Xlib hands over as longs.

#include <X11/Xlib.h>

#include <vector>

namespace platform::x11 {

// Up to `count` items of a format-32 property of that type (AnyPropertyType
// for any); empty when the window lacks it or is gone.
std::vector<long> property32(Display* display, ::Window window, Atom property, Atom type, long count);

// Whether the window has the property at all.
bool hasProperty(Display* display, ::Window window, Atom property);

} // namespace platform::x11
