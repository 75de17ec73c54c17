#include "host/host_state.h"

#include "platform/system/aligned_memory.h"
#include "platform/system/version.h"

#include <dlfcn.h>
#include <unistd.h>

namespace host {
namespace {

std::atomic<HostState*> g_state{nullptr};

std::string ownExecutable()
{
    char path[1024];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    return n > 0 ? std::string(path, static_cast<size_t>(n)) : std::string();
}

} // namespace

HostState* hostState() { return g_state.load(std::memory_order_acquire); }

bool hostStartup(HostState& state)
{
    state.library = nullptr;
    state.blockSize = 0;
    state.exporting = false;
    state.effect = nullptr;
    state.masterVolume = 1.0f;
    state.timeInfo = VstTimeInfo{};
    state.idlePrinted = false;
    state.settings = HostAudioSettings{};
    state.firstRun = false;
    // The version is compiled in; there is no version block to read.
    state.modulePath = ownExecutable();
    state.hostVersion = platform::programVersion();
    for (float*& bus : state.buses) {
        bus = static_cast<float*>(platform::alignedAlloc(kBusFrames * sizeof(float)));
        if (!bus) {
            hostShutdown(state);
            return false;
        }
    }
    g_state.store(&state, std::memory_order_release);
    return true;
}

void hostShutdown(HostState& state)
{
    HostState* expected = &state;
    g_state.compare_exchange_strong(expected, nullptr);
    for (float*& bus : state.buses) {
        platform::alignedFree(bus);
        bus = nullptr;
    }
    if (state.library) {
        dlclose(state.library);
        state.library = nullptr;
    }
}

int vendorVersion(float version)
{
    return static_cast<int>(static_cast<double>(version) * 1000.0 + 0.0001);
}

} // namespace host
