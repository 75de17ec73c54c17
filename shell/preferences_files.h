#pragma once
// Replacing a settings file without losing the old one when writing fails.

#include <cstdio>
#include <functional>
#include <string>

// Writes through `writer` to a temporary beside `path` (text mode) and renames
// it over `path` when the writer, the flush and the close all succeed;
// otherwise removes the temporary and returns false, `path` untouched.
bool saveTextFileReplacing(const std::string& path, const std::function<bool(FILE*)>& writer);
