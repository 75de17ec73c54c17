#pragma once
// Settings files: where they are found and placed, and replacing a file
// without losing the old one when writing fails.

#include <cstdio>
#include <functional>
#include <string>

// The first existing copy of `name` among the settings search folders.
bool findSettingsPath(const char* name, std::string& path);
// `name` in the settings folder, which is created when missing.
bool makeSettingsPath(const char* name, std::string& path);

// Writes through `writer` to a temporary beside `path` (text mode) and renames
// it over `path` when the writer, the flush and the close all succeed;
// otherwise removes the temporary and returns false, `path` untouched.
bool saveTextFileReplacing(const std::string& path, const std::function<bool(FILE*)>& writer);
