#pragma once
// The product font goes to the private temporary folder as
// "Quorbel-<pid>.ttf" and into the process's private font configuration; the
// editor does this when it is built and undoes it when it goes. The file is
// the process's own: another copy of the program closing its editor deletes
// its own file, never the one this process's fonts are read from.

#include "platform/graphics/font_catalog.h"

#include <string>

namespace resources {

// "Quorbel-<pid>.ttf".
std::string productFontFileName();

// Writes the font (replacing any earlier file) and registers it; returns
// the file's path, or empty when writing or registering failed (the file is
// then not left behind).
std::string registerProductFont(platform::FontCatalog& catalog, const std::string& folder);

// Unregisters the font and deletes the file.
void unregisterProductFont(platform::FontCatalog& catalog, const std::string& path);

} // namespace resources
