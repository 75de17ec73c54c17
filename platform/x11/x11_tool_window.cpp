// Tool windows (the help popup): what the window manager is told before
// mapping, and the focus they take once mapped. A window manager may refuse
// the focus to a window that asks for it itself, so the request also goes
// through _NET_ACTIVE_WINDOW; without a window manager the direct one holds.

#include "platform/x11/x11_system.h"

#include "platform/x11/x11_errors.h"

#include <X11/Xatom.h>

#include <vector>

namespace platform::x11 {

namespace {

Atom atom(Display* display, const char* name)
{
    return XInternAtom(display, name, False);
}

} // namespace

void OwnWindow::markAsTool()
{
    tool_ = true;
    Display* display = system_.display();
    // Motif hints: flags (2: decorations given), functions, decorations (none), input mode, status.
    const long hints[5] = {2, 0, 0, 0, 0};
    XChangeProperty(display, xid_, system_.atoms().motifHints, system_.atoms().motifHints, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(hints), 5);
    const Atom utility = atom(display, "_NET_WM_WINDOW_TYPE_UTILITY");
    XChangeProperty(display, xid_, atom(display, "_NET_WM_WINDOW_TYPE"), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&utility), 1);
    above_ = true;
    writeInitialState();
}

void OwnWindow::writeInitialState()
{
    Display* display = system_.display();
    std::vector<Atom> states;
    if (above_)
        states.push_back(system_.atoms().netWmStateAbove);
    if (tool_) {
        states.push_back(atom(display, "_NET_WM_STATE_SKIP_TASKBAR"));
        states.push_back(atom(display, "_NET_WM_STATE_SKIP_PAGER"));
    }
    if (states.empty())
        XDeleteProperty(display, xid_, system_.atoms().netWmState);
    else
        XChangeProperty(display, xid_, system_.atoms().netWmState, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(states.data()), static_cast<int>(states.size()));
}

void OwnWindow::activate()
{
    if (!alive_ || !tool_ || !visible_)
        return;
    Display* display = system_.display();
    constexpr long kFromApplication = 1;
    askWindowManager(atom(display, "_NET_ACTIVE_WINDOW"), {kFromApplication, CurrentTime, 0, 0, 0});
    ErrorTrap trap(display);
    XSetInputFocus(display, xid_, RevertToParent, CurrentTime);
    if (!trap.failed())
        system_.setFocus(this);
}

} // namespace platform::x11
