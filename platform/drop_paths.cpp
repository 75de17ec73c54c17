#include "platform/drop_paths.h"

#include <cctype>
#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isThisMachine(std::string_view host)
{
    if (host.empty() || host == "localhost")
        return true;
    char name[HOST_NAME_MAX + 1] = {};
    return gethostname(name, sizeof name - 1) == 0 && host == name;
}

} // namespace

bool percentDecode(std::string_view text, std::string& decoded)
{
    decoded.clear();
    decoded.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            decoded += text[i];
            continue;
        }
        if (i + 2 >= text.size())
            return false;
        const int high = hexDigit(text[i + 1]);
        const int low = hexDigit(text[i + 2]);
        if (high < 0 || low < 0)
            return false;
        decoded += static_cast<char>(high << 4 | low);
        i += 2;
    }
    return true;
}

std::vector<std::string> pathsOfUriList(std::string_view list, size_t limit)
{
    constexpr std::string_view kScheme = "file://";
    std::vector<std::string> paths;
    size_t start = 0;
    while (start < list.size() && paths.size() < limit) {
        size_t end = list.find('\n', start);
        if (end == std::string_view::npos)
            end = list.size();
        std::string_view line = list.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#' || line.size() <= kScheme.size())
            continue;
        bool file = true;
        for (size_t i = 0; i < kScheme.size(); ++i)
            if (std::tolower(static_cast<unsigned char>(line[i])) != kScheme[i])
                file = false;
        if (!file)
            continue;
        const std::string_view rest = line.substr(kScheme.size());
        const size_t slash = rest.find('/');
        if (slash == std::string_view::npos || !isThisMachine(rest.substr(0, slash)))
            continue;
        std::string path;
        if (!percentDecode(rest.substr(slash), path) || path.find('\0') != std::string::npos)
            continue;
        paths.push_back(std::move(path));
    }
    return paths;
}

bool resolveLink(std::string& path)
{
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return false;
    char* target = realpath(path.c_str(), nullptr);
    if (!target)
        return false;
    path = target;
    std::free(target);
    return true;
}

} // namespace platform
