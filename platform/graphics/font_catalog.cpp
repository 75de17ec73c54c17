#include "platform/graphics/font_catalog.h"

#include <algorithm>
#include <cctype>
#include <fontconfig/fontconfig.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr const char* kFallbackFamily = "DejaVu Sans";
constexpr const char* kArialStandIn = "Liberation Sans";
constexpr size_t kCacheLimit = 64;

std::string lowerCase(std::string text)
{
    for (char& c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string familyFor(const std::string& face)
{
    if (face.empty())
        return kFallbackFamily;
    return lowerCase(face) == "arial" ? kArialStandIn : face;
}

// The stand-ins' files, where their Debian packages put them
// (fonts-liberation2, fonts-dejavu-core). Named here, not looked up through the
// machine's font configuration: its settings must not reach our drawing, and
// loading it costs time and memory it never gives back.
constexpr const char* kStandInFiles[] = {
    "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf",
    "/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf",
    "/usr/share/fonts/truetype/liberation2/LiberationSans-Italic.ttf",
    "/usr/share/fonts/truetype/liberation2/LiberationSans-BoldItalic.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
};

int applicationFontCount(FcConfig* config)
{
    FcFontSet* set = FcConfigGetFonts(config, FcSetApplication);
    return set ? set->nfont : 0;
}

std::string cacheKey(const FontRequest& r)
{
    return lowerCase(r.face) + '|' + std::to_string(r.height) + '|' + std::to_string(r.width) + '|' +
           std::to_string(r.weight) + '|' + char('0' + r.italic) + char('0' + r.underline) + char('0' + r.strikeOut);
}

} // namespace

FontCatalog::FontCatalog()
{
    for (const char* file : kStandInFiles)
        if (access(file, R_OK) == 0)
            standInFiles_.emplace_back(file);
    rebuild();
}

FontCatalog::~FontCatalog()
{
    cache_.clear();
    if (config_)
        FcConfigDestroy(config_);
}

FontCatalog& FontCatalog::process()
{
    static FontCatalog catalog;
    return catalog;
}

void FontCatalog::rebuild()
{
    cache_.clear();
    if (config_)
        FcConfigDestroy(config_);
    config_ = FcConfigCreate();
    for (const auto* files : {&standInFiles_, &privateFiles_})
        for (const auto& file : *files)
            FcConfigAppFontAddFile(config_, reinterpret_cast<const FcChar8*>(file.c_str()));
}

bool FontCatalog::addPrivateFont(const std::string& path)
{
    const int before = applicationFontCount(config_);
    FcConfigAppFontAddFile(config_, reinterpret_cast<const FcChar8*>(path.c_str()));
    if (applicationFontCount(config_) == before)
        return false;
    privateFiles_.push_back(path);
    cache_.clear();
    return true;
}

bool FontCatalog::removePrivateFont(const std::string& path)
{
    auto found = std::find(privateFiles_.begin(), privateFiles_.end(), path);
    if (found == privateFiles_.end())
        return false;
    privateFiles_.erase(found);
    rebuild();
    return true;
}

std::shared_ptr<const Font> FontCatalog::open(const FontRequest& request)
{
    const std::string key = cacheKey(request);
    if (auto found = cache_.find(key); found != cache_.end())
        return found->second;
    if (cache_.size() >= kCacheLimit)
        cache_.clear();
    auto font = make(request);
    cache_.emplace(key, font);
    return font;
}

std::shared_ptr<const Font> FontCatalog::make(const FontRequest& request)
{
    if (auto font = makeOf(familyFor(request.face), request))
        return font;
    // The face matched but cannot be made: the default face draws instead.
    if (auto font = makeOf(kFallbackFamily, request))
        return font;
    return Font::fromMatch(request, nullptr);
}

std::shared_ptr<const Font> FontCatalog::makeOf(const std::string& family, const FontRequest& request)
{
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(kFallbackFamily));
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(std::clamp(request.weight, 1, 1000)));
    FcPatternAddInteger(pattern, FC_SLANT, request.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(config_, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config_, pattern, &result);
    FcPatternDestroy(pattern);
    auto font = Font::fromMatch(request, match);
    if (match)
        FcPatternDestroy(match);
    return font;
}

std::string FontCatalog::matchFamily(const std::string& face)
{
    FontRequest request;
    request.face = face;
    return open(request)->family();
}

} // namespace platform

namespace platform {

std::vector<std::string> FontCatalog::families() const
{
    std::vector<std::string> names;
    FcFontSet* set = FcConfigGetFonts(config_, FcSetApplication);
    for (int i = 0; set && i < set->nfont; ++i) {
        FcChar8* family = nullptr;
        if (FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &family) == FcResultMatch && family)
            names.emplace_back(reinterpret_cast<const char*>(family));
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return lowerCase(a) < lowerCase(b); });
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

} // namespace platform
