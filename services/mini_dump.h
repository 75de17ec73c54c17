#pragma once
// A dump of the running process taken on request (the feedback's technical
// data), not from a crash: the calling thread's registers and stack.

#include <string>

namespace services {

// Replaces the file at `path`. On failure a system-modal box captioned
// "Quorbel Error Reporting" names the path and the system error, and the
// result is false. Never call it from a signal handler.
bool writeMiniDump(const std::string& path);

} // namespace services
