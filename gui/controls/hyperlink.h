#pragma once
// A static text of a running dialog made to look and work like a link: blue
// text (COLORREF 0xC00000), the hand cursor over it, underlined while the
// pointer is on it, and a click reported as WM_COMMAND with STN_CLICKED.

#include <cstdint>

namespace platform {
class Window;
}

// False when the window is no running dialog's or the id names no text.
bool makeHyperlink(platform::Window* dialogWindow, int32_t controlId);
