#include "platform/system/folders.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr const char* kProduct = "Quorbel";

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string homeFolder()
{
    std::string home = environment("HOME");
    return home.empty() ? std::string("/tmp") : home;
}

// A folder that is ours alone: not a link, owned by us, not open to others.
bool isPrivateFolder(const std::string& path)
{
    struct stat info;
    if (lstat(path.c_str(), &info) != 0)
        return false;
    return S_ISDIR(info.st_mode) && info.st_uid == geteuid() && (info.st_mode & 077) == 0;
}

std::string makePrivateFolder(const std::string& path)
{
    if (!makeFolders(path))
        return {};
    chmod(path.c_str(), 0700);
    return isPrivateFolder(path) ? path : std::string();
}

} // namespace

std::string joinPath(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    if (folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

bool makeFolders(const std::string& path)
{
    if (path.empty())
        return false;
    for (size_t slash = path.find('/', 1); ; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            break;
    }
    return folderExists(path);
}

bool fileExists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool folderExists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string settingsFolder()
{
    std::string base = environment("XDG_CONFIG_HOME");
    if (base.empty() || base[0] != '/')
        base = joinPath(homeFolder(), ".config");
    return joinPath(base, kProduct);
}

std::vector<std::string> settingsSearchFolders()
{
    std::vector<std::string> folders{settingsFolder()};
    std::string dirs = environment("XDG_CONFIG_DIRS");
    if (dirs.empty())
        dirs = "/etc/xdg";
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t colon = dirs.find(':', start);
        if (colon == std::string::npos)
            colon = dirs.size();
        const std::string dir = dirs.substr(start, colon - start);
        if (!dir.empty() && dir[0] == '/')
            folders.push_back(joinPath(dir, kProduct));
        start = colon + 1;
    }
    return folders;
}

std::string temporaryFolder()
{
    const std::string runtime = environment("XDG_RUNTIME_DIR");
    if (!runtime.empty() && runtime[0] == '/') {
        std::string folder = makePrivateFolder(joinPath(runtime, kProduct));
        if (!folder.empty())
            return folder;
    }
    std::string tmp = environment("TMPDIR");
    if (tmp.empty() || tmp[0] != '/')
        tmp = "/tmp";
    return makePrivateFolder(joinPath(tmp, std::string(kProduct) + "-" + std::to_string(geteuid())));
}

} // namespace platform
