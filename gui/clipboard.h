#pragma once
// The clipboard's text for pastes into controls, which know no window: read
// through the window system of the frame opened last that still lives.
// GUI thread only.

#include <string>

namespace platform {
class WindowSystem;
}

namespace tessel_clipboard {

// Each frame with a window registers its system and unregisters it when it goes.
void addSource(platform::WindowSystem* system);
void removeSource(platform::WindowSystem* system);

// Windows-1252 text; empty without a source or without text.
std::string text();

} // namespace tessel_clipboard
