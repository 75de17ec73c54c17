#include "editor/own_window_system.h"

std::unique_ptr<platform::WindowSystem> openOwnWindowSystem()
{
    return nullptr;
}
