#pragma once
// The file box's paths: '/' separated, canonical (no ".", ".." or empty
// components), with no trailing '/' except the root "/", whose parent is
// itself.

#include <string>

namespace file_box_paths {

// "." and ".." resolved lexically, repeated and trailing '/' dropped. A
// relative path stays relative; an empty one stays empty.
std::string canonical(const std::string& path);
// A name, "..", "/" or a typed path combined with a folder (or with the file
// the box is showing, whose ".." is its folder): absolute texts stand alone.
std::string combine(const std::string& folder, const std::string& name);
// The text the path line shows for a folder: with its '/' at the end.
std::string withSlash(const std::string& folder);
bool isRoot(const std::string& path);

} // namespace file_box_paths
