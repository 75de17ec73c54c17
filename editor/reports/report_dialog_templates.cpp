// The two report dialogs laid out in dialog units: the comment on the left,
// what to include on the right, the e-mail address beside OK and Cancel, the
// note on anonymity below, and the preview at the bottom,
// where the dialog ends until the screen capture is chosen.

#include "editor/reports/report_dialogs.h"

#include "gui/dialogs/dialog_template.h"
#include "plugin/plugin_object.h"
#include "resources/resource_ids.h"

namespace {

constexpr const char* kAnonymousText = "All feedback will be read and treated as anonymous. However, if you wish "
                                       "for a response, please fill in an email address.";
constexpr const char* kUnstableText =
    "An error has occurred that has caused Quorbel to become unstable. Diagnostic info can be saved and sent to "
    "the developer, so that the problem can be fixed. Please also provide a description of what were you were "
    "doing when the error occured.";

using Items = std::vector<DialogItemTemplate>;

// Everything below the comment's top, `y` dialog units down; `second` is the
// middle check box with its details link.
Items commonItems(int16_t y, const DialogItemTemplate& second)
{
    const auto at = [y](int16_t x, int16_t top, int16_t width, int16_t height) {
        return DialogUnits{x, static_cast<int16_t>(y + top), width, height};
    };
    DialogItemTemplate middle = second;
    middle.place.y = static_cast<int16_t>(middle.place.y + y);
    return {
        {kCommentBox, DialogItemKind::MultiLineEdit, at(7, 4, 193, 58), ""},
        {-1, DialogItemKind::GroupBox, at(206, 0, 104, 58), "Include"},
        {kTechnicalDataBox, DialogItemKind::CheckBox, at(212, 12, 64, 10), "Technical Data"},
        {kTechnicalDetails, DialogItemKind::Text, at(278, 13, 28, 8), "(details)"},
        middle,
        {kSecondDetails, DialogItemKind::Text, at(278, 27, 28, 8), "(details)"},
        {kScreenCaptureBox, DialogItemKind::CheckBox, at(212, 40, 70, 10), "Screen Capture"},
        {IDOK, DialogItemKind::Button, at(206, 65, 50, 14), "OK", kItemDefault},
        {IDCANCEL, DialogItemKind::Button, at(260, 65, 50, 14), "Cancel"},
        {-1, DialogItemKind::Text, at(7, 68, 48, 10), "Email address:"},
        {kEmailBox, DialogItemKind::Edit, at(56, 66, 144, 13), ""},
        {kAnonymousNote, DialogItemKind::Text, at(7, 82, 303, 16), kAnonymousText},
        {kPreview, DialogItemKind::OwnerDrawn, at(7, 100, 303, 3), ""},
    };
}

std::vector<DialogTemplate> templates()
{
    DialogTemplate feedback{kFeedbackDialogId, "Quorbel Feedback", 317, 106,
                            commonItems(0, {kModuleDataBox, DialogItemKind::CheckBox, {212, 26, 64, 10},
                                            "Module Data"})};
    DialogTemplate report{kReportDialogId, "Quorbel Error Report", 317, 135,
                          commonItems(29, {kInteractionLogBox, DialogItemKind::CheckBox, {212, 26, 64, 10},
                                           "Interaction Log"})};
    report.items.insert(report.items.begin(),
                        {{-1, DialogItemKind::Icon, {7, 7, 21, 20}, "", 0, resources::kReportIcon},
                         {-1, DialogItemKind::Text, {34, 5, 276, 26}, kUnstableText}});
    return {feedback, report};
}

} // namespace

const DialogModule& pluginDialogs()
{
    static const DialogModule module(kProductName, templates());
    return module;
}
