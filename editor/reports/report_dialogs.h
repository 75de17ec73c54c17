#pragma once
// The comment dialog (300, "Quorbel Feedback") and the error report dialog
// (299, "Quorbel Error Report"): a comment, an e-mail address, what to
// include, and a preview of the screen as it was when the dialog object was
// made. OK leaves the answer in choices() (with "Screen Capture" the GIF is
// written first); the sending is the caller's. GUI thread only.

#include "gui/dialogs/base_dialog.h"
#include "image/cx_image.h"
#include "services/report_choices.h"

#include <string>

class DialogModule;

// The plug-in's dialog resources, registered as "Quorbel".
const DialogModule& pluginDialogs();

enum ReportDialogItem : int32_t {
    kCommentBox = 1002,
    kPreview = 1003,
    kAnonymousNote = 1004,
    kEmailBox = 1005,
    kTechnicalDataBox = 1006,
    kScreenCaptureBox = 1007,
    kTechnicalDetails = 1008,
    kModuleDataBox = 1009,
    kSecondDetails = 1010,   // module data's in 300, the interaction log's in 299
    kInteractionLogBox = 1011,
};
constexpr int32_t kFeedbackDialogId = 300;
constexpr int32_t kReportDialogId = 299;

extern const char* const kCommentExplanation;
extern const char* const kEmptyCommentMessage;
extern const char* const kTechnicalDataDetails;
extern const char* const kModuleDataDetails;
extern const char* const kInteractionLogDetails;

class CCommentDialog : public CBaseDialog {
public:
    // Takes the screen capture of the parent's window system.
    CCommentDialog(int32_t resourceId, platform::Window* parent);
    ~CCommentDialog() override;

    void onOK() override;
    virtual void onCommand(platform::Window* window, uintptr_t wParam, intptr_t lParam);
    virtual void onInitDialog(platform::Window* window, uintptr_t wParam, intptr_t lParam);
    void onDrawItem(platform::Window* window, uintptr_t wParam, intptr_t lParam);

    // The answer after OK.
    const services::ReportChoices& choices() const { return choices_; }
    const CxImage& capture() const { return capture_; }
    // Where "Quorbel.gif" goes; the temporary folder unless set.
    std::string captureFolder;

protected:
    // With the capture chosen the dialog reaches below the preview, else it
    // ends at the preview's top.
    void fitHeight();
    void sizePreview();
    void showDetails(const char* text);
    bool saveCapture(const std::string& path);

    std::string comment_;
    CxImage capture_;
    CxImage scaled_;   // the capture at the preview's size
    bool previewSized_ = false;
    services::ReportChoices choices_;
};

class CReportDialog : public CCommentDialog {
public:
    explicit CReportDialog(platform::Window* parent) : CCommentDialog(kReportDialogId, parent) {}

    void onCommand(platform::Window* window, uintptr_t wParam, intptr_t lParam) override;
    void onInitDialog(platform::Window* window, uintptr_t wParam, intptr_t lParam) override;
};
