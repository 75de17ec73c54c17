#include "platform/system/process_files.h"

#include "platform/system/folders.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {
namespace {

// The stems of every per-process name: the product's own files, the help
// file's temporary copy, the chunk's folders and the lists' extracted entries.
constexpr const char* kStems[] = {"Quorbel", "~qrblchm", "chunk", "~qrbl", "qrbl"};

// Removes a folder's entries and then the folder, relative to an open
// descriptor of its parent, so that no link is followed on the way.
void removeEntry(int parent, const char* name)
{
    if (unlinkat(parent, name, 0) == 0 || (errno != EISDIR && errno != EPERM))
        return;
    const int fd = openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return;
    if (DIR* listing = fdopendir(fd)) {
        std::vector<std::string> names;
        while (const dirent* entry = readdir(listing))
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
                names.emplace_back(entry->d_name);
        for (const std::string& inner : names)
            removeEntry(dirfd(listing), inner.c_str());
        closedir(listing);
    } else {
        close(fd);
    }
    unlinkat(parent, name, AT_REMOVEDIR);
}

} // namespace

std::string processFileName(long pid, const char* extension)
{
    return "Quorbel-" + std::to_string(pid) + extension;
}

std::string processFilePattern(const char* stem)
{
    return std::string(stem) + "-" + std::to_string(static_cast<long>(getpid())) + "-XXXXXX";
}

long processOfFileName(const std::string& name)
{
    for (const char* stem : kStems) {
        const size_t length = std::strlen(stem);
        if (name.compare(0, length, stem) != 0 || name.size() <= length + 1 || name[length] != '-')
            continue;
        long pid = 0;
        size_t at = length + 1;
        for (; at < name.size() && name[at] >= '0' && name[at] <= '9' && pid < 100000000; ++at)
            pid = pid * 10 + (name[at] - '0');
        if (at > length + 1 && at < name.size() && (name[at] == '.' || name[at] == '-') && pid > 0)
            return pid;
    }
    return 0;
}

bool processIsRunning(long pid)
{
    // EPERM: it runs, under another user.
    return pid > 0 && (kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH);
}

void removeFilesOfEndedProcesses(const std::string& folder,
                                 const std::function<bool(const std::string& name, long pid)>& keep)
{
    if (folder.empty())
        return;
    DIR* listing = opendir(folder.c_str());
    if (!listing)
        return;
    std::vector<std::pair<std::string, long>> found;
    while (const dirent* entry = readdir(listing)) {
        const long pid = processOfFileName(entry->d_name);
        if (pid > 0 && pid != static_cast<long>(getpid()))
            found.emplace_back(entry->d_name, pid);
    }
    for (const auto& [name, pid] : found)
        if (!processIsRunning(pid) && !(keep && keep(name, pid)))
            removeEntry(dirfd(listing), name.c_str());
    closedir(listing);
}

} // namespace platform
