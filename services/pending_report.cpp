#include "services/pending_report.h"

#include "platform/folders.h"
#include "services/crash_handler.h"

#include <cstdio>
#include <unistd.h>

namespace services {

PendingReport claimPendingReport(const std::string& folder)
{
    PendingReport pending;
    pending.folder = folder.empty() ? platform::temporaryFolder() : folder;
    if (pending.folder.empty())
        return pending;
    // unlink succeeds for one caller only, whichever process it is in.
    if (unlink(platform::joinPath(pending.folder, kPendingMarkName).c_str()) != 0)
        return pending;
    pending.claimed = true;
    const std::string kept = platform::joinPath(pending.folder, kKeptLogName);
    if (std::rename(platform::joinPath(pending.folder, "Quorbel.log").c_str(), kept.c_str()) == 0)
        pending.keptLogPath = kept;
    return pending;
}

} // namespace services
