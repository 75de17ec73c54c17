// What the headless screen shows: the windows' own images composed on a
// plain desktop, as a compositor would put them on a display.

#include "platform/graphics/canvas.h"
#include "platform/headless/headless_window.h"
#include "platform/work_area.h"

#include <vector>

namespace platform {

namespace {

// The window's image at its screen place, cut to what its ancestors leave
// visible, then its showing children over it.
void compose(Canvas& screen, Window& window, const Rect& visible, const std::vector<Window*>& all)
{
    const Point origin = window.screenOrigin();
    Image& image = window.image();
    const Rect place = rectOfSize(origin.x, origin.y, image.width(), image.height());
    const Rect shown = intersect(place, visible);
    if (shown.empty())
        return;
    screen.setClip(shown);
    screen.copy(image, place, {0, 0});
    for (Window* child : all)
        if (child->parent() == &window && child->isVisible())
            compose(screen, *child, shown, all);
}

} // namespace

Image HeadlessWindowSystem::captureScreen()
{
    Image screen(kScreenSize.x, kScreenSize.y, kDesktopColour);
    std::vector<Window*> all;
    for (const auto& entry : windows_)
        all.push_back(findWindow(entry.first));
    std::vector<Window*> stack;
    for (const bool above : {false, true})
        for (Window* window : all)
            if (window->isTopLevel() && window->isVisible() && keptAbove(*window) == above)
                stack.push_back(window);
    Canvas canvas(screen);
    for (Window* window : stack)
        compose(canvas, *window, screen.bounds(), all);
    return screen;
}

Rect HeadlessWindowSystem::workArea(const Rect& near)
{
    return workAreaOf(nearestMonitor(monitors_, near), desktopWorkArea_);
}

void HeadlessWindowSystem::setMonitors(std::vector<Rect> monitors, const Rect& desktopWorkArea)
{
    monitors_ = std::move(monitors);
    desktopWorkArea_ = desktopWorkArea;
}

} // namespace platform
