#pragma once
// A command scheme: the root of the command tree, with a name. The program
// has one, the default scheme "Default"; its bindings are stored as a
// "scheme" markup element.

#include "shell/commands.h"

#include <cstdio>
#include <string>

class TesselMemoryFile;
struct TesselElement;

class TesselCommandScheme : public TesselCommand {
public:
    static constexpr size_t kMaxNameLength = 255;

    explicit TesselCommandScheme(const std::string& schemeName);

    const std::string& schemeName() const { return schemeName_; }
    // Also the label of the root; cut to 255 characters.
    void setSchemeName(const std::string& schemeName);

    // Writes the "scheme" element with one "key" element per binding; false
    // when the stream reports an error.
    virtual bool write(FILE* stream) const;
    // Replaces every binding from the children of `element` (the opening
    // "scheme" just read), then gives commands left without a binding their
    // default keys where they clash with nothing. True when the closing
    // element was reached; otherwise the scheme is left as it was.
    bool read(TesselMemoryFile& file, const TesselElement& element);
    // Reads every "scheme" element of a file; the result of the last one,
    // false when the file cannot be loaded.
    bool readFile(const std::string& path);
    // Writes the scheme alone to a file through a temporary beside it, so a
    // failed save leaves the previous file as it was.
    bool writeFile(const std::string& path) const;

private:
    // The reading proper, on a copy of the scheme.
    bool readBindings(TesselMemoryFile& file, const TesselElement& element, std::vector<TesselClash>& clashes);
    void restoreDefaultKeys(std::vector<TesselClash>& clashes);

    std::string schemeName_;
};

// The process-wide scheme, empty until the engine or a test resets it.
TesselCommandScheme& defaultScheme();
