#include "editor/playback_follower/playback_follower.h"

#include "editor/core/page_kinds.h"
#include "engine/engine.h"
#include "engine/engine_actions.h"
#include "patterneditor/pattern_editor_page.h"
#include "patterneditor/overview/toolbar_page.h"
#include "plugin/plugin_globals.h"
#include "shell/preferences.h"
#include "shell/usage_log.h"

namespace {

constexpr int32_t kRowLimit = 100000;

} // namespace

TesselPlaybackFollower::TesselPlaybackFollower(TesselEngine& engine, TesselUsageLog& log) : engine_(engine), log_(log)
{
    claimGuiThread();
}

int32_t TesselPlaybackFollower::currentPattern() const
{
    TesselPatternEditorPage* page = patternEditor_.load();
    return page ? page->getCurrentPattern() : -1;
}

bool TesselPlaybackFollower::noteEntry(TesselNoteEntry& entry) const
{
    TesselPatternEditorPage* page = patternEditor_.load();
    return page && page->noteEntry(entry);
}

void TesselPlaybackFollower::follow(const Pages& pages)
{
    const double tempo = engine_.shownTempo();
    if (tempo != lastTempo_) {
        lastTempo_ = tempo;
        log_.logCommand(kActTempo, static_cast<int32_t>(tempo + 0.0001));
    }

    const int32_t row = playingRow_.load(std::memory_order_relaxed);
    const int32_t transport = engine_.transport;
    if (row != lastRow_ && row < kRowLimit) {
        lastRow_ = row;
        if (pages.patternEditor)
            pages.patternEditor->setDirty();
        if (pluginPreferences().followPattern && transport > 3 && pages.patternEditor)
            pages.patternEditor->followPlayback(playingPattern_.load(std::memory_order_relaxed), row);
        if (transport != kStoppedCut) {
            if (pages.toolbar)
                pages.toolbar->refreshPosition();
            if (pages.info)
                pages.info->refresh();
        }
    }
    const int32_t order = engine_.getPlayingOrder();
    if (order != lastOrder_) {
        lastOrder_ = order;
        if (pages.orderList)
            pages.orderList->setDirty();
    }
    const double shown = lastTempo_ > 0.0 ? lastTempo_ : 1.0;
    const int32_t display = static_cast<int32_t>(row * 120 / shown);
    if (display != lastDisplay_) {
        lastDisplay_ = display;
        if (pages.info)
            pages.info->setDirty();
    }
}
