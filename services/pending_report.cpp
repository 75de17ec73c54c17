#include "services/pending_report.h"

#include "platform/system/folders.h"
#include "platform/system/process_files.h"
#include "services/crash_handler.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace services {

namespace {

// The process ids of the marks in the folder, oldest crash (lowest mtime) first.
std::vector<long> markedCrashes(const std::string& folder)
{
    std::vector<std::pair<long, long>> found;   // mtime, pid
    DIR* listing = opendir(folder.c_str());
    if (!listing)
        return {};
    const size_t extension = std::strlen(kPendingMarkExtension);
    while (const dirent* entry = readdir(listing)) {
        const std::string name = entry->d_name;
        long pid = 0;
        char tail[16] = {};
        if (name.size() <= extension || std::sscanf(name.c_str(), "Quorbel-%ld%15s", &pid, tail) != 2 ||
            std::strcmp(tail, kPendingMarkExtension) != 0 || crashFileName(pid, kPendingMarkExtension) != name)
            continue;
        struct stat info {};
        const long when = stat(platform::joinPath(folder, name).c_str(), &info) == 0 ? long(info.st_mtime) : 0;
        found.emplace_back(when, pid);
    }
    closedir(listing);
    std::sort(found.begin(), found.end());
    std::vector<long> pids;
    for (const auto& [when, pid] : found)
        pids.push_back(pid);
    return pids;
}

} // namespace

PendingReport claimPendingReport(const std::string& folder)
{
    PendingReport pending;
    pending.folder = folder.empty() ? platform::temporaryFolder() : folder;
    if (pending.folder.empty())
        return pending;
    long crashed = 0;
    for (long pid : markedCrashes(pending.folder)) {
        // unlink succeeds for one caller only, whichever process it is in.
        if (unlink(platform::joinPath(pending.folder, crashFileName(pid, kPendingMarkExtension)).c_str()) != 0)
            continue;
        pending.claimed = true;
        pending.reportPath = platform::joinPath(pending.folder, crashFileName(pid, kCrashReportExtension));
        pending.dumpPath = platform::joinPath(pending.folder, crashFileName(pid, kCrashDumpExtension));
        crashed = pid;
        break;
    }
    if (!pending.claimed)
        return pending;
    // The crashed process's own log: no later copy of the program writes it.
    const std::string log = platform::joinPath(pending.folder, platform::processFileName(crashed, ".log"));
    if (platform::fileExists(log))
        pending.keptLogPath = log;
    return pending;
}

} // namespace services
