#pragma once
// Writes the help archive: a zip file of named entries, deflated, in the
// order given, each dated alike so that a build always gives the same bytes.

#include <string>
#include <utility>
#include <vector>

namespace helpgen {

using ArchiveEntry = std::pair<std::string, std::string>;   // name, bytes

bool writeArchive(const std::string& path, const std::vector<ArchiveEntry>& entries);

} // namespace helpgen
