#pragma once
// What the two report dialogs hand over, and the report each one makes.
// A dialog only gathers the comment, the e-mail address, its check boxes and
// (with "Screen Capture") the GIF it wrote; the files and the zip are made
// here and by sendReport.

#include "services/pending_report.h"
#include "services/report_sender.h"

#include <string>

class TesselModule;

namespace services {

// The choices kept from one dialog to the next for the life of the process.
struct RememberedReportChoices {
    bool technicalData = true;
    bool interactionLog = true;
    bool screenCapture = false;
    bool moduleData = false;
    std::string email;
};
// GUI thread only.
RememberedReportChoices& rememberedReportChoices();

// A dialog's answer on OK. A box the dialog lacks reads as unchecked.
struct ReportChoices {
    std::string comment;
    std::string email;         // as typed; empty: none
    bool technicalData = false;
    bool interactionLog = false;
    bool screenCapture = false;
    bool moduleData = false;
    std::string capturePath;   // the GIF the dialog wrote; empty: "Quorbel.gif" of the folder
};

// The feedback dialog's OK: technical data writes a dump of the running
// process to "Quorbel.dmp", module data the song's markup to "Quorbel.xml"
// (left out when the song lock is not had in 1000 ms; no song: none). The
// caller flushes the usage log first when the interaction log is chosen.
// `folder` empty: the temporary folder.
ReportRequest feedbackRequest(const ReportChoices& choices, TesselModule* song, const std::string& folder = {});

// The report dialog's OK for a claimed crash: the comment, the exception
// report and the crash's dump, with the crashed session's log and the
// capture when chosen.
ReportRequest crashReportRequest(const ReportChoices& choices, const PendingReport& pending);

} // namespace services
