#pragma once
// Folder rules of the module file commands: where the file dialogs start and
// which folder a chosen file leaves as the default.

#include <cstddef>
#include <string>

// The editor's default folders hold at most this many bytes.
constexpr size_t kDefaultFolderSize = 1024;

// The folder with a '/' at its end; an empty folder stays empty (the
// dialog's own start).
std::string folderWithSlash(const std::string& folder);
// The path up to and including its last '/' ("/" for a file in the root);
// empty when the path names no folder.
std::string folderOfFile(const std::string& path);
// The new default folder after a file was chosen: the file's folder, unless
// the path names none or the folder does not fit the field whole.
std::string nextDefaultFolder(const std::string& current, const std::string& chosenFile);
