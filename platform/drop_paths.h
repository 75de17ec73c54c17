#pragma once
// The paths of a file drop: local file URIs of a text/uri-list, decoded to
// the bytes of their paths, and symbolic links followed to their targets.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// One path per local file URI ("file:///...", "file://localhost/..." or
// this machine's name), percent escapes decoded; comment lines, other
// schemes, other hosts, malformed escapes and paths holding a NUL are left
// out. At most `limit` paths.
std::vector<std::string> pathsOfUriList(std::string_view list, size_t limit);

// "%41" gives "A"; false on a malformed escape.
bool percentDecode(std::string_view text, std::string& decoded);

// A symbolic link becomes its target's full path; true when it was one and
// the target could be found. Anything else stays as it was.
bool resolveLink(std::string& path);

} // namespace platform
