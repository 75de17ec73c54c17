#pragma once
// The report zip: named by the report kind and the time in UTC, always a new
// file, filled with the members present in the member table's order.

#include <ctime>
#include <string>

namespace services {

// "QBe_yyyymmdd-hhmmss" for the error report subject, "QBc_..." otherwise.
std::string reportZipName(const std::string& subject, time_t now);

// Creates an empty archive at folder/name, or at name-2, name-3, ... when
// that is taken: 0600, never through a link, never an existing file. The
// path made, or empty on failure.
std::string createReportZip(const std::string& folder, const std::string& name);

// Where each member comes from: folder/fileName, unless overridden.
struct ReportSources {
    std::string folder;
    std::string usageLog;   // empty: this process's own, folder/"Quorbel-<pid>.log"
    std::string capture;    // empty: folder/"Quorbel.gif"
    std::string exceptionReport;   // empty: folder/"Quorbel.err"
    std::string dump;              // empty: folder/"Quorbel.dmp"

    std::string pathOf(unsigned bit, const char* fileName) const;
};

// Adds each member whose bit is set and whose file opens for reading (never
// through a link), in the table's order, and deletes it once it is in. False
// when a member that is there could not be added: it stays, and the later
// ones are not tried.
bool addReportMembers(const std::string& zipPath, const ReportSources& sources, unsigned flags);

} // namespace services
