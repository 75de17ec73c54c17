#include "gui/frame/window_ancestors.h"

#include "platform/window.h"

platform::Window* findRootWindow(platform::Window* window)
{
    while (window && window->parent())
        window = window->parent();
    return window;
}

platform::Window* findFramedAncestor(platform::Window* window)
{
    for (window = window ? window->parent() : nullptr; window; window = window->parent())
        if (window->isTopLevel())
            return window;
    return nullptr;
}
