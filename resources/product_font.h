#pragma once
// The product font goes to the private temporary folder as "Quorbel.ttf" and
// into the process's private font configuration; the editor does this when it
// is built and undoes it when it goes.

#include "platform/font_catalog.h"

#include <string>

namespace resources {

constexpr const char* kProductFontFileName = "Quorbel.ttf";

// Writes the font (replacing any earlier file) and registers it; returns
// the file's path, or empty when writing or registering failed (the file is
// then not left behind).
std::string registerProductFont(platform::FontCatalog& catalog, const std::string& folder);

// Unregisters the font and deletes the file.
void unregisterProductFont(platform::FontCatalog& catalog, const std::string& path);

} // namespace resources
