#pragma once
// Sending a feedback or crash report: the comment file is written, the
// chosen members are zipped into a new "QBe_"/"QBc_" file of the temporary
// folder (each member deleted once added), and the zip is posted as the one
// file part "FILE1" of a multipart form. Sent: the status line says so and
// the zip goes. Not sent (no address, a failure, a status other than 2xx, a
// zip over 32 MiB): the zip stays, nothing is shown, and nothing ever sends
// it again. Runs on the calling thread and blocks for the upload (at most
// the total time-out).

#include "services/build_settings.h"
#include "services/http_transfer.h"
#include "services/report_files.h"

#include <cstdint>
#include <ctime>
#include <string>

namespace services {

constexpr uint64_t kMaxReportZipBytes = 32u << 20;
constexpr const char* kReportSentStatus = "oMBRIX: Feedback sent successfully.";

// What the report holds. The dialogs' choices become one through
// feedbackRequest or crashReportRequest (services/report_choices.h).
struct ReportRequest {
    std::string subject = kFeedbackSubject;
    std::string comment;
    std::string email;          // empty: "(not provided)"
    unsigned flags = kReportComment;
    std::string folder;         // where the members are and the zip goes; empty: the temporary folder
    std::string usageLogPath;   // empty: this process's own, folder/"Quorbel-<pid>.log"
    std::string capturePath;    // empty: folder/"Quorbel.gif"
    std::string exceptionReportPath;   // empty: folder/"Quorbel.err"
    std::string dumpPath;              // empty: folder/"Quorbel.dmp"
};

// Connect 10 s, total 60 s, abort below 1 KiB/s for 15 s, reply cut at 4 KiB.
inline TransferLimits uploadLimits()
{
    return TransferLimits{10, 60, 4096, false, 1024, 15};
}

// Where and how the report goes.
struct ReportDelivery {
    std::string address = reportAddress();
    TransferLimits limits = uploadLimits();
    uint64_t maxZipBytes = kMaxReportZipBytes;
    ReportIdentity identity;
    time_t now = 0;   // 0: the current time
};

struct ReportResult {
    bool zipped = false;    // every present member went into the zip
    bool sent = false;
    std::string zipPath;    // empty when no zip was made
    TransferResult transfer;
};

ReportResult sendReport(const ReportRequest& request, const ReportDelivery& delivery = {});

} // namespace services
