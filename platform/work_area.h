#pragma once
// Which monitor a window belongs to, and what of it windows may cover: the
// rules of MonitorFromRect (nearest) and of the work area, apart from any
// display so that both backends share them.

#include "platform/graphics/geometry.h"

#include <vector>

namespace platform {

// The monitor the rectangle overlaps most; when it overlaps none, the one
// closest to it (ties go to the first listed). Empty without monitors.
Rect nearestMonitor(const std::vector<Rect>& monitors, const Rect& rect);

// The monitor cut to the desktop's work area (which on several monitors
// spans them all); the whole monitor when the desktop gives none or the cut
// leaves nothing.
Rect workAreaOf(const Rect& monitor, const Rect& desktopWorkArea);

} // namespace platform
