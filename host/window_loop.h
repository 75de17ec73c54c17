#pragma once
// The windowed host's message loop: waits on the display, pumps, and lets
// the window's timer idle the editor every 10 ms, until the quit is
// confirmed or an interrupt or termination request arrives (which ends it as
// a confirmed quit does).

#include "host/main_window.h"

#include <csignal>

namespace host {

// The signals must be blocked in every thread: while the loop runs, this
// thread alone takes them.
void runWindowLoop(platform::WindowSystem& windows, MainWindow& window, const sigset_t& signals);

} // namespace host
