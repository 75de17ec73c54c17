#include "shell/command_scheme.h"

#include "shell/command_ids.h"

TesselCommandScheme::TesselCommandScheme(const std::string& schemeName)
    : TesselCommand({cmd::kGlobal, "Global", "", "No description", 0}, "")
{
    setSchemeName(schemeName);
    path.clear();
}

void TesselCommandScheme::setSchemeName(const std::string& schemeName)
{
    schemeName_ = schemeName.substr(0, kMaxNameLength);
    label = schemeName_;
}

