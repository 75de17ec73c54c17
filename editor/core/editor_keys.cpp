// The key road: every key from the host's key calls, the frames, the editor
// window and the key filter is counted, logged, tested against the editor's
// own keys, played as a note while Caps Lock is on, resolved to a global
// command or handed to the current page.

#include "editor/core/key_characters.h"
#include "editor/core/page_kinds.h"
#include "editor/core/splash_page.h"
#include "editor/core/tessel_editor.h"
#include "engine/engine.h"
#include "pagekit/frame2.h"
#include "patterneditor/overview/toolbar_page.h"
#include "patterneditor/pattern_editor_page.h"
#include "platform/status_text.h"
#include "plugin/plugin_globals.h"
#include "shell/command_ids.h"
#include "shell/command_scheme.h"
#include "shell/preferences.h"

namespace {

constexpr int32_t kLastOctave = 8;

void normalise(TesselKeyEvent& key)
{
    if (key.virtualKey >= kVirtualKeyNames)
        key.virtualKey = 0;
    if (key.virtualKey == kVkEquals && key.character == '=')
        key.virtualKey = 0;
    if (key.virtualKey == kVkReturn)
        key.virtualKey = kVkEnter;
}

bool isFunctionKey(uint8_t key, uint8_t first, uint8_t last)
{
    return key >= first && key <= last;
}

// Keys that go on down the road after a live note.
bool passesLivePlay(uint8_t key)
{
    return key == kVkTab || key == kVkEnter || key == kVkEnd || key == kVkHome || (key >= kVkLeft && key <= kVkDown)
        || key == kVkPageUp || key == kVkPageDown || (key >= kVkPad0 && key <= kVkDivide)
        || isFunctionKey(key, kVkF2, kVkF8) || key == kVkF11 || key == kVkF12;
}

int32_t lowered(int32_t character)
{
    return character >= 'A' && character <= 'Z' ? character - 'A' + 'a' : character;
}

TesselKeyEvent keyEventOf(const VstKeyCode& code)
{
    TesselKeyEvent key;
    key.character = code.character;
    key.virtualKey = code.virt;
    key.modifiers = code.modifier;
    return key;
}

} // namespace

// In manual key mode too: X has no hook on the host's thread, so the keys a
// host forwards are the ones such a hook would have taken.
VstInt32 TesselEditor::onKeyDown(VstKeyCode& code)
{
    TesselKeyEvent key = keyEventOf(code);
    const int32_t c = code.character;
    const bool shiftOnly = code.modifier == kModShift;
    if (windowSystem())
        capsLock_ = liveInput().capsLock;
    if (c == 0)
        key.printable = 0;
    else if (c < 'a' || c > 'z')
        key.printable = shiftOnly && lookupKeyChar(static_cast<uint8_t>(c)) ? lookupKeyChar(static_cast<uint8_t>(c))
                                                                           : static_cast<uint8_t>(c);
    else
        key.printable = capsLock_ == shiftOnly ? static_cast<uint8_t>(c) : lookupKeyChar(static_cast<uint8_t>(c));
    handleKeyDown(key);
    return 1;
}

VstInt32 TesselEditor::onKeyUp(VstKeyCode& code)
{
    TesselKeyEvent key = keyEventOf(code);
    key.printable = static_cast<uint8_t>(code.character);
    key.keyUp = 1;
    handleKeyUp(key);
    return 1;
}

void TesselEditor::handleKeyDown(const TesselKeyEvent& incoming)
{
    if (!frame2_)
        return;
    TesselKeyEvent key = incoming;
    normalise(key);
    // A key the system repeats while it is held arrives marked with count 1;
    // it keeps the count of its first press and is never a second press.
    const bool repeated = key.pressCount != 0;
    const bool same = key.matches(previousKey_) && !previousKey_.isNone();
    key.pressCount = same ? static_cast<int16_t>(previousKey_.pressCount + (repeated ? 0 : 1)) : 0;
    previousKey_ = key;
    log_.logKey(key);

    if (editorWindow_.shown() && splash_->isShown() && !splash_->isFadingOut()) {
        splash_->startFadeOut();
        return;
    }
    if (popupActive_)
        return;
    const platform::InputState live = liveInput();
    if (key.virtualKey >= kVkPad0 && key.virtualKey <= kVkPad9 && live.numLock)
        key.character = key.virtualKey + 24;
    const uint8_t v = key.virtualKey;
    const uint8_t mods = key.modifiers;

    if (mods == kModCtrl && v == kVkF1) {
        help_->show(!(help_->isShown() && !help_->isHiding()), true);
        if (current_)
            current_->setDirty();
        return;
    }
    if (v == kVkEscape && mods == 0 && help_->isShown() && !help_->isHiding()) {
        help_->show(false, true);   // the panel logs it
        if (current_)
            current_->setDirty();
        return;
    }
    if (preferences_->keyboardPanelWantsKeys()) {
        preferences_->keyboardPanelKey(key);
        preferences_->setDirty();
        return;
    }
    if (v == kVkCapsLock && current_)
        current_->setDirty();
    capsLock_ = live.capsLock;
    if (capsLock_ && !playLiveKey(key))
        return;
    if (key.character == 't' && mods == (kModCtrl | kModAlt)) {
        setAlwaysOnTop(!pluginPreferences().alwaysOnTop);
        return;
    }
    if (current_ && current_->wantsKeys()) {
        current_->onKeyEvent(key);
        current_->setDirty();
        return;
    }
    if (mods == kModAlt && isFunctionKey(v, kVkF1, kVkF8)) {
        toggleMute(v - kVkF1);
        return;
    }
    if (mods == kModShift && isFunctionKey(v, kVkF2, kVkF12)) {
        if (platform::Window* host = editorWindow_.hostTopWindow())
            windowSystem()->sendKey(*host, static_cast<uint8_t>(v + 72), platform::kShiftHeld);
        return;
    }
    const int32_t id = defaultScheme().idForKey(key, false);
    if (!executeCommand(id)) {
        if (mods == kModCtrl && v == kVkF4)
            hideEditorWindow();
        else if (v == kVkEscape)
            escape(key);
        else if (current_)
            current_->onKeyEvent(key);
        if (current_)
            current_->setDirty();
    }
    if (toolbar_)
        toolbar_->setDirty();
}

void TesselEditor::escape(const TesselKeyEvent& key)
{
    if (!editorWindow_.shown() || !current_)
        return;
    if (current_->wantsKeys())
        current_->onKeyEvent(key);
    else if (current_ == patternEditor_)
        patternEditor_->onKeyEvent(key);
    else if (help_->isShown() && !help_->isHiding())
        help_->show(false, true);
    else
        switchPage(kPatternEditorPage, true);
}

// Caps Lock's live play: octave and instrument keys, then notes. False when
// the key ends here.
bool TesselEditor::playLiveKey(TesselKeyEvent& key)
{
    const uint8_t v = key.virtualKey;
    const uint8_t mods = key.modifiers;
    if (v == kVkDivide || (key.character == '-' && mods == kModCtrl && v != kVkSubtract)) {
        if (octave_ > 0)
            changeOctave(octave_ - 1);
        return false;
    }
    if (v == kVkMultiply || (key.character == '=' && mods == kModCtrl)) {
        if (octave_ < kLastOctave)
            changeOctave(octave_ + 1);
        return false;
    }
    if (key.printable == '>' || (mods == kModCtrl && v == kVkDown)) {
        changeInstrument(1);
        return false;
    }
    if (key.printable == '<' || (mods == kModCtrl && v == kVkUp)) {
        changeInstrument(-1);
        return false;
    }
    TesselKeyEvent note = key;
    note.printable = 0;
    note.character = lowered(note.character);
    const int32_t n = noteFromKey(note);
    if (n >= 0 && n < kHeldNotes) {
        const bool onSampleList = current_ && current_ == sampleList_;
        liveNote_.pitch = static_cast<int16_t>(n);
        liveNote_.instrument = static_cast<int16_t>(onSampleList ? 0 : instrument_);
        if (engine_->heldNotes[liveNote_.instrument][n] == 0) {
            if (onSampleList)
                engine_->playSample(n, sample_ - 1);
            else
                engine_->playNote(liveNote_, current_ && current_ == patternEditor_ ? patternEditor_->cursorChannel()
                                                                                    : kPreviewChannel);
        }
    }
    return passesLivePlay(v);
}

void TesselEditor::stopLiveKey(TesselKeyEvent key)
{
    key.printable = 0;
    key.character = lowered(key.character);
    const int32_t n = noteFromKey(key);
    if (n < 0 || (key.modifiers & kModShift))
        return;
    const bool onSampleList = current_ && current_ == sampleList_;
    engine_->stopNote(onSampleList ? 0 : instrument_, n);
}

void TesselEditor::handleKeyUp(const TesselKeyEvent& incoming)
{
    if (!frame2_)
        return;
    TesselKeyEvent key = incoming;
    normalise(key);
    log_.logKey(key);
    if (popupActive_)
        return;
    if (patternEditor_ && patternEditor_->draggingSelection())
        updateDragCursor();
    if (key.virtualKey == kVkCapsLock && current_)
        current_->setDirty();
    if (windowSystem())
        capsLock_ = liveInput().capsLock;
    if (capsLock_) {
        stopLiveKey(key);
        return;
    }
    if ((key.modifiers & kModShift) && isFunctionKey(key.virtualKey, kVkF2, kVkF12))
        return;
    if (key.virtualKey == kVkShift) {
        if (patternEditor_)
            patternEditor_->clearShiftState();
        if (instrumentList_)
            instrumentList_->clearShiftState();
        return;
    }
    if (current_ && (current_ == sampleList_ || current_ == instrumentList_))
        current_->onKeyEvent(key);
}

int32_t TesselEditor::noteFromKey(TesselKeyEvent key) const
{
    key.printable = 0;
    key.keyUp = 0;   // a release names the same note
    key.modifiers &= static_cast<uint8_t>(~kModShift);
    if (key.virtualKey >= kVkPad0 && key.virtualKey <= kVkDivide)
        return -1;
    const int32_t id = defaultScheme().findIdInContext(cmd::note_entry::kContext, key, false);
    return cmd::note_entry::notePitch(id, octave_);
}

void TesselEditor::updateDragCursor()
{
    if (!patternEditor_ || !patternEditor_->draggingSelection())
        return;
    const uint32_t held = liveInput().bits;
    const bool control = held & platform::kControlHeld;
    const bool alt = held & platform::kAltHeld;
    const bool shift = held & platform::kShiftHeld;
    if (platform::Window* pages = frame2_ ? frame2_->getWindow() : nullptr)
        pages->setCursor(control ? platform::Cursor::Copy : platform::Cursor::Move);
    std::string line = control ? " (mouse)   move, COPY (Ctrl)" : " (mouse)   MOVE, copy (Ctrl)";
    if (alt && shift)
        line += "  +  overwrite, insert (Shift), mix (Alt), MIX FIELDS (Alt+Shift)";
    else if (alt)
        line += "  +  overwrite, insert (Shift), MIX (Alt), mix fields (Alt+Shift)";
    else if (shift)
        line += "  +  overwrite, INSERT (Shift), mix (Alt), mix fields (Alt+Shift)";
    else
        line += "  +  OVERWRITE, insert (Shift), mix (Alt), mix fields (Alt+Shift)";
    platform::setStatusText(line.c_str());
}

platform::InputState TesselEditor::liveInput() const
{
    platform::WindowSystem* windows = windowSystem();
    return windows ? windows->inputState() : platform::InputState{};
}
