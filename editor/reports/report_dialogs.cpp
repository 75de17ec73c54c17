#include "editor/reports/report_dialogs.h"

#include "gui/controls/hyperlink.h"
#include "gui/dialogs/dialog_view.h"
#include "gui/draw_context.h"
#include "image/cx_io_file.h"
#include "platform/dialogs/dialogs.h"
#include "platform/system/folders.h"
#include "platform/window.h"
#include "services/report_files.h"

#include <cstdio>

const char* const kCommentExplanation =
    "Use this feature to send the developer your comments, observations, feature suggestions, bug reports, etc.";
const char* const kEmptyCommentMessage = "Please enter a comment, or hit cancel to close the feedback dialog.";
const char* const kTechnicalDataDetails =
    "Quorbel can send data about the current configuration and state of\n"
    "your computer, to help locate and fix problems that might occur.\n\n"
    "No system scan is performed; the information is simply passed from\n"
    "the data Quorbel uses to run. Such data includes the names, versions\n"
    "and details of your VST host, sound and MIDI drivers, as well as\n"
    "Quorbel itself. No personal data (e.g. music, audio, etc.) is sent.";
const char* const kModuleDataDetails =
    "Quorbel can pass on the module data currently open in the editor,\n"
    "to help you illustrate your comments, suggestions and problems.\n\n"
    "Such data comprises only the patterns and settings; no sample data\n"
    "(i.e. audio waveforms) are included, and the module is not playable.";
const char* const kInteractionLogDetails =
    "Quorbel can pass on basic information about what you (and Quorbel)\n"
    "were doing as the error occured (e.g. commands triggered, etc.).\n\n"
    "Such data can significantly help diagnose a problem and does not\n"
    "include any personal details or musical data.";

namespace {

constexpr const char* kFeedbackCaption = "Quorbel Feedback";
constexpr int32_t kPreviewMargin = 10;

} // namespace

CCommentDialog::CCommentDialog(int32_t resourceId, platform::Window* parent) : CBaseDialog(resourceId, parent)
{
    pluginDialogs();
    // Taken now, before the dialog covers anything.
    if (parent) {
        const platform::Image screen = parent->system().captureScreen();
        if (!screen.empty())
            capture_.CreateFromHBITMAP(&screen);
    }
    addHandler(WM_COMMAND, &CCommentDialog::onCommand);
    addHandler(WM_INITDIALOG, &CCommentDialog::onInitDialog);
    addHandler(WM_DRAWITEM, &CCommentDialog::onDrawItem);
}

CCommentDialog::~CCommentDialog() = default;

void CCommentDialog::onInitDialog(platform::Window* window, uintptr_t, intptr_t)
{
    DialogView& items = *view();
    const services::RememberedReportChoices& remembered = services::rememberedReportChoices();
    items.setText(kCommentBox, kCommentExplanation);
    makeHyperlink(window, kTechnicalDetails);
    makeHyperlink(window, kSecondDetails);
    items.setText(kEmailBox, remembered.email);
    items.setChecked(kTechnicalDataBox, remembered.technicalData);
    items.setChecked(kModuleDataBox, remembered.moduleData);
    items.setChecked(kScreenCaptureBox, remembered.screenCapture);
    items.setChecked(kInteractionLogBox, remembered.interactionLog);
    items.setFocus(kCommentBox);
    sizePreview();
    fitHeight();
}

void CReportDialog::onInitDialog(platform::Window* window, uintptr_t, intptr_t)
{
    DialogView& items = *view();
    const services::RememberedReportChoices& remembered = services::rememberedReportChoices();
    makeHyperlink(window, kTechnicalDetails);
    makeHyperlink(window, kSecondDetails);
    items.setText(kEmailBox, "(optional)");
    items.setChecked(kTechnicalDataBox, true);
    items.enable(kTechnicalDataBox, false);
    items.setChecked(kInteractionLogBox, remembered.interactionLog);
    items.setChecked(kScreenCaptureBox, remembered.screenCapture);
    items.setFocus(kCommentBox);
    sizePreview();
    fitHeight();
}

void CCommentDialog::onCommand(platform::Window*, uintptr_t wParam, intptr_t)
{
    switch (commandId(wParam)) {
    case IDOK: onOK(); break;
    case IDCANCEL: onCancel(); break;
    case kScreenCaptureBox: fitHeight(); break;
    case kTechnicalDetails: showDetails(kTechnicalDataDetails); break;
    case kSecondDetails: showDetails(kModuleDataDetails); break;
    default: break;
    }
}

void CReportDialog::onCommand(platform::Window* window, uintptr_t wParam, intptr_t lParam)
{
    if (commandId(wParam) == kSecondDetails)
        showDetails(kInteractionLogDetails);
    else
        CCommentDialog::onCommand(window, wParam, lParam);
}

void CCommentDialog::showDetails(const char* text)
{
    if (platform::Window* over = window())
        over->system().dialogs().messageBox(over, text, resourceId() == kReportDialogId ? "Quorbel Error Report"
                                                                                         : kFeedbackCaption,
                                            platform::kBoxOk);
}

// The preview keeps its width and takes the capture's aspect; the product is
// taken in 64 bits, and a capture of nothing leaves the preview as it is.
void CCommentDialog::sizePreview()
{
    DialogView* items = view();
    if (!items || previewSized_ || capture_.GetWidth() <= 0 || capture_.GetHeight() <= 0)
        return;
    previewSized_ = true;
    CRect place = items->itemRect(kPreview);
    const int64_t inner = place.width() - 4;
    place.bottom = place.top + static_cast<int32_t>(inner * capture_.GetHeight() / capture_.GetWidth()) + 2;
    items->setItemRect(kPreview, place);
}

void CCommentDialog::fitHeight()
{
    DialogView* items = view();
    if (!items)
        return;
    const CRect preview = items->itemRect(kPreview);
    setClientHeight(items->isChecked(kScreenCaptureBox) ? preview.bottom + kPreviewMargin : preview.top + 2);
}

// The capture resampled once for the preview's size, then drawn as it is.
void CCommentDialog::onDrawItem(platform::Window*, uintptr_t, intptr_t lParam)
{
    const auto* item = reinterpret_cast<const DialogDrawItem*>(lParam);
    if (!item || item->id != kPreview || !item->context || !capture_.HasPixels())
        return;
    const int32_t width = item->rect.width();
    const int32_t height = item->rect.height();
    if (!scaled_.HasPixels() || scaled_.GetWidth() != width || scaled_.GetHeight() != height) {
        scaled_.Destroy();
        if (!capture_.Resample(width, height, 1, &scaled_))
            return;
    }
    scaled_.Draw(item->context, item->rect.left, item->rect.top);
}

bool CCommentDialog::saveCapture(const std::string& path)
{
    if (!capture_.HasPixels())
        return false;
    CxImage reduced;
    reduced.CopyImage(capture_);
    if (!reduced.DecreaseBpp(8, false))
        return false;
    FILE* file = services::openPrivateFile(path);
    if (!file)
        return false;
    CxIOFile out(file);
    const bool written = reduced.Encode(&out, kCxFormatGif);
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed)
        std::remove(path.c_str());
    return written && closed;
}

void CCommentDialog::onOK()
{
    DialogView* items = view();
    if (!items)
        return;
    comment_ = items->text(kCommentBox).substr(0, 4096);
    if (comment_.empty() || comment_ == kCommentExplanation) {
        if (platform::Window* over = window())
            over->system().dialogs().messageBox(over, kEmptyCommentMessage, kFeedbackCaption, platform::kBoxOk);
        return;
    }
    services::RememberedReportChoices& remembered = services::rememberedReportChoices();
    choices_ = services::ReportChoices{};
    choices_.comment = comment_;
    choices_.email = items->text(kEmailBox).substr(0, 4096);
    remembered.email = choices_.email;
    choices_.screenCapture = items->isChecked(kScreenCaptureBox);
    remembered.screenCapture = choices_.screenCapture;
    if (choices_.screenCapture) {
        const std::string folder = captureFolder.empty() ? platform::temporaryFolder() : captureFolder;
        choices_.capturePath = platform::joinPath(folder, "Quorbel.gif");
        if (folder.empty() || !saveCapture(choices_.capturePath))
            choices_.capturePath.clear();
    }
    // A box the dialog lacks reads as unchecked.
    choices_.moduleData = items->isChecked(kModuleDataBox);
    choices_.technicalData = items->isChecked(kTechnicalDataBox);
    choices_.interactionLog = items->isChecked(kInteractionLogBox);
    // Only the dialog's own boxes are remembered: the report dialog's fixed
    // technical data and the feedback dialog's missing interaction log leave
    // the other dialog's choice alone.
    if (items->item(kModuleDataBox)) {
        remembered.moduleData = choices_.moduleData;
        remembered.technicalData = choices_.technicalData;
    }
    if (items->item(kInteractionLogBox))
        remembered.interactionLog = choices_.interactionLog;
    endDialog(IDOK);
}
