#include "platform/work_area.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace platform {

namespace {

int64_t overlap(const Rect& a, const Rect& b)
{
    const Rect common = intersect(a, b);
    return int64_t(common.width()) * common.height();
}

// Squared distance between the two rectangles' nearest edges; 0 when they touch.
int64_t gap(const Rect& a, const Rect& b)
{
    const int64_t dx = std::max<int64_t>({0, int64_t(a.left) - b.right, int64_t(b.left) - a.right});
    const int64_t dy = std::max<int64_t>({0, int64_t(a.top) - b.bottom, int64_t(b.top) - a.bottom});
    return dx * dx + dy * dy;
}

} // namespace

Rect nearestMonitor(const std::vector<Rect>& monitors, const Rect& rect)
{
    const Rect* best = nullptr;
    int64_t most = 0;
    for (const Rect& monitor : monitors)
        if (const int64_t shared = overlap(monitor, rect); shared > most) {
            most = shared;
            best = &monitor;
        }
    if (best)
        return *best;
    // A point-sized or outside rectangle: the closest monitor.
    int64_t least = std::numeric_limits<int64_t>::max();
    for (const Rect& monitor : monitors)
        if (const int64_t distance = gap(monitor, rect); distance < least) {
            least = distance;
            best = &monitor;
        }
    return best ? *best : Rect{};
}

Rect workAreaOf(const Rect& monitor, const Rect& desktopWorkArea)
{
    if (desktopWorkArea.empty())
        return monitor;
    const Rect usable = intersect(monitor, desktopWorkArea);
    return usable.empty() ? monitor : usable;
}

} // namespace platform
