#include "shell/shell_globals.h"

TesselShellGlobals& shellGlobals()
{
    static TesselShellGlobals globals;
    return globals;
}

void TesselShellGlobals::reset()
{
    preferences = TesselPreferences{};
    defaultScheme = TesselCommandScheme("Default");
    clashList.clear();
}

TesselPreferences& pluginPreferences()
{
    return shellGlobals().preferences;
}

TesselCommandScheme& defaultScheme()
{
    return shellGlobals().defaultScheme;
}

std::vector<TesselClash>& clashList()
{
    return shellGlobals().clashList;
}
