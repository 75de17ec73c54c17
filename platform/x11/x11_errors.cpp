#include "platform/x11/x11_errors.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace platform::x11 {

namespace {

struct Watched {
    Display* display;
    unsigned long lastSerial;
    int lastCode;
    bool any;
};

// Process-wide, as Xlib's handler is; the host's threads may meet errors of
// their own connections while ours are watched.
std::mutex registryLock;
std::vector<Watched> watched;
XErrorHandler previous = nullptr;

int onError(Display* display, XErrorEvent* error)
{
    XErrorHandler chain = nullptr;
    {
        std::lock_guard<std::mutex> lock(registryLock);
        auto found = std::find_if(watched.begin(), watched.end(), [&](const Watched& w) { return w.display == display; });
        if (found != watched.end()) {
            found->lastSerial = error->serial;
            found->lastCode = error->error_code;
            found->any = true;
            return 0;
        }
        chain = previous;
    }
    return chain ? chain(display, error) : 0;
}

} // namespace

void watchErrors(Display* display)
{
    std::lock_guard<std::mutex> lock(registryLock);
    if (watched.empty())
        previous = XSetErrorHandler(onError);
    watched.push_back({display, 0, 0, false});
}

void unwatchErrors(Display* display)
{
    std::lock_guard<std::mutex> lock(registryLock);
    std::erase_if(watched, [&](const Watched& w) { return w.display == display; });
    if (!watched.empty())
        return;
    // Someone who installed a handler after ours keeps it.
    XErrorHandler current = XSetErrorHandler(previous);
    if (current != onError)
        XSetErrorHandler(current);
    previous = nullptr;
}

ErrorTrap::ErrorTrap(Display* display) : display_(display), first_(NextRequest(display)) {}

bool ErrorTrap::failed()
{
    XSync(display_, False);
    std::lock_guard<std::mutex> lock(registryLock);
    for (const Watched& w : watched)
        if (w.display == display_ && w.any && static_cast<long>(w.lastSerial - first_) >= 0) {
            code_ = w.lastCode;
            return true;
        }
    return false;
}

} // namespace platform::x11
