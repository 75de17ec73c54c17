#include "services/report_choices.h"

#include "platform/system/folders.h"
#include "services/mini_dump.h"

namespace services {

namespace {

ReportRequest commonRequest(const ReportChoices& choices, const char* subject, const std::string& folder)
{
    ReportRequest request;
    request.subject = subject;
    request.comment = choices.comment;
    request.email = choices.email;
    request.folder = folder;
    request.flags = kReportComment;
    if (choices.interactionLog)
        request.flags |= kReportUsageLog;
    if (choices.screenCapture) {
        request.flags |= kReportScreenCapture;
        request.capturePath = choices.capturePath;
    }
    return request;
}

} // namespace

ReportRequest feedbackRequest(const ReportChoices& choices, TesselModule* song, const std::string& folder)
{
    const std::string at = folder.empty() ? platform::temporaryFolder() : folder;
    ReportRequest request = commonRequest(choices, kFeedbackSubject, at);
    if (at.empty())
        return request;
    if (choices.technicalData && writeMiniDump(platform::joinPath(at, "Quorbel.dmp")))
        request.flags |= kReportMiniDump;
    if (choices.moduleData && song && writeModuleMarkup(*song, platform::joinPath(at, "Quorbel.xml")))
        request.flags |= kReportModuleData;
    return request;
}

ReportRequest crashReportRequest(const ReportChoices& choices, const PendingReport& pending)
{
    ReportRequest request = commonRequest(choices, kErrorReportSubject, pending.folder);
    request.flags |= kReportExceptionReport | kReportMiniDump;
    // The claimed crash's own files, named after its process.
    request.exceptionReportPath = pending.reportPath;
    request.dumpPath = pending.dumpPath;
    if (choices.interactionLog) {
        // The log of this session is not the crash's; without a kept one there is none.
        if (pending.keptLogPath.empty())
            request.flags &= ~static_cast<unsigned>(kReportUsageLog);
        request.usageLogPath = pending.keptLogPath;
    }
    return request;
}

} // namespace services
