// The order column's commands: the next pattern after the entry above, the
// renumbering of the song's patterns, a copy into an empty pattern and the
// jump to the pattern editor.

#include "editor/order_list/order_list_page.h"
#include "engine/engine.h"
#include "model/song/module.h"
#include "patterneditor/pattern_editor_page.h"
#include "platform/dialogs/dialogs.h"
#include "platform/status_text.h"
#include "platform/window.h"

namespace {

bool isPattern(int32_t value)
{
    return value >= 0 && value < kPatterns;
}

} // namespace

void TesselOrderListUI::insertNextPattern(bool samePattern)
{
    const int32_t at = orderCursor_;
    if (at == 0) {
        if (entryAt(0).isEmpty() && setValueAtCursor(0))
            ++orderCursor_;
        return;
    }
    const int32_t source = entryAt(at - 1).pattern;
    if (!isPattern(source) || (!samePattern && source >= kPatterns - 1))
        return;
    const int32_t value = samePattern ? source : source + 1;
    if (editOrders([at, value](TesselOrderList& orders) { insertOrderEntry(orders, at, value); }))
        ++orderCursor_;
}

void TesselOrderListUI::askToRenumber()
{
    TesselEditorPageServices* owner = this->owner();
    platform::Window* window = owner ? owner->editorWindow() : nullptr;
    if (!window || editor->popupActive())
        return;
    editor->beginPopup();
    const int32_t answer = window->system().dialogs().messageBox(
        window, "This action cannot be undone. Are you sure?", "Reorder patterns...", platform::kBoxYesNo);
    editor->endPopup();
    if (answer != platform::kAnswerYes)
        return;
    {
        platform::MutexLock lock(song->songLock(), editLockWaitMs);
        if (!lock)
            return;
        song->renumberPatterns();
        song->orderList.updateLength();
        song->markEdited();
    }
    // The timing lists name patterns by number; so do the undo snapshots.
    if (engine) {
        engine->rebuildSongPlaylist(nullptr, false);
        engine->rebuildPatternPlaylists(false);
    }
    if (TesselPatternEditorPage* page = patternEditorPage())
        page->clearUndoHistory();
    orderListChanged();
}

void TesselOrderListUI::copyToEmptyPattern()
{
    const int32_t at = orderCursor_;
    if (at == 0)
        return;
    int32_t source = -1;
    int32_t target = -1;
    {
        platform::MutexLock lock(song->songLock(), editLockWaitMs);
        if (!lock)
            return;
        source = entryAt(at - 1).pattern;
        if (!isPattern(source))
            return;
        // An empty source is itself an empty pattern; the copy goes elsewhere.
        target = song->findEmptyPattern(0);
        if (target == source)
            target = song->findEmptyPattern(source + 1);
        if (target < 0)
            return;
        song->patterns[static_cast<size_t>(target)].assign(song->patterns[static_cast<size_t>(source)]);
        insertOrderEntry(song->orderList, at, target);
        song->orderList.updateLength();
        song->markEdited();
    }
    if (engine)
        engine->rebuildPatternPlaylist(target, false);
    ++orderCursor_;
    platform::formatStatusText("Pattern %.3d copied to next empty pattern (%.3d).", source, target);
    orderListChanged();
}

void TesselOrderListUI::editPattern()
{
    const int32_t pattern = entryAt(orderCursor_).pattern;
    TesselPatternEditorPage* page = patternEditorPage();
    if (!isPattern(pattern) || !page)
        return;
    // The page keeps the editor's current order when it holds the pattern.
    if (!pitchMode() && engine)
        engine->currentOrder = orderCursor_;
    page->goToPattern(pattern, true);
    if (TesselEditorPageServices* owner = this->owner())
        owner->switchPage(kPatternEditorPage, true);
}
