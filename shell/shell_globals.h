#pragma once
// The shell's process-wide values: the preferences, the default command
// scheme and the clash list its key checks fill. Each keeps its accessor
// beside its type (pluginPreferences(), defaultScheme(), clashList()).

#include "shell/command_scheme.h"
#include "shell/commands.h"
#include "shell/preferences.h"

#include <vector>

struct TesselShellGlobals {
    TesselPreferences preferences;
    // Empty until the engine's hook builds the tree.
    TesselCommandScheme defaultScheme{"Default"};
    std::vector<TesselClash> clashList;

    TesselShellGlobals() = default;
    TesselShellGlobals(const TesselShellGlobals&) = delete;
    TesselShellGlobals& operator=(const TesselShellGlobals&) = delete;

    // Back to the values the process starts with.
    void reset();
};

TesselShellGlobals& shellGlobals();
