#include "pagekit/file_box_paths.h"

#include <vector>

namespace file_box_paths {

std::string canonical(const std::string& path)
{
    if (path.empty())
        return path;
    const bool absolute = path.front() == '/';
    std::vector<std::string> parts;
    size_t at = 0;
    while (at <= path.size()) {
        const size_t slash = path.find('/', at);
        const size_t end = slash == std::string::npos ? path.size() : slash;
        const std::string part = path.substr(at, end - at);
        if (part == "..") {
            if (!parts.empty() && parts.back() != "..")
                parts.pop_back();
            else if (!absolute)
                parts.push_back(part);
            // The root's parent is the root.
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        if (slash == std::string::npos)
            break;
        at = slash + 1;
    }
    std::string out = absolute ? "/" : "";
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0)
            out += '/';
        out += parts[i];
    }
    return out.empty() ? "." : out;
}

std::string combine(const std::string& folder, const std::string& name)
{
    if (!name.empty() && name.front() == '/')
        return canonical(name);
    return canonical(folder + "/" + name);
}

std::string withSlash(const std::string& folder)
{
    return isRoot(folder) ? folder : folder + "/";
}

bool isRoot(const std::string& path)
{
    return path == "/";
}

} // namespace file_box_paths
