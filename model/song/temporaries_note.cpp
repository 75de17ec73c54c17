#include "model/song/temporaries_note.h"

#include "platform/system/folders.h"
#include "platform/system/process_files.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr char kNoteExtension[] = ".beside";
// Every name a save or load gives its files beside the target.
constexpr const char* kTemporaryNames[] = {"~qrblxml.tmp", "~qrblzip.tmp", "~qrblarc.tmp",
                                           "~qrblupd.tmp", "~qrblsmp.tmp", "~qrblsav.tmp"};

std::string folderOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string readNote(const std::string& path)
{
    std::string text;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[PATH_MAX + 1];
        const size_t n = std::fread(buffer, 1, sizeof buffer, file);
        std::fclose(file);
        if (n > 0 && n <= PATH_MAX)
            text.assign(buffer, n);
    }
    return text;
}

} // namespace

bool isTemporariesNote(const std::string& name)
{
    const size_t n = std::strlen(kNoteExtension);
    return platform::processOfFileName(name) > 0 && name.size() > n &&
           name.compare(name.size() - n, n, kNoteExtension) == 0;
}

TemporariesNote::TemporariesNote(const std::string& besidePath)
{
    const std::string home = platform::temporaryFolder();
    char absolute[PATH_MAX];
    if (home.empty() || !realpath(folderOf(besidePath).c_str(), absolute))
        return;
    std::string note = platform::joinPath(home, platform::processFilePattern("Quorbel") + kNoteExtension);
    const int fd = mkstemps(note.data(), static_cast<int>(std::strlen(kNoteExtension)));
    if (fd < 0)
        return;
    const size_t length = std::strlen(absolute);
    const bool written = write(fd, absolute, length) == static_cast<ssize_t>(length);
    if (close(fd) == 0 && written)
        note_ = note;
    else
        unlink(note.c_str());
}

TemporariesNote::~TemporariesNote()
{
    if (!note_.empty())
        unlink(note_.c_str());
}

void removeAbandonedTemporaries(const std::string& noteFolder)
{
    DIR* listing = noteFolder.empty() ? nullptr : opendir(noteFolder.c_str());
    if (!listing)
        return;
    std::vector<std::pair<std::string, std::string>> abandoned;   // note, folder
    std::set<std::string> inUse;
    while (const dirent* entry = readdir(listing)) {
        const std::string name = entry->d_name;
        if (!isTemporariesNote(name))
            continue;
        const long pid = platform::processOfFileName(name);
        const std::string path = platform::joinPath(noteFolder, name);
        const std::string folder = readNote(path);
        if (platform::processIsRunning(pid))
            inUse.insert(folder);
        else
            abandoned.emplace_back(path, folder);
    }
    closedir(listing);
    for (const auto& [note, folder] : abandoned) {
        // A running process works there now: a later start looks again.
        if (inUse.count(folder))
            continue;
        if (!folder.empty() && folder[0] == '/')
            for (const char* name : kTemporaryNames) {
                const std::string path = platform::joinPath(folder, name);
                struct stat info {};
                if (lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode))
                    unlink(path.c_str());
            }
        unlink(note.c_str());
    }
}
