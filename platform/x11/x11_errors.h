#pragma once
// X errors of our connections are recorded, never fatal: Xlib's default
// handler ends the process, host and all. Errors of other connections (the
// host's own) go on to the handler that was installed before ours.

#include <X11/Xlib.h>

namespace platform::x11 {

// The first watched connection installs our handler; when the last one is
// unwatched the previous handler is put back.
void watchErrors(Display* display);
void unwatchErrors(Display* display);

// Catches the errors of the requests made while it lives.
class ErrorTrap {
public:
    explicit ErrorTrap(Display* display);
    // Waits for the server to answer every request so far; true when one of
    // those made since the trap was set failed.
    bool failed();
    // The error code of that failure (BadAccess, BadWindow, ...).
    int code() const { return code_; }

private:
    Display* display_;
    unsigned long first_;
    int code_ = 0;
};

} // namespace platform::x11
