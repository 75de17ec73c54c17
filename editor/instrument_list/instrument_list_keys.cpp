// The instrument page's keys: releases, the key map's capture, the swap
// popup, the MIDI panel, the page's commands, focus moves, the list with
// its label and name cursor, auditions, and browser mode.
#include "editor/instrument_list/instrument_list_edit.h"

#include "common/help_pages.h"
#include "engine/engine.h"
#include "gui/bitmap.h"
#include "gui/controls/button_group.h"
#include "model/song/module.h"
#include "pagekit/envelope_graph.h"
#include "pagekit/file_box.h"
#include "pagekit/page_operations.h"
#include "patterneditor/pattern_editor_page.h"
#include "platform/key_event.h"
#include "platform/status_text.h"
#include "resources/resource_ids.h"
#include "shell/command_ids.h"
#include "shell/command_scheme.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint8_t kGraveAccent = 96;
constexpr int32_t kPageStep = 16;
constexpr int32_t kSwapLabelLength = 3;
constexpr int32_t kEnvelopeFirstField = 2;
constexpr int32_t kEnvelopeLastField = 9;
constexpr int32_t kEnvelopeSliders = 10;

constexpr const char* kHelpPages[5] = {help::kInstrumentGeneral, help::kInstrumentVolume, help::kInstrumentPanning,
                                       help::kInstrumentPitch, help::kInstrumentFilter};

bool isText(const TesselKeyEvent& key)
{
    return key.printable >= 32 && key.printable != kNoPrintable && (key.modifiers & (kModAlt | kModCtrl)) == 0;
}

// The key's shortcut text for the "press again" prompts.
std::string keyText(TesselKeyEvent key)
{
    key.pressCount = 0;
    return key.toString(false, true);
}

} // namespace

int32_t TesselInstrumentListUI::onKeyEvent(const TesselKeyEvent& key)
{
    syncWithEditor();
    if (key.keyUp) {
        releaseKey(key);
        return 1;
    }
    Edit edit(song->instruments[static_cast<size_t>(current_)]);
    songWritten_ = false;
    handleKey(key, edit);
    finishEdit(edit);
    return 1;
}

void TesselInstrumentListUI::releaseKey(const TesselKeyEvent& key)
{
    // A note this page started stops on its key's release, wherever the focus went.
    bool stopped = false;
    for (auto it = startedNotes_.begin(); it != startedNotes_.end();) {
        if (it->character == key.character && it->virtualKey == key.virtualKey) {
            if (engine)
                engine->stopNote(it->instrument, it->note);
            it = startedNotes_.erase(it);
            stopped = true;
        } else {
            ++it;
        }
    }
    if (stopped)
        return;
    const bool listAudition = field_ == 0 && tab_ != kBrowser && key.virtualKey != kVkControl
        && nameCursor_ == kNoNameCursor;
    const bool envelopeAudition = tab_ >= kVolume && tab_ <= kFilter && (key.modifiers & kModAlt);
    if ((listAudition || envelopeAudition) && engine && editor) {
        const int32_t note = editor->noteFromKey(key);
        if (note >= 0)
            engine->stopNote(current_ + 1, note);
    } else if (tab_ == kBrowser && field_ == 1) {
        fileBox_->onFileKey(key);
    }
}

void TesselInstrumentListUI::handleKey(const TesselKeyEvent& key, Edit& edit)
{
    if (tab_ == kGeneral && field_ == 1 && keyMap_->isCapturing()) {
        keyMap_->onKey(key, edit.copy);
        return;
    }
    if (swapPopup_.isShown()) {
        swapPopupKey(key);
        return;
    }
    if (midiPanel_->isOpen()) {
        midiPanel_->onKeyEvent(key);
        midiPanel_->storeInto(edit.copy);
        return;
    }
    const int32_t id = defaultScheme().findIdInContext(cmd::instrument_list::kContext, key, false);
    if (pageCommand(id, key, edit) || focusMove(key))
        return;
    if (tab_ == kBrowser) {
        if (field_ == 0 && key.virtualKey != kVkEscape)
            listKey(key, edit);
        else
            browserKey(key);
        return;
    }
    if (field_ == 0) {
        listKey(key, edit);
        return;
    }
    const bool keyMapFocused = tab_ == kGeneral && field_ == 1;
    if (!keyMapFocused && (key.virtualKey == kVkPageUp || key.virtualKey == kVkPageDown)) {
        selectInstrument(current_ + 1 + (key.virtualKey == kVkPageUp ? -1 : 1), false);
        return;
    }
    if (keyMapFocused) {
        keyMap_->onKey(key, edit.copy);
        return;
    }
    if (field_ == 1) {
        TesselEnvelope& envelope = tabEnvelope(edit.copy);
        graph_->onEnvelopeKey(key, envelope, tab_ - 1);
        checkLoops(envelope);
        return;
    }
    fieldKey(key, edit.copy);
}

bool TesselInstrumentListUI::confirmed(const TesselKeyEvent& key, int32_t command)
{
    if (key.pressCount >= 1 && pendingSlot_ == current_ && pendingCommand_ == command) {
        pendingSlot_ = -1;
        return true;
    }
    pendingSlot_ = current_;
    pendingCommand_ = command;
    return false;
}

bool TesselInstrumentListUI::pageCommand(int32_t id, const TesselKeyEvent& key, Edit& edit)
{
    switch (id) {
    case cmd::root::kHelpContext:
        if (TesselEditorPageServices* full = owner())
            full->openHelpPage(field_ != 0 && tab_ <= kFilter ? kHelpPages[tab_] : help::kInstrumentList);
        return true;
    case cmd::root::kCopy:
    case cmd::root::kCut:
        clipboard_ = std::make_unique<TesselInstrument>(edit.copy);
        clipboardMarker_ = current_;
        if (id == cmd::root::kCut)
            edit.copy.reset();
        platform::setStatusText(id == cmd::root::kCut ? "Instrument cut to clipboard."
                                                      : "Instrument copied to clipboard.");
        return true;
    case cmd::root::kPaste:
        if (clipboardMarker_ < 0 || !clipboard_) {
            platform::setStatusText("Instrument not pasted: clipboard is empty.");
        } else if (edit.copy.isEmpty() || confirmed(key, cmd::root::kPaste)) {
            pendingSlot_ = -1;
            edit.copy.assign(*clipboard_);
            platform::setStatusText("Instrument pasted from clipboard.");
        } else {
            platform::formatStatusText("Press %s again to overwrite current instrument...", keyText(key).c_str());
        }
        return true;
    case cmd::instrument_list::kDelete:
        if (confirmed(key, cmd::instrument_list::kDelete)) {
            edit.copy.reset();
            platform::setStatusText("Instrument deleted.");
        } else {
            platform::formatStatusText("Press %s again to delete current instrument...", keyText(key).c_str());
        }
        return true;
    case cmd::root::kInstrumentList: nextTab(); return true;
    case cmd::instrument_list::kSwapInList:
    case cmd::instrument_list::kSwapInPatterns:
        openSwapPopup(id == cmd::instrument_list::kSwapInPatterns);
        return true;
    default: return false;
    }
}

void TesselInstrumentListUI::nextTab()
{
    midiPanel_->close();
    tab_ = tab_ >= kFilter ? kGeneral : tab_ + 1;
    if (field_ != 0)
        field_ = 1;
    setDirty();
}

bool TesselInstrumentListUI::focusMove(const TesselKeyEvent& key)
{
    const uint8_t v = key.virtualKey;
    const bool shift = (key.modifiers & kModShift) != 0;
    // The key map, the graph and the file box use the arrows themselves.
    const bool arrowsTaken = field_ == 1 && (tab_ <= kFilter || tab_ == kBrowser);
    int32_t step = 0;
    if (v == kVkTab)
        step = shift ? -1 : 1;
    else if (v == kVkUp && field_ != 0 && !arrowsTaken && key.modifiers == 0)
        step = -1;
    else if (v == kVkDown && field_ != 0 && !arrowsTaken && key.modifiers == 0)
        step = 1;
    if (step == 0)
        return false;
    const int32_t count = focusCount() + 1;
    const bool envelopeTab = tab_ >= kVolume && tab_ <= kFilter;
    if (envelopeTab && v == kVkTab && step < 0 && field_ > kEnvelopeFirstField && field_ <= kEnvelopeSliders)
        field_ = kEnvelopeFirstField;
    else if (envelopeTab && v == kVkTab && step > 0 && field_ >= kEnvelopeFirstField && field_ <= kEnvelopeLastField)
        field_ = kEnvelopeSliders;
    else
        field_ = (field_ + step + count) % count;
    if (editor)
        editor->logCurrentFocus();
    setDirty();
    return true;
}

void TesselInstrumentListUI::openSwapPopup(bool inPatterns)
{
    swapInPatterns_ = inPatterns;
    swapLabel_.clear();
    auto* image = new CBitmap(inPatterns ? resources::kSwapInPatterns : resources::kSwapInList);
    swapPopup_.setImage(image);
    const int32_t x = (size.width() - image->getWidth()) / 2;
    const int32_t y = (size.height() - image->getHeight()) / 2;
    image->forget();
    if (!swapPopup_.getButtonGroup())
        swapPopup_.setButtonGroup(std::make_unique<TesselButtonGroup>(0, 0, nullptr, 0));
    swapPopup_.place(x, y, this);
}

void TesselInstrumentListUI::swapPopupKey(const TesselKeyEvent& key)
{
    const uint8_t v = key.virtualKey;
    if (v == kVkEscape) {
        swapPopup_.hide();
        return;
    }
    if (v == kVkBackspace) {
        if (!swapLabel_.empty())
            swapLabel_.pop_back();
        return;
    }
    if (v != kVkEnter) {
        if (isText(key) && static_cast<int32_t>(swapLabel_.size()) < kSwapLabelLength)
            swapLabel_ += static_cast<char>(key.printable);
        return;
    }
    swapPopup_.hide();
    const int32_t other = matchInstrument(song->instruments, swapLabel_.c_str(), 0);
    if (other < 1) {
        platform::formatStatusText("Instrument '%s' not found.", swapLabel_.c_str());
        openSwapPopup(swapInPatterns_);
        return;
    }
    const std::string first = song->instruments[static_cast<size_t>(current_)].label;
    const std::string second = song->instruments[static_cast<size_t>(other - 1)].label;
    swapInstruments(current_ + 1, other, swapInPatterns_);
    platform::formatStatusText("Instrument %s and %s swapped in %s.", first.c_str(), second.c_str(),
                               swapInPatterns_ ? "instrument list and patterns" : "instrument list");
}

void TesselInstrumentListUI::listKey(const TesselKeyEvent& key, Edit& edit)
{
    TesselInstrument& instrument = edit.copy;
    const uint8_t v = key.virtualKey;
    const int32_t n = current_ + 1;
    const bool alt = (key.modifiers & kModAlt) != 0;
    if (alt && key.character >= '0' && key.character <= '4') {
        instrument.colour = chooseColour();
        return;
    }
    switch (v) {
    case kVkEnd: {
        const std::string name = instrument.nameText();
        const auto last = name.find_last_not_of(' ');
        const int32_t after = last == std::string::npos ? 0 : static_cast<int32_t>(last) + 1;
        if (nameCursor_ < after)
            nameCursor_ = after;
        else if (nameCursor_ != kNoNameCursor)
            nameCursor_ = kNoNameCursor;
        else
            selectInstrument(kInstruments, false);
        return;
    }
    case kVkHome:
        if (nameCursor_ != 0)
            nameCursor_ = 0;
        else
            selectInstrument(1, false);
        return;
    case kVkLeft: nameCursor_ = std::max(nameCursor_ - 1, kFirstLabelPlace); return;
    case kVkRight: nameCursor_ = std::min(nameCursor_ + 1, kNoNameCursor); return;
    case kVkUp: selectInstrument(n - 1, false); return;
    case kVkDown: selectInstrument(n + 1, false); return;
    case kVkPageUp: selectInstrument(n - kPageStep, false); return;
    case kVkPageDown: selectInstrument(n + kPageStep, false); return;
    case kVkEnter:
        if (nameCursor_ < 0) {
            instrument.colour = chooseColour();
        } else {
            showBrowser();
        }
        return;
    case kVkInsert:
    case kVkDelete:
    case kVkBackspace: nameKey(key, instrument); return;
    default: break;
    }
    if (isText(key) && nameCursor_ < 0) {
        labelCharacter(key.printable, instrument);
        return;
    }
    if (isText(key) && nameCursor_ < kNoNameCursor) {
        nameKey(key, instrument);
        return;
    }
    if (nameCursor_ == kNoNameCursor)
        auditionKey(key);
}

void TesselInstrumentListUI::nameKey(const TesselKeyEvent& key, TesselInstrument& instrument)
{
    std::string name = instrument.nameText();
    const int32_t last = kInstrumentNameLength - 1;
    const auto at = static_cast<size_t>(std::clamp(nameCursor_, 0, last));
    switch (key.virtualKey) {
    case kVkBackspace:
        if (nameCursor_ <= 0)
            return;
        name.erase(static_cast<size_t>(nameCursor_ - 1), 1);
        --nameCursor_;
        break;
    case kVkDelete:
        if (nameCursor_ < 0 || nameCursor_ > last)
            return;
        name.erase(at, 1);
        break;
    case kVkInsert:
        if (nameCursor_ < 0 || nameCursor_ > last)
            return;
        name.insert(at, 1, ' ');
        break;
    default:
        if (nameCursor_ < 0 || nameCursor_ > last)
            return;
        name.insert(at, 1, static_cast<char>(key.printable));
        ++nameCursor_;
        break;
    }
    name.resize(kInstrumentNameLength, ' ');
    instrument.setName(name.c_str());
}

void TesselInstrumentListUI::labelCharacter(uint8_t character, TesselInstrument& instrument)
{
    TesselPatternEditorPage* patternEditor = patternEditorPage();
    if (character == kGraveAccent) {
        const bool labels = patternEditor ? patternEditor->instrumentLabelsShown() : true;
        platform::setStatusText(labels ? "Use numbers to identify instruments." : "Use labels to identify instruments.");
        if (patternEditor)
            patternEditor->showInstrumentLabels(!labels);
    } else {
        // The page edits the label's first two places; a shorter label is padded.
        char label[kInstrumentLabelSize] = {};
        std::memcpy(label, instrument.label, kInstrumentLabelSize - 1);
        for (int32_t i = 0; i < 2; ++i)
            if (label[i] == '\0')
                label[i] = ' ';
        label[nameCursor_ + 2] = static_cast<char>(character);
        instrument.setLabel(label);
        ++nameCursor_;
        if (patternEditor)
            patternEditor->showInstrumentLabels(true);
    }
    refillPatternEditorList();
    if (patternEditor)
        patternEditor->markDirty(-1, -1, 0x7F);
}

void TesselInstrumentListUI::auditionKey(const TesselKeyEvent& key)
{
    if (!engine || !editor)
        return;
    const int32_t note = editor->noteFromKey(key);
    const int32_t number = current_ + 1;
    if (note < 0 || note >= kHeldNotes || engine->heldNotes[number][note] != 0)
        return;
    auditionNote_.pitch = static_cast<int16_t>(note);
    auditionNote_.instrument = static_cast<int16_t>(number);
    if (engine->playNote(auditionNote_, kPreviewChannel))
        startedNotes_.push_back({key.character, key.virtualKey, number, note});
}

void TesselInstrumentListUI::browserKey(const TesselKeyEvent& key)
{
    if (key.virtualKey == kVkEscape) {
        tab_ = kGeneral;
        field_ = 0;
        return;
    }
    if (const char* chosen = fileBox_->onFileKey(key)) {
        loadInstrument(chosen, current_);
        return;
    }
    if (TesselEditorPageServices* full = owner())
        full->instrumentFolder() = fileBox_->folder();
}

void TesselInstrumentListUI::goToSample(int32_t sample)
{
    TesselEditorPageServices* full = owner();
    if (!full || sample < 1 || sample > kSamples)
        return;
    full->setCurrentSample(sample, false);
    full->switchPage(kSampleListPage, true);
}
