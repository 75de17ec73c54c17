#include "services/leftover_files.h"

#include "model/song/temporaries_note.h"
#include "platform/system/folders.h"
#include "platform/system/process_files.h"
#include "services/crash_handler.h"

namespace services {
namespace {

bool endsWith(const std::string& name, const char* extension)
{
    const std::string tail(extension);
    return name.size() >= tail.size() && name.compare(name.size() - tail.size(), tail.size(), tail) == 0;
}

bool isCrashFile(const std::string& name)
{
    for (const char* extension : {kCrashReportExtension, kCrashDumpExtension, kPendingMarkExtension})
        if (endsWith(name, extension))
            return true;
    return false;
}

} // namespace

void removeLeftoverFiles(const std::string& folder)
{
    const std::string at = folder.empty() ? platform::temporaryFolder() : folder;
    // The notes of saves and loads first: they lead to files beside songs.
    removeAbandonedTemporaries(at);
    platform::removeFilesOfEndedProcesses(at, [&at](const std::string& name, long pid) {
        if (isCrashFile(name) || isTemporariesNote(name))
            return true;
        if (name != platform::processFileName(pid, ".log"))
            return false;
        // The log of a crash whose report has not gone yet is part of it.
        for (const char* extension : {kCrashReportExtension, kCrashDumpExtension, kPendingMarkExtension})
            if (platform::fileExists(platform::joinPath(at, crashFileName(pid, extension))))
                return true;
        return false;
    });
}

} // namespace services
