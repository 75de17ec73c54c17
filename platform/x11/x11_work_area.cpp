// The work area on a display: the monitors from XRandR (1.5 monitors, else
// the CRTCs of 1.2) when the server has the extension, else the whole screen,
// cut to the _NET_WORKAREA the window manager publishes for the current
// desktop.

#include "platform/x11/x11_system.h"

#include "platform/x11/x11_errors.h"
#include "platform/x11/x11_properties.h"
#include "platform/work_area.h"

#include <X11/Xatom.h>
#include <X11/extensions/Xrandr.h>

namespace platform::x11 {

namespace {

std::vector<Rect> randrMonitors(Display* display, ::Window root)
{
    std::vector<Rect> monitors;
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!XRRQueryExtension(display, &eventBase, &errorBase) || !XRRQueryVersion(display, &major, &minor))
        return monitors;
    ErrorTrap trap(display);
    if (major > 1 || (major == 1 && minor >= 5)) {
        int count = 0;
        if (XRRMonitorInfo* list = XRRGetMonitors(display, root, True, &count)) {
            for (int i = 0; i < count; ++i)
                monitors.push_back(rectOfSize(list[i].x, list[i].y, list[i].width, list[i].height));
            XRRFreeMonitors(list);
        }
    } else if (major == 1 && minor >= 2) {
        if (XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, root)) {
            for (int i = 0; i < resources->ncrtc; ++i)
                if (XRRCrtcInfo* crtc = XRRGetCrtcInfo(display, resources, resources->crtcs[i])) {
                    if (crtc->mode != None && crtc->width > 0 && crtc->height > 0)
                        monitors.push_back(rectOfSize(crtc->x, crtc->y, int32_t(crtc->width), int32_t(crtc->height)));
                    XRRFreeCrtcInfo(crtc);
                }
            XRRFreeScreenResources(resources);
        }
    }
    if (trap.failed())
        monitors.clear();
    return monitors;
}

// Up to `count` CARDINALs of a root property.
std::vector<long> cardinals(Display* display, ::Window root, const char* name, long count)
{
    return property32(display, root, XInternAtom(display, name, False), XA_CARDINAL, count);
}

// The current desktop's work area; empty when the window manager gives none.
Rect desktopWorkArea(Display* display, ::Window root)
{
    const std::vector<long> current = cardinals(display, root, "_NET_CURRENT_DESKTOP", 1);
    const long desktop = current.empty() ? 0 : current[0];
    if (desktop < 0 || desktop > 64)
        return {};
    const std::vector<long> areas = cardinals(display, root, "_NET_WORKAREA", 4 * (desktop + 1));
    if (areas.size() < size_t(4 * (desktop + 1)))
        return {};
    const long* area = &areas[size_t(4 * desktop)];
    return rectOfSize(int32_t(area[0]), int32_t(area[1]), int32_t(area[2]), int32_t(area[3]));
}

} // namespace

Rect System::workArea(const Rect& near)
{
    std::vector<Rect> monitors = randrMonitors(display_, root_);
    if (monitors.empty())
        monitors.push_back({0, 0, DisplayWidth(display_, screen_), DisplayHeight(display_, screen_)});
    return workAreaOf(nearestMonitor(monitors, near), desktopWorkArea(display_, root_));
}

} // namespace platform::x11
