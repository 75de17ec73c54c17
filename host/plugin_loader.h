#pragma once
#include "host/host_state.h"

#include <string>

namespace host {

extern const char kPluginFileName[];   // "Quorbel.so"

// Where the plug-in is looked for: beside the host's own executable first,
// else the bare file name for the library search path.
std::string defaultPluginPath(const std::string& executablePath);

// Loads the library, creates the effect through "VSTPluginMain" (or "main"),
// sends effOpen and prints the property dump. False (with the reason printed)
// when the library, its entry or its effect is missing; the library then
// stays loaded until hostShutdown.
bool loadPlugin(HostState& state, const std::string& path);

// Sends effClose and forgets the effect; nothing without one.
void closePlugin(HostState& state);

} // namespace host
