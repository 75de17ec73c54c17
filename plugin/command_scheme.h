#pragma once
// A command scheme: the root of the command tree, with a name. The program
// has one, the default scheme "Default".

#include "plugin/commands.h"

#include <string>

class TesselCommandScheme : public TesselCommand {
public:
    static constexpr size_t kMaxNameLength = 255;

    explicit TesselCommandScheme(const std::string& schemeName);

    const std::string& schemeName() const { return schemeName_; }
    // Also the label of the root; cut to 255 characters.
    void setSchemeName(const std::string& schemeName);

private:
    std::string schemeName_;
};

// The process-wide scheme, empty until the engine or a test resets it.
TesselCommandScheme& defaultScheme();
