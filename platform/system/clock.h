#pragma once
#include <cstdint>

namespace platform {

// Monotonic milliseconds since an arbitrary start; wraps like a 32-bit tick count.
uint32_t milliseconds();

void sleepMilliseconds(uint32_t ms);

} // namespace platform
