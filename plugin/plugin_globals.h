#pragma once
// The plug-in layer's process-wide values: those the entry points and the
// plug-in object keep (instance count, running engine, host identity).

#include <atomic>
#include <cstdint>
#include <map>
#include <string>

class TesselEngine;

// The host as the plug-in asked it once at construction; read-only afterwards.
struct TesselHostIdentity {
    char vendor[256] = {};
    char product[256] = {};
    int32_t vendorVersion = 0;
    // Subtracted from the host's position; 160.0 for the one host that needs it.
    double positionOffset = 0.0;
};

struct TesselInstances {
    std::atomic<int32_t> count{0};
    int32_t number = 0;
    bool constructionFailed = false;
    // The engine the data exports serve; cleared when its plug-in goes.
    std::atomic<TesselEngine*> running{nullptr};
};

struct TesselPluginGlobals {
    TesselHostIdentity hostIdentity;
    TesselInstances instances;
    // Moved by whatever changes the song behind the pages' backs; the
    // editor's idle redraws the current page when it moved.
    std::atomic<uint32_t> changeCounter{0};
    // Text lookups of the pattern editor; nothing adds to it.
    std::map<std::string, int32_t> keyLookupMap;

    TesselPluginGlobals() = default;
    TesselPluginGlobals(const TesselPluginGlobals&) = delete;
    TesselPluginGlobals& operator=(const TesselPluginGlobals&) = delete;

    // Back to the values the process starts with; only with no plug-in alive.
    void reset();
};

TesselPluginGlobals& pluginGlobals();

inline TesselHostIdentity& hostIdentity() { return pluginGlobals().hostIdentity; }
inline TesselInstances& pluginInstances() { return pluginGlobals().instances; }
inline std::atomic<uint32_t>& changeCounter() { return pluginGlobals().changeCounter; }
inline std::map<std::string, int32_t>& keyLookupMap() { return pluginGlobals().keyLookupMap; }
// The host is our own stand-alone host (product "Quorbel Host", any case).
bool inOwnHost();

// Sets the engine's hooks (command tree, preferences); the library calls
// it at load, tests that build engines call it themselves.
void installEngineHooks();
