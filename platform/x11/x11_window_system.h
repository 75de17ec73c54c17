#pragma once
// The window layer on an X display. One object is one connection of our own,
// opened when the editor opens (never at load) and closed when the object
// goes, after its last window. A host's window, handed over as an XID, is
// reached with findWindow; our children take its visual, depth and colormap.
// Nothing reads the connection but pump() and the popup loop, both on the GUI
// thread. X errors of the connection are recorded, never fatal (Xlib's
// default handler would end the host); the handler that was there before is
// put back when the last connection closes. Windows must go before their
// system.

#include "platform/window.h"

#include <memory>

namespace platform {

class X11WindowSystem : public WindowSystem {
public:
    // Null when no display can be opened (no DISPLAY, no server).
    static std::unique_ptr<X11WindowSystem> open(const char* displayName = nullptr);

    // Waits until the server has handled every request sent so far, so that
    // the events they cause are ours at the next pump.
    virtual void sync() = 0;
    // The connection's file descriptor, for a loop that waits on it.
    virtual int connectionNumber() const = 0;
    // Asks the window manager to keep every window that the process of that
    // id shows above other windows (kept above as well): a box that must be
    // answered before anything else, shown by a program of the desktop.
    virtual void keepWindowsOfProcessAbove(int pid) = 0;

protected:
    X11WindowSystem() = default;
};

} // namespace platform
