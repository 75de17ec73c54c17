#pragma once
#include <string>
#include <vector>

namespace platform {

// Where settings are written: $XDG_CONFIG_HOME/Quorbel (default ~/.config/Quorbel).
std::string settingsFolder();

// Where settings are looked for, in order: the settings folder, then
// Quorbel below each folder of $XDG_CONFIG_DIRS (default /etc/xdg).
std::vector<std::string> settingsSearchFolders();

// A private per-user folder for temporary files ($XDG_RUNTIME_DIR/Quorbel, else
// /tmp/Quorbel-<uid>), created with mode 0700; empty when no safe folder can be made.
std::string temporaryFolder();

// Creates the folder and its parents; true when it exists afterwards.
bool makeFolders(const std::string& path);

bool fileExists(const std::string& path);
bool folderExists(const std::string& path);

// Joins with exactly one '/' between the parts.
std::string joinPath(const std::string& folder, const std::string& name);

} // namespace platform
