#include "host/window_loop.h"

#include <ctime>

namespace host {

namespace {

bool signalled(const sigset_t& signals)
{
    const timespec now{0, 0};
    return sigtimedwait(&signals, nullptr, &now) > 0;
}

} // namespace

void runWindowLoop(platform::WindowSystem& windows, MainWindow& window, const sigset_t& signals)
{
    while (window.isOpen()) {
        windows.waitForEvents(kIdlePeriodMs);
        if (signalled(signals)) {
            window.close();
            break;
        }
        windows.pump();
    }
}

} // namespace host
