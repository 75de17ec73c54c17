#pragma once
// The crash reports waiting for the next editor. The crash filter leaves a
// mark "Quorbel-<pid>.pending" in the temporary folder once its process's
// files are whole; the next editor in any process claims one (each mark is
// claimed once), with the crashed process's own usage log "Quorbel-<pid>.log".
// The report dialog then runs at its first window creation; cancelled, the
// files stay and no later editor asks again. Marks of other crashes stay for
// the editors after it.

#include <string>

namespace services {

struct PendingReport {
    bool claimed = false;
    std::string folder;        // where the crash's files are
    std::string reportPath;    // the crash's exception report
    std::string dumpPath;      // the crash's dump
    std::string keptLogPath;   // the crashed session's usage log; empty when it left none
};

// Editor constructor. `folder` empty: the private temporary folder.
PendingReport claimPendingReport(const std::string& folder = {});

} // namespace services
