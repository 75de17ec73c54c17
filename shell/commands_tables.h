#pragma once
// The built-in command definitions and default shortcuts.

#include "shell/commands.h"

#include <span>

struct TesselContextTable {
    const char* path;    // "" for the root
    std::span<const TesselCommandDef> rows;
};

// In the order they are added: the root first, each context after its parent.
std::span<const TesselContextTable> commandContextTables();
std::span<const TesselShortcutDef> defaultShortcutTable();
