#include "editor/editor_window/own_window_system.h"

#include "platform/x11/x11_window_system.h"

std::unique_ptr<platform::WindowSystem> openOwnWindowSystem()
{
    return platform::X11WindowSystem::open();
}
