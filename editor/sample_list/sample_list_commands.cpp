// The sample list page's commands: the clipboard (copy, cut, paste, delete,
// with a second press or a Yes to overwrite a used sample), the normaliser
// and the switch between list and browser mode.

#include "editor/sample_list/sample_edit.h"
#include "editor/sample_list/sample_list_page.h"
#include "gui/bitmap.h"
#include "pagekit/frame2.h"
#include "model/song/module.h"
#include "platform/dialogs/dialogs.h"
#include "platform/status_text.h"
#include "platform/window.h"
#include "shell/command_ids.h"

namespace {

constexpr const char* kOutOfMemory = "Not enough memory for the sample.";

} // namespace

void TesselSampleListUI::copySample(bool cut, TesselSampleEdit& edit)
{
    const TesselSample& source = edit.sample();
    clipboard_.assign(source);
    if (!isWholeCopy(clipboard_, source)) {
        clipboard_.reset();
        clipboardMarker_ = -1;
        platform::setStatusText(kOutOfMemory);
        return;
    }
    clipboardMarker_ = edit.index();
    if (!cut) {
        platform::setStatusText("Sample copied to clipboard.");
        return;
    }
    if (edit.fresh())
        edit.changed();
    platform::setStatusText("Sample cut to clipboard.");
}

void TesselSampleListUI::pasteSample(bool confirmed, TesselSampleEdit& edit, const TesselKeyEvent* key)
{
    if (clipboardMarker_ == -1) {
        platform::setStatusText("Sample not pasted: clipboard is empty.");
        return;
    }
    if (!confirmed && !edit.sample().isEmpty()) {
        pending_ = {cmd::root::kPaste, edit.index()};
        const std::string text = key ? key->toString(false, true) : std::string();
        platform::formatStatusText("Press %s again to overwrite current sample...", text.c_str());
        return;
    }
    TesselSample* target = edit.fresh();
    if (!target)
        return;
    target->assign(clipboard_);
    if (!isWholeCopy(*target, clipboard_)) {
        platform::setStatusText(kOutOfMemory);
        return;
    }
    edit.changed();
    platform::setStatusText("Sample pasted from clipboard.");
}

void TesselSampleListUI::deleteSample(bool confirmed, TesselSampleEdit& edit, const TesselKeyEvent* key)
{
    if (!confirmed) {
        pending_ = {cmd::sample_list::kDelete, edit.index()};
        const std::string text = key ? key->toString(false, true) : std::string();
        platform::formatStatusText("Press %s again to delete current sample...", text.c_str());
        return;
    }
    if (!edit.fresh())
        return;
    edit.changed();
    platform::setStatusText("Sample deleted.");
}

bool TesselSampleListUI::askYesNo(const char* question)
{
    CFrame2* frame = editor ? editor->frame2() : nullptr;
    platform::Window* window = frame ? frame->getWindow() : nullptr;
    if (!window || editor->popupActive())
        return false;
    editor->beginPopup();
    const int32_t answer = window->system().dialogs().messageBox(window, question, "Quorbel",
                                                                 platform::kBoxYesNo | platform::kBoxIconQuestion);
    editor->endPopup();
    return answer == platform::kAnswerYes;
}

void TesselSampleListUI::showNormalise()
{
    if (song == nullptr || song->samples[static_cast<size_t>(sample_)].length == 0)
        return;
    if (TesselButtonGroup* group = normalise_.getButtonGroup()) {
        group->value = -1;
        group->setHighlight(0);
    }
    const int32_t x = (size.width() - popupSkin_->getWidth()) / 2;
    const int32_t y = (size.height() - popupSkin_->getHeight()) / 2;
    normalise_.place(x, y, this);
}

void TesselSampleListUI::normaliseSample()
{
    sample_ = currentIndex();
    TesselSampleEdit edit(song, sample_);
    platform::setStatusText("Normalising sample...");
    TesselSample* copy = edit.copy();
    if (!copy)
        return;
    if (copy->peak() > 0.0f) {
        copy->normalise(0.0f);
        copy->buildOverview();
        edit.changed();
        // The lock not had drops the change; the text then stays unfinished.
        if (!edit.commit())
            return;
    }
    platform::setStatusText("Normalising sample... completed.");
}

void TesselSampleListUI::toggleMode()
{
    if (mode_ == kListMode) {
        setListMode(kBrowserMode);
        field_ = 1;
    } else {
        setListMode(kListMode);
        field_ = TesselSampleFields::kList;
    }
}
