#pragma once
#include <cstdint>
#include <string>

namespace platform {

// The base address at which this library (or program) is loaded: the value
// that names the process-wide shared mutexes ("QB_MODULE_%X" and kin).
uintptr_t libraryHandle();

// The file this code was loaded from; empty when unknown.
std::string libraryPath();

// Formats a mutex name such as "QB_MODULE_%X" with the library handle.
std::string handleName(const char* prefix);

} // namespace platform
