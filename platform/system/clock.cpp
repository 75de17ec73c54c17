#include "platform/system/clock.h"

#include <chrono>
#include <thread>

namespace platform {

uint32_t milliseconds()
{
    using namespace std::chrono;
    return static_cast<uint32_t>(duration_cast<std::chrono::milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void sleepMilliseconds(uint32_t ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace platform
