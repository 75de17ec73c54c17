// The page's key road: the amplify prompt and mouse marking first, then the
// overview, the undo history and the options panel while they are open,
// then the page's commands, a few keys of its own and note entry.
#include "patterneditor/pattern_editor_ui.h"

#include "common/help_pages.h"
#include "engine/engine.h"
#include "model/song/module.h"
#include "patterneditor/menus/edit_commands.h"
#include "platform/key_event.h"
#include "platform/status_text.h"
#include "shell/command_scheme.h"

#include <algorithm>

namespace {

constexpr int32_t kBackquote = 96;

// The overview sees every key while it shows: '(' opens its help, and a key
// that closes it does nothing else (no note is written unseen); the keys that
// keep it open go on to the grid, whose view the overview frames.
bool endsAtOverview(TesselUI& overview, TesselPatternEditorLink& link, const TesselKeyEvent& key)
{
    if (key.printable == '(' && !(key.modifiers & (kModAlt | kModCtrl))) {
        link.openHelpPage(help::kPatternModes);
        return true;
    }
    overview.onKeyEvent(key);
    return !overview.isShown();
}

} // namespace

int32_t TesselPatternEditorUI::onKeyEvent(const TesselKeyEvent& key)
{
    using namespace edit_commands;
    if (!pattern_)
        return 0;
    if (grid_.amplifyPromptOpen() || grid_.isMouseSelecting()) {
        grid_.enterNote(key);
    } else if (overview_ && overview_->isShown() && endsAtOverview(*overview_, *link_, key)) {
    } else if (undo_->isShown()) {
        if (undo_->onKeyEvent(key) == 1)
            restoreUndoLine();
    } else if (options_->wantsKeys()) {
        if (options_->onKeyEvent(key) == 1)
            applyPatternOptions("Pattern Options");
    } else {
        const int32_t id = defaultScheme().findIdInContext(kPageContext, key, false);
        const int column = grid_.view.cursorColumn;
        if (onCommand(id)) {
        } else if (key.character == '8' && key.modifiers == 0 && column == 0) {
            if (engine)
                engine->playRow(pattern_->index, grid_.view.cursorRow);
            grid_.stepCursor();
        } else if ((key.character == kBackquote || key.printable == kBackquote) && (column == 2 || column == 3)) {
            toggleInstrumentLabels();
        } else if (key.character == ';' && key.modifiers == 0) {
            menus_->popupMenuAtCursor();
        } else {
            grid_.enterNote(key);
        }
    }
    publish();
    setDirty();
    return 0;
}

void TesselPatternEditorUI::toggleInstrumentLabels()
{
    showInstrumentLabels(!grid_.view.instrumentLabels);
    platform::formatStatusText("Use %s to identify instruments.", grid_.view.instrumentLabels ? "labels" : "numbers");
}

void TesselPatternEditorUI::showInstrumentLabels(bool on)
{
    grid_.view.instrumentLabels = on ? 1 : 0;
    fillInstrumentList(0);
    grid_.markAllDirty();
    setDirty();
}

// Enter in the undo history: the chosen checkpoint comes back into the song.
void TesselPatternEditorUI::restoreUndoLine()
{
    int restored = -1;
    {
        platform::MutexLock lock(song->songLock(), editLockWaitMs);
        if (!lock)
            return;
        restored = undo_->restoreCheckpoint(undo_->selectedLine());
        if (restored >= 0)
            song->markEdited();
        if (restored >= 0 && engine) {
            engine->rebuildPatternPlaylist(restored, true);
            engine->rebuildSongPlaylist(nullptr, true);
        }
    }
    goToPattern(restored >= 0 ? restored : pattern_->index, true);
}

void TesselPatternEditorUI::applyPatternOptions(const char* message)
{
    const TesselPatternValues values = options_->values();
    TesselPattern& pattern = *pattern_;
    {
        platform::MutexLock lock(song->songLock(), editLockWaitMs);
        if (lock)
            undo_->pushCheckpoint(pattern, message);
        song->markEdited();
        pattern.setLabel(values.label.c_str());
        pattern.minorStep = std::max(values.minorStep, 0);
        pattern.majorStep = std::max(values.majorStep, 0);
        // Label and steps take effect even when the song stays busy; the length only with the lock.
        if (lock) {
            pattern.setLength(std::clamp(values.length, 1, int(TesselPatternUI::kRowsCap)));
            if (engine) {
                engine->rebuildSongPlaylist(nullptr, true);
                engine->rebuildPatternPlaylists(true);
            }
        }
    }
    grid_.ensureCursorVisible();
    goToPattern(pattern.index, true);
    grid_.markAllDirty();
}
