#include "shell/command_scheme.h"

TesselCommandScheme::TesselCommandScheme(const std::string& schemeName)
    : TesselCommand({1, "Global", "", "No description", 0}, "")
{
    setSchemeName(schemeName);
    path.clear();
}

void TesselCommandScheme::setSchemeName(const std::string& schemeName)
{
    schemeName_ = schemeName.substr(0, kMaxNameLength);
    label = schemeName_;
}

TesselCommandScheme& defaultScheme()
{
    static TesselCommandScheme scheme("Default");
    return scheme;
}
