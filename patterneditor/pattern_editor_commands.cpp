// The page's commands: panels, mute and solo, the undo history, instrument
// and octave, cursor and follow switches, pattern and order jumps, MIDI-in
// mode, the info bar, the timed command and the song-wide row operations.
#include "patterneditor/pattern_editor_ui.h"

#include "common/help_pages.h"
#include "engine/engine.h"
#include "gui/lists/drop_list.h"
#include "model/song/module.h"
#include "pagekit/editor_services.h"
#include "pagekit/frame2.h"
#include "patterneditor/menus/edit_commands.h"
#include "platform/dialogs/dialogs.h"
#include "platform/status_text.h"
#include "shell/command_scheme.h"
#include "shell/preferences.h"
#include "shell/usage_log.h"

#include <algorithm>

namespace {

constexpr int kFocusInstrumentList = 5;
constexpr int kFocusOctaveList = 6;

void logFocus(int item)
{
    if (TesselUsageLog* log = usageLog())
        log->logFocus(1, item, 1);
}

} // namespace

bool TesselPatternEditorUI::onCommand(int32_t id)
{
    using namespace edit_commands;
    TesselPatternView& view = grid_.view;
    TesselPreferences& preferences = pluginPreferences();
    switch (id) {
    case kHelpContext:
        if (view.cursorChannel == 0 && view.cursorColumn == 0 && view.cursorRow == 0)
            link_->openHelpPage(help::kPatternEditor);
        else
            grid_.executeEdit(kHelpContext);
        return true;
    case kPatternOptions:
        options_->open(kPanelLeft, kPanelTop, pattern_);
        return true;
    case kPatternOptionsApply:
        if (options_->holdsValues())
            applyPatternOptions("Apply Pattern Options");
        return true;
    case kMute:
    case kSolo:
        toggleMute(id == kSolo);
        return true;
    case kUndo:
        undo_->open(kPanelLeft, kPanelTop);
        return true;
    case kUndoCheckpoint: {
        platform::MutexLock lock(song->songLock(), editLockWaitMs);
        if (lock) {
            undo_->pushCheckpoint(*pattern_, "User Checkpoint");
            platform::setStatusText("Added undo checkpoint.");
        }
        return true;
    }
    case kPatternOverview:
        if (overview_) {
            overview_->setShown(true);
            overview_->setDirty();
        }
        return true;
    case kInstrumentUp:
    case kInstrumentDown:
        selectInstrument(std::clamp(getCurrentInstrument() + (id == kInstrumentUp ? 1 : -1), 0, kInstruments));
        return true;
    case kPickUpInstrumentNote:
        selectInstrument(std::clamp<int32_t>(grid_.cellAtCursor().instrument, 0, kInstruments));
        grid_.enterNote(defaultScheme().shortcutKey(kGridContext, kPickUpNote));
        return true;
    case kCentraliseCursor:
        view.centralised = !view.centralised;
        platform::setStatusText(view.centralised ? "Centralised cursor enabled." : "Centralised cursor disabled.");
        grid_.ensureCursorVisible();
        return true;
    case kFollowPattern:
        preferences.followPattern = !preferences.followPattern;
        if (engine)
            engine->preferences.followPattern = preferences.followPattern;
        platform::setStatusText(preferences.followPattern ? "Pattern Follow enabled." : "Pattern Follow disabled.");
        return true;
    case kCursorGuide:
        preferences.showGuide = !preferences.showGuide;
        guideFade_ = 0;
        platform::setStatusText(preferences.showGuide ? "Cursor guide shown." : "Cursor guide hidden.");
        return true;
    case kNextEmptyPattern: {
        const int32_t empty = song->findEmptyPattern(pattern_->index + 1);
        if (empty >= 0)
            switchPattern(empty, true);
        return true;
    }
    case kNextPattern:
    case kPreviousPattern: {
        const int32_t next = pattern_->index + (id == kNextPattern ? 1 : -1);
        if (next >= 0 && next < kPatterns)
            switchPattern(next, false);
        return true;
    }
    case kNextOrder:
    case kPreviousOrder:
        switchOrder(id == kNextOrder);
        return true;
    case kInstrumentMenu:
    case kBaseOctaveMenu: {
        TesselDropList* list = id == kInstrumentMenu ? instrumentList_ : octaveList_;
        logFocus(id == kInstrumentMenu ? kFocusInstrumentList : kFocusOctaveList);
        list->popup();
        setDirty();
        return true;
    }
    case kMidiInMode: {
        preferences.midiInMode = (preferences.midiInMode + 1) % 3;
        if (engine)
            engine->preferences.midiInMode = preferences.midiInMode;
        static constexpr const char* kModes[] = {"MIDI In disabled", "MIDI In Mono mode selected.",
                                                 "MIDI In Poly mode selected."};
        platform::setStatusText(kModes[preferences.midiInMode]);
        return true;
    }
    case kToggleInfoBar:
        info_->toggle();
        return true;
    case kTimedCommand:
        if (link_->shiftHeld())
            link_->setCommandTimer(!link_->commandTimerRunning());
        return false;
    case kInsertInSong:
    case kDeleteFromSong:
        songRows(id == kInsertInSong);
        return true;
    default:
        return false;
    }
}

// The new pattern shown, then a plain checkpoint of the one that was.
bool TesselPatternEditorUI::switchPattern(int32_t index, bool resetCursor)
{
    TesselPattern* previous = pattern_;
    if (resetCursor) {
        TesselPatternView& view = grid_.view;
        view.cursorChannel = view.cursorColumn = view.cursorRow = view.cursorSubrow = 0;
        view.firstRow = view.firstChannel = 0;
    }
    goToPattern(index, false);
    platform::MutexLock lock(song->songLock(), editLockWaitMs);
    if (lock)
        undo_->pushCheckpoint(*previous, nullptr);
    return true;
}

bool TesselPatternEditorUI::switchOrder(bool forward)
{
    if (!engine)
        return false;
    const TesselOrderList& orders = song->orderList;
    const int32_t from = orderPosition_ >= 0 ? orderPosition_ : std::clamp(engine->currentOrder, 0, kOrderEntries - 1);
    const int32_t next = forward ? orders.nextUsed(from) : orders.previousUsed(from);
    if (next == from || next < 0 || next >= kOrderEntries)
        return false;
    int32_t pattern = orders.entries[size_t(next)].pattern;
    if (next < kOrderPitches && orders.pitches[size_t(next)].pattern >= 0)
        pattern = orders.pitches[size_t(next)].pattern;
    if (pattern < 0 || pattern >= kPatterns)
        return false;
    engine->currentOrder = next;
    TesselPattern* previous = pattern_;
    goToPattern(pattern, true);
    platform::MutexLock lock(song->songLock(), editLockWaitMs);
    if (lock)
        undo_->pushCheckpoint(*previous, nullptr);
    return true;
}

void TesselPatternEditorUI::toggleMute(bool solo)
{
    const int channel = grid_.view.cursorChannel;
    {
        platform::MutexLock lock(song->songLock(), editLockWaitMs);
        if (!lock)
            return;
        auto& channels = song->channels;
        if (!solo) {
            channels[size_t(channel)].mute = !channels[size_t(channel)].mute;
        } else if (channels[size_t(channel)].solo) {
            for (TesselChannel& each : channels)
                each.mute = each.solo = 0;
        } else {
            for (int c = 0; c < kChannels; ++c) {
                channels[size_t(c)].solo = c == channel;
                channels[size_t(c)].mute = c != channel;
            }
        }
    }
    if (solo)
        grid_.renderChannelHeader(-1);
    else
        grid_.renderChannelHeader(channel);
    setDirtyChannel(true, solo ? -1 : channel);
}

// Rows of a selection over all 64 channels into or out of the song, after
// the user's yes; no checkpoint can undo it.
void TesselPatternEditorUI::songRows(bool insert)
{
    TesselSelection& selection = grid_.selection;
    if (!engine || !selection.active || !selection.spansAllChannels())
        return;
    CFrame2* frame = editor ? editor->frame2() : nullptr;
    platform::Window* window = frame ? frame->getWindow() : nullptr;
    if (!window)
        return;
    const int32_t answer = window->system().dialogs().messageBox(
        window, "This process may reorder your patterns and cannot be undone. Proceed?",
        insert ? "Insert Row(s) into Song" : "Delete Row(s) from Song", platform::kBoxYesNo);
    if (answer != platform::kAnswerYes)
        return;
    // The order place whose pattern is shown afterwards.
    int32_t place = orderPosition_;
    for (int32_t i = 0; place < 0 && i < kOrderEntries; ++i)
        if (song->orderList.entries[size_t(i)].pattern == pattern_->index)
            place = i;
    const bool done = insert ? engine->songTiming.insertSongRows(*song, selection)
                             : engine->songTiming.deleteSongRows(*song, selection);
    if (!done)
        return;
    song->markEdited();
    engine->rebuildSongPlaylist(nullptr, false);
    engine->rebuildPatternPlaylists(false);
    int32_t shown = pattern_->index;
    if (place >= 0 && place < kOrderEntries && song->orderList.entries[size_t(place)].pattern >= 0)
        shown = song->orderList.entries[size_t(place)].pattern;
    goToPattern(shown, true);
    grid_.ensureCursorVisible();
}
