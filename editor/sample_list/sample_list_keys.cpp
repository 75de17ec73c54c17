// The sample list page's keys: releases, the normalise popup, the page's
// commands, focus moves, the fields, the browser and the list with its
// name editing and auditions.

#include "common/help_pages.h"
#include "editor/sample_list/sample_edit.h"
#include "editor/sample_list/sample_list_page.h"
#include "engine/engine.h"
#include "pagekit/editor_services.h"
#include "pagekit/file_box.h"
#include "shell/command_ids.h"
#include "shell/command_scheme.h"

#include <algorithm>

namespace {

constexpr int32_t kPageStep = 16;

int32_t lowered(int32_t character)
{
    return character >= 'A' && character <= 'Z' ? character - 'A' + 'a' : character;
}

bool isDigit(const TesselKeyEvent& key)
{
    return key.character >= '0' && key.character <= '9';
}

bool isPrintable(uint8_t c)
{
    return c >= 32 && c != 127 && c != kNoPrintable;
}

} // namespace

int32_t TesselSampleListUI::onKeyEvent(const TesselKeyEvent& key)
{
    if (key.keyUp) {
        releaseKey(key);
        return 1;
    }
    sample_ = currentIndex();
    const Pending pending = pending_;
    dropPending();
    if (normalise_.isShown()) {
        if (normalise_.onKey(key) && normalise_.resultIndex == 0)
            normaliseSample();
        setDirty();
        return 1;
    }
    TesselSampleEdit edit(song, sample_);
    const int32_t id = commandOf(key);
    const bool finish = runCommand(id, key, edit, pending);
    if (finish)
        finishAction(edit);
    setDirty();
    return 1;
}

int32_t TesselSampleListUI::commandOf(const TesselKeyEvent& key) const
{
    // The page's context; a key it does not bind is looked up in the root's.
    const TesselCommand* context = defaultScheme().findByPath(cmd::sample_list::kContext);
    return context ? context->findByKey(key, false).id : defaultScheme().idForKey(key, false);
}

bool TesselSampleListUI::runCommand(int32_t id, const TesselKeyEvent& key, TesselSampleEdit& edit,
                                    const Pending& pending)
{
    const bool secondPress = key.pressCount != 0 && pending.command == id && pending.slot == sample_;
    switch (id) {
    case cmd::root::kHelpContext:
        if (TesselEditorPageServices* editorObject = owner())
            editorObject->openHelpPage(help::kSampleList);
        return false;
    case cmd::root::kCopy: copySample(false, edit); return true;
    case cmd::root::kCut: copySample(true, edit); return true;
    case cmd::root::kPaste: pasteSample(secondPress, edit, &key); return true;
    case cmd::sample_list::kDelete: deleteSample(secondPress, edit, &key); return true;
    case cmd::root::kSampleList: toggleMode(); return true;
    case cmd::sample_list::kNormalise: showNormalise(); return true;
    default: return editingKey(key, edit);
    }
}

bool TesselSampleListUI::editingKey(const TesselKeyEvent& key, TesselSampleEdit& edit)
{
    const uint8_t v = key.virtualKey;
    const bool fieldFocused = field_ > TesselSampleFields::kList;
    if (v == kVkTab || (v == kVkUp && field_ > 1) ||
        (v == kVkDown && fieldFocused && !(mode_ == kBrowserMode && field_ == 1))) {
        moveFocus(key, edit);
        return true;
    }
    if (mode_ == kBrowserMode && field_ == 1) {
        fileBoxKey(key);
        return true;
    }
    if (mode_ == kListMode && fieldFocused) {
        if (v == kVkPageUp || v == kVkPageDown) {
            sample_ += v == kVkPageUp ? -1 : 1;
            return true;
        }
        const int32_t note = editor ? editor->noteFromKey(key) : -1;
        if (TesselSampleFields::isLoopField(field_) && !isDigit(key) && note >= 0) {
            audition(key, note);
            return false;
        }
        fieldKey(key, edit);
        return true;
    }
    return listKey(key, edit);
}

void TesselSampleListUI::moveFocus(const TesselKeyEvent& key, TesselSampleEdit& edit)
{
    const bool shift = (key.modifiers & kModShift) != 0;
    const bool tab = key.virtualKey == kVkTab;
    if (mode_ == kBrowserMode) {
        if (tab)
            setField(field_ == 0 ? 1 : 0, edit);
        return;
    }
    const int32_t count = TesselSampleFields::kCount;
    if (tab && field_ >= 1 && field_ <= 8)
        setField(shift ? 0 : TesselSampleFields::kGlobalVolume, edit);
    else if ((tab && shift) || key.virtualKey == kVkUp)
        setField((field_ + count - 1) % count, edit);
    else
        setField((field_ + 1) % count, edit);
}

void TesselSampleListUI::fieldKey(const TesselKeyEvent& key, TesselSampleEdit& edit)
{
    TesselControl* control = fields_->control(field_);
    if (!control)
        return;
    fields_->show(edit.sample());
    const std::string before = fields_->state(field_);
    control->onKey(key);
    if (fields_->state(field_) != before)
        storeField(edit);
}

void TesselSampleListUI::fileBoxKey(const TesselKeyEvent& key)
{
    if (key.virtualKey == kVkEscape && key.modifiers == 0) {
        setListMode(kListMode);
        field_ = TesselSampleFields::kList;
        return;
    }
    if (const char* chosen = fileBox_->onFileKey(key))
        loadSample(chosen, sample_);
    else
        rememberFolder();
}

bool TesselSampleListUI::listKey(const TesselKeyEvent& key, TesselSampleEdit& edit)
{
    switch (key.virtualKey) {
    case kVkEscape:
        if (mode_ == kBrowserMode)
            setListMode(kListMode);
        else if (TesselEditorPageServices* editorObject = owner())
            editorObject->switchPage(kPatternEditorPage, true);
        return true;
    case kVkEnd:
        if (nameCursor_ == kNameNotEdited)
            sample_ = kSamples - 1;
        nameCursor_ = kNameNotEdited;
        return true;
    case kVkHome:
        if (nameCursor_ == 0)
            sample_ = 0;
        nameCursor_ = 0;
        return true;
    case kVkLeft: nameCursor_ = std::max(nameCursor_ - 1, 0); return true;
    case kVkRight: nameCursor_ = std::min(nameCursor_ + 1, kNameNotEdited); return true;
    case kVkUp: sample_ = std::max(sample_ - 1, 0); return true;
    case kVkDown: sample_ = std::min(sample_ + 1, kSamples - 1); return true;
    case kVkPageUp: sample_ = std::max(sample_ - kPageStep, 0); return true;
    case kVkPageDown: sample_ = std::min(sample_ + kPageStep, kSamples - 1); return true;
    case kVkEnter:
        setListMode(kBrowserMode);
        field_ = 1;
        return false;
    default: break;
    }
    if (editName(key, edit))
        return true;
    if (nameCursor_ != kNameNotEdited)
        return true;
    const int32_t note = editor ? editor->noteFromKey(key) : -1;
    if (note >= 0)
        audition(key, note);
    return false;
}

// Backspace, Insert, Delete and typed characters on the name; false for
// any other key.
bool TesselSampleListUI::editName(const TesselKeyEvent& key, TesselSampleEdit& edit)
{
    std::string name = edit.sample().nameText();
    const int32_t at = nameCursor_;
    switch (key.virtualKey) {
    case kVkBackspace:
        if (at == 0)
            return true;
        name.erase(static_cast<size_t>(at - 1), 1);
        --nameCursor_;
        break;
    case kVkInsert:
        if (at >= kNameNotEdited)
            return true;
        name.insert(static_cast<size_t>(at), 1, ' ');
        break;
    case kVkDelete:
        if (at >= kNameNotEdited)
            return true;
        name.erase(static_cast<size_t>(at), 1);
        break;
    default:
        if (at >= kNameNotEdited || !isPrintable(key.printable))
            return false;
        name.insert(static_cast<size_t>(at), 1, static_cast<char>(key.printable));
        ++nameCursor_;
        break;
    }
    name.resize(kSampleNameLength, ' ');
    if (name == edit.sample().nameText())
        return true;
    if (TesselSample* copy = edit.copy()) {
        copy->setName(name.c_str());
        edit.changed();
    }
    return true;
}

void TesselSampleListUI::audition(const TesselKeyEvent& key, int32_t note)
{
    if (!engine || note < 0 || note >= kHeldNotes || engine->heldNotes[0][note] != 0)
        return;
    if (!engine->playSample(note, sample_))
        return;
    const int32_t character = lowered(key.character);
    std::erase_if(held_, [&](const HeldKey& h) { return h.virtualKey == key.virtualKey && h.character == character; });
    held_.push_back({key.virtualKey, character, note});
}

void TesselSampleListUI::releaseKey(const TesselKeyEvent& key)
{
    if (mode_ == kBrowserMode && field_ == 1)
        fileBox_->onFileKey(key);
    const int32_t character = lowered(key.character);
    bool stopped = false;
    for (auto h = held_.begin(); h != held_.end();) {
        if (h->virtualKey == key.virtualKey && h->character == character) {
            if (engine)
                engine->stopNote(0, h->note);
            h = held_.erase(h);
            stopped = true;
        } else {
            ++h;
        }
    }
    // A note started before this page saw its key (the page was switched
    // to while the key was held) stops as the list's own would.
    if (!stopped && mode_ == kListMode && field_ == TesselSampleFields::kList && key.virtualKey != kVkControl &&
        nameCursor_ == kNameNotEdited && engine && editor) {
        const int32_t note = editor->noteFromKey(key);
        if (note >= 0)
            engine->stopNote(0, note);
    }
}
