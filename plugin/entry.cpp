// The library's VST 2 entry `main` and the load-time set-up. `main` is
// defined under another name with the assembler label "main": C++ does not
// allow a function named main with this signature.
#include "plugin/entry.h"

#include "editor/core/process_globals.h"
#include "editor/core/tessel_editor.h"
#include "platform/dialogs/message_box.h"
#include "platform/graphics/graphics_pins.h"
#include "plugin/plugin_globals.h"
#include "plugin/plugin_object.h"
#include "plugin/song_files.h"

#include <atomic>
#include <new>

namespace {

constexpr const char* kCaption = "Quorbel";
constexpr const char* kNoSseText = "ERROR: Quorbel requires an SSE-compatible processor (Intel PIII or higher).";
constexpr const char* kOneInstanceText = "ERROR: You can only run one instance of Quorbel at a time.";

// Built when the library loads: the process-wide values, the engine's links
// into the shell and the editor's maker.
struct LoadTime {
    LoadTime()
    {
        processGlobals();
        platform::pinGraphicsLibraries();
        installEngineHooks();
        installChunkSongFiles();
        installTesselEditor();
    }
} loadTime;

bool processorHasSse()
{
#if defined(__x86_64__) || defined(__i386__)
    return __builtin_cpu_supports("sse");
#else
    return true;
#endif
}

void refuse(const char* text)
{
    platform::showMessageBox(text, kCaption, platform::kBoxSystemModal | platform::kBoxIconError);
}

} // namespace

extern "C" QB_EXPORT AEffect* quorbelMain(audioMasterCallback audioMaster)
{
    if (!audioMaster || audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0)
        return nullptr;
    if (!processorHasSse()) {
        refuse(kNoSseText);
        return nullptr;
    }
    // Two hosts' threads calling at once must not both get past the count.
    static std::atomic<bool> creating{false};
    if (pluginInstances().count.load() >= 1 || creating.exchange(true)) {
        refuse(kOneInstanceText);
        return nullptr;
    }
    pluginInstances().constructionFailed = false;
    TesselPlugin* plugin = nullptr;
    try {
        plugin = new (std::nothrow) TesselPlugin(audioMaster);
    } catch (...) {
        plugin = nullptr;
    }
    creating.store(false);
    if (!plugin)
        return nullptr;
    if (pluginInstances().constructionFailed) {
        delete plugin;
        return nullptr;
    }
    pluginInstances().running.store(&plugin->getEngine());
    return plugin->getAeffect();
}
