// The global commands of the root context, playback from the editor, the
// channel mute keys and the toolbar's value controls.

#include "common/help_pages.h"
#include "editor/core/page_kinds.h"
#include "editor/core/tessel_editor.h"
#include "engine/engine.h"
#include "model/song/module.h"
#include "pagekit/page_globals.h"
#include "patterneditor/pattern_editor_page.h"
#include "platform/status_text.h"
#include "plugin/plugin_globals.h"
#include "shell/command_ids.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int32_t kLastOctave = 8;
constexpr uint8_t kAllCellFlags = 127;
constexpr int32_t kHelpPopupLeft = 10;
constexpr int32_t kHelpPopupTop = 37;

} // namespace

bool TesselEditor::executeCommand(int32_t id)
{
    switch (id) {
    case cmd::root::kNewModule: newModule(); return true;
    case cmd::root::kLoadModule: openModule(); return true;
    case cmd::root::kSaveModule: saveModule(0); return true;
    case cmd::root::kSaveModuleAs: saveModule(1); return true;
    case cmd::root::kPlaySong:
        if (engine_->transport > 3)
            return executeCommand(cmd::root::kInfoPage);
        playSong(-1, 0);
        return true;
    case cmd::root::kPlayPattern: playPattern(-1, 0); return true;
    case cmd::root::kPlayFromCursor: playFromCursor(); return true;
    case cmd::root::kPlayPatternFromCursor:
        playPattern(current_ ? current_->getCurrentPattern() : 0, current_ ? current_->getCurrentRow() : 0);
        return true;
    case cmd::root::kStop:
        if (engine_->transport != kStoppedCut) {
            engine_->stop();
            return true;
        }
        [[fallthrough]];
    case cmd::root::kReset:
        if (info_)
            info_->resetChannelDisplay();
        engine_->reset();
        return true;
    case cmd::root::kRebuildSync:
        platform::setStatusText("Building Sync Data...");
        engine_->rebuildSongPlaylist(nullptr, false);
        engine_->rebuildPatternPlaylists(false);
        platform::setStatusText("Building Sync Data... completed.");
        return true;
    case cmd::root::kBaseOctaveDown:
        if (octave_ > 0)
            changeOctave(octave_ - 1);
        return true;
    case cmd::root::kBaseOctaveUp:
        if (octave_ < kLastOctave)
            changeOctave(octave_ + 1);
        return true;
    case cmd::root::kHelpKeyboard: {
        const platform::Point origin = editorWindow() ? editorWindow()->screenOrigin() : platform::Point{};
        showHelpPopup(help::keyboardHelpPage(currentPageNumber()), origin.x + kHelpPopupLeft, origin.y + kHelpPopupTop);
        return true;
    }
    case cmd::root::kPatternEditor:
        if (!editorWindow_.shown() || current_ == patternEditor_)
            return false;
        return switchToPageCommand(kPatternEditorPage);
    case cmd::root::kSampleList:
        return current_ != sampleList_ && switchToPageCommand(kSampleListPage);
    case cmd::root::kInstrumentList:
        return current_ != instrumentList_ && switchToPageCommand(kInstrumentListPage);
    case cmd::root::kInfoPage:
        if (current_ == info_) {
            info_->onPageCommand(cmd::root::kInfoPage);
            return true;
        }
        return switchToPageCommand(kInfoPage);
    case cmd::root::kOrderList: return switchToPageCommand(kOrderListPage);
    case cmd::root::kPreferences:
        return current_ != preferences_ && switchToPageCommand(kPreferencesPage);
    default:
        if (id >= cmd::pattern_editor::kMuteChannel1 && id <= cmd::pattern_editor::kMuteChannel8) {
            toggleMute(id - cmd::pattern_editor::kMuteChannel1);
            if (current_)
                current_->setDirty();
            return true;
        }
        return false;
    }
}

bool TesselEditor::switchToPageCommand(int32_t number)
{
    switchPage(number, true);
    logCurrentFocus();
    return true;
}

void TesselEditor::playSong(int32_t order, int32_t row)
{
    if (info_)
        info_->resetChannelDisplay();
    platform::MutexLock lock(engine_->song.songLock(), editLockWaitMs);
    if (lock)
        engine_->playSong(order, row);
}

void TesselEditor::playPattern(int32_t pattern, int32_t row)
{
    if (pattern < 0)
        pattern = current_ ? current_->getCurrentPattern() : 0;
    platform::MutexLock lock(engine_->song.songLock(), editLockWaitMs);
    if (lock)
        engine_->playPattern(pattern, row);
}

void TesselEditor::playFromCursor()
{
    if (!current_)
        return;
    const int32_t pattern = current_->getCurrentPattern();
    const int32_t row = current_->getCurrentRow();
    const int32_t order = current_->getCurrentOrder();
    const TesselOrderList& orders = engine_->song.orderList;
    if (order >= 0 && order < kOrderEntries && orders.entries[static_cast<size_t>(order)].contains(pattern)) {
        playSong(order, row);
        return;
    }
    for (int32_t i = 0; i < kOrderEntries; ++i) {
        if (orders.entries[static_cast<size_t>(i)].contains(pattern)) {
            playSong(i, row);
            return;
        }
    }
    playPattern(pattern, row);
}

void TesselEditor::toggleMute(int32_t channel)
{
    if (channel < 0 || channel >= kChannels)
        return;
    {
        platform::MutexLock lock(engine_->song.songLock(), editLockWaitMs);
        if (!lock)
            return;
        TesselChannel& settings = engine_->song.channels[static_cast<size_t>(channel)];
        settings.mute = settings.mute ? 0 : 1;
    }
    if (patternEditor_) {
        patternEditor_->markDirty(channel, -1, kAllCellFlags);
        patternEditor_->setDirty();
    }
}

void TesselEditor::setOctave(int32_t octave)
{
    if (octave >= 0 && octave <= kLastOctave)
        octave_ = octave;
}

void TesselEditor::changeOctave(int32_t octave)
{
    setOctave(octave);
    if (patternEditor_) {
        patternEditor_->showOctave(static_cast<float>(octave_));
        patternEditor_->setDirty();
    }
}

void TesselEditor::changeInstrument(int32_t delta)
{
    const int32_t next = std::clamp(instrument_ + delta, 1, kInstruments);
    if (next == instrument_)
        return;
    setCurrentInstrument(next, false);
}

void TesselEditor::valueChanged(VSTGUI::CDrawContext* /*context*/, VSTGUI::CControl* control)
{
    if (!control)
        return;
    if (frame2_ && (!current_ || current_->wantsKeys())) {
        platform::setStatusText("Error: Cannot change value while dialog is active.");
        return;
    }
    const int32_t value = static_cast<int32_t>(std::lround(control->getValue()));
    if (control->getTag() == kInstrumentTag && value >= 1 && value <= kInstruments)
        setCurrentInstrument(value, false);
    else if (control->getTag() == kOctaveTag && value >= 0 && value <= kLastOctave)
        changeOctave(value);
    control->setDirty();
    if (current_)
        current_->setDirty();
}
