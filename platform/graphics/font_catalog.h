#pragma once
// The fonts the program can use, over a private fontconfig configuration:
// nothing installed or configured on the machine changes what we draw, and
// fonts we register are seen by no other program (AddFontResourceEx with
// FR_PRIVATE). "Arial" is Liberation Sans, else DejaVu Sans; any face not
// found falls back to DejaVu Sans. The machine's own font configuration is
// never loaded. GUI thread only.

#include "platform/graphics/font.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

typedef struct _FcConfig FcConfig;

namespace platform {

class FontCatalog {
public:
    FontCatalog();
    ~FontCatalog();
    FontCatalog(const FontCatalog&) = delete;
    FontCatalog& operator=(const FontCatalog&) = delete;

    // The process's catalog: private fonts are per process, as on Windows.
    static FontCatalog& process();

    // A font file (TrueType, OpenType) for this catalog only; false when the
    // file cannot be read as a font.
    bool addPrivateFont(const std::string& path);
    // Forgets a file added before; fonts made from it stay usable.
    bool removePrivateFont(const std::string& path);

    // Never null: an unknown face falls back. Equal requests share a font.
    std::shared_ptr<const Font> open(const FontRequest& request);

    // The family a face name resolves to here.
    std::string matchFamily(const std::string& face);
    // Every family the catalog holds, sorted without regard to case.
    std::vector<std::string> families() const;

private:
    void rebuild();
    std::shared_ptr<const Font> make(const FontRequest& request);
    // Null when the face matched for the family cannot be made.
    std::shared_ptr<const Font> makeOf(const std::string& family, const FontRequest& request);

    FcConfig* config_ = nullptr;
    std::vector<std::string> standInFiles_;
    std::vector<std::string> privateFiles_;
    std::map<std::string, std::shared_ptr<const Font>> cache_;
};

} // namespace platform
