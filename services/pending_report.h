#pragma once
// The crash report waiting for the next editor. The crash filter leaves a
// mark in the temporary folder once its files are whole; the next editor in
// any process claims it (only one claim succeeds) and, before its own usage
// log starts "Quorbel.log" anew, keeps the crashed session's log aside. The
// report dialog then runs at its first window creation; cancelled, the files
// stay and no later editor asks again.

#include <string>

namespace services {

constexpr const char* kKeptLogName = "Quorbel-crash.log";

struct PendingReport {
    bool claimed = false;
    std::string folder;        // where the crash's files are
    std::string keptLogPath;   // the crashed session's usage log; empty when it left none
};

// Editor constructor, before the usage log opens. `folder` empty: the
// private temporary folder.
PendingReport claimPendingReport(const std::string& folder = {});

} // namespace services
