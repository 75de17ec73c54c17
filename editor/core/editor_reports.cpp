// The feedback command and the crash report left by an earlier session:
// both run their dialog over the editor window, hand the answer to the
// report sender, and tell the user on the status line.

#include "editor/reports/report_dialogs.h"
#include "editor/core/tessel_editor.h"
#include "engine/engine.h"
#include "engine/engine_globals.h"
#include "gui/version_number.h"
#include "platform/status_text.h"
#include "plugin/plugin_globals.h"
#include "plugin/plugin_object.h"

namespace {

constexpr const char* kPreparingStatus = "oMBRIX: Preparing feedback...";
constexpr const char* kCancelledStatus = "oMBRIX: Feedback cancelled.";

} // namespace

services::ReportDelivery TesselEditor::reportDelivery() const
{
    services::ReportDelivery delivery;
    if (reportAddressSource)
        delivery.address = reportAddressSource();
    const TesselHostIdentity& host = hostIdentity();
    delivery.identity.hostVendor = host.vendor;
    delivery.identity.hostProduct = host.product;
    delivery.identity.hostVersion = host.vendorVersion;
    delivery.identity.pluginVersion = formatVersionNumber(engineGlobals().programVersion);
    return delivery;
}

void TesselEditor::sendFeedback()
{
    if (!editorWindow() || popupActive_)
        return;
    platform::setStatusText(kPreparingStatus);
    idle();
    CCommentDialog dialog(kFeedbackDialogId, editorWindow());
    platform::setStatusText("");
    beginPopup();
    const intptr_t result = dialog.doModal(kProductName);
    endPopup();
    if (result != IDOK) {
        platform::setStatusText(kCancelledStatus);
        return;
    }
    if (dialog.choices().interactionLog)
        log_.flush();
    const services::ReportRequest request = services::feedbackRequest(dialog.choices(), &engine_->song);
    services::sendReport(request, reportDelivery());
}

// Asked once, at the first window: OK sends; Cancel leaves the files, and
// the claimed mark means no later editor asks again.
void TesselEditor::offerPendingReport()
{
    if (reportOffered_ || !pendingReport_.claimed || !editorWindow() || popupActive_)
        return;
    reportOffered_ = true;
    CReportDialog dialog(editorWindow());
    beginPopup();
    const intptr_t result = dialog.doModal(kProductName);
    endPopup();
    if (result == IDOK)
        services::sendReport(services::crashReportRequest(dialog.choices(), pendingReport_), reportDelivery());
}
