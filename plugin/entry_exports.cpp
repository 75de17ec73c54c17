// The exports for an outside caller: the sibling library and the running
// instance's output block. Without a running instance (none created yet, or
// deleted) the data exports answer null or 0.
#include "plugin/entry.h"

#include "engine/engine.h"
#include "plugin/plugin_globals.h"

#include <dlfcn.h>

namespace {

constexpr const char* kSiblingName = "Ostra.so";
void* sibling = nullptr;

using SiblingEntry = int32_t (*)();

} // namespace

extern "C" {

int32_t QuorbelConnect()
{
    if (sibling)
        return 1;
    sibling = dlopen(kSiblingName, RTLD_NOW | RTLD_LOCAL);
    if (!sibling)
        return 0;
    // Without entry 2 the library stays loaded, so a later call answers 1.
    auto entry = reinterpret_cast<SiblingEntry>(dlsym(sibling, "OstraEntry2"));
    return entry ? entry() : 0;
}

int32_t QuorbelDisconnect()
{
    if (!sibling)
        return 1;
    void* handle = sibling;
    sibling = nullptr;
    if (auto entry = reinterpret_cast<SiblingEntry>(dlsym(handle, "OstraEntry3")))
        entry();
    dlclose(handle);
    return 1;
}

TesselBusBuffer* QuorbelGetBus(int32_t bus)
{
    TesselEngine* engine = pluginInstances().running.load();
    return bus == 0 && engine ? &engine->output : nullptr;
}

TesselOutputBus* QuorbelGetSetup()
{
    TesselEngine* engine = pluginInstances().running.load();
    return engine ? engine->output.bus : nullptr;
}

int32_t QuorbelPrepare(int32_t frames)
{
    TesselEngine* engine = pluginInstances().running.load();
    return engine && engine->process(frames) ? 1 : 0;
}

} // extern "C"
