// effEditOpen, effEditClose and the editor idle.

#include "editor/core/own_window_system.h"
#include "editor/core/page_factory.h"
#include "editor/core/page_kinds.h"
#include "editor/core/splash_page.h"
#include "editor/core/tessel_editor.h"
#include "engine/engine.h"
#include "engine/engine_actions.h"
#include "pagekit/frame2.h"
#include "patterneditor/pattern_editor_page.h"
#include "patterneditor/toolbar_page.h"
#include "plugin/plugin_globals.h"
#include "shell/preferences.h"
#include "vst2/audio_effect.h"

namespace {

constexpr int32_t kRowLimit = 100000;

} // namespace

bool TesselEditor::open(void* parent)
{
    AEffGUIEditor::open(parent);
    guiThread_.store(std::this_thread::get_id());
    popupActive_ = false;
    if (frame)
        close();
    if (windowSystemSource) {
        windows_ = windowSystemSource();
    } else {
        ownWindows_ = openOwnWindowSystem();
        windows_ = ownWindows_.get();
    }
    // While a popup menu or a dialog holds the thread, the host's idle goes on.
    if (windows_)
        windows_->setModalIdle([this] {
            if (effect)
                effect->masterIdle();
        });
    platform::Window* host = windows_ ? windows_->findWindow(reinterpret_cast<uintptr_t>(parent)) : nullptr;
    frame = new CFrame(CRect(0, 0, rect.right, rect.bottom), host, this);
    if (!toolbar_) {
        toolbar_ = makeToolbarPage(this);
        pages_.toolbar = toolbar_;
    }
    frame->addView(toolbar_);
    return true;
}

void TesselEditor::close()
{
    destroyWindow();
    if (frame) {
        frame->removeView(toolbar_, false);
        delete frame;
        frame = nullptr;
    }
    if (windows_)
        windows_->setModalIdle(nullptr);
    windows_ = nullptr;
    ownWindows_.reset();   // our connection goes after our last window
}

void TesselEditor::idle()
{
    if (inIdle_)
        return;
    inIdle_ = true;
    if (!frame2_ && frame && windows_) {
        createWindow();
        if (frame2_ && shown_)
            showEditorWindow();
        offerPendingReport();
    }
    if (help_) {
        // A fault in a page ends this pass, not the host.
        try {
            idlePages();
        } catch (...) {
        }
    }
    // The base idle pumps the toolbar frame's window system; the editor
    // window still needs its pump when the host's window was not found.
    AEffGUIEditor::idle();
    if (windows_ && !(frame && frame->getWindowSystem()))
        windows_->pump();
    helpWindows_->finishPopup();
    helpWindows_->restoreTopmost();
    if (feedbackRequested_) {
        feedbackRequested_ = false;
        sendFeedback();
    }
    inIdle_ = false;
}

void TesselEditor::idlePages()
{
    followHostWindow();
    if (refreshRequested_.exchange(false))
        refreshLoadedSong();
    // The notes first, so that the channels redrawn below show them.
    engine_->enterMidiCells();
    if (patternEditor_)
        patternEditor_->applyMidiInput(engine_->midiInputRequests.take());

    const uint32_t changes = changeCounter().load();
    if (changes != lastChanges_) {
        lastChanges_ = changes;
        if (current_)
            current_->setDirty();
    }
    const double tempo = engine_->shownTempo();
    if (tempo != lastTempo_) {
        lastTempo_ = tempo;
        log_.logCommand(kActTempo, static_cast<int32_t>(tempo + 0.0001));
    }
    followPlayback();
    noticeUpdateCheck();
    const TesselStatusCountdown::Pass pass = status_.step();
    if (pass.statusChanged && frame2_)
        redrawPatternEditor();
    if ((pass.messageChanged || pass.messageCleared) && toolbar_)
        toolbar_->setDirty();
    if (pass.statusCleared && current_)
        current_->setDirty();
    if (!popupActive_)
        logCurrentFocus();

    if (toolbar_ && toolbar_->isDirty())
        drawToolbarNow();
    if (!current_ || !patternEditor_ || !frame2_)
        return;
    if (redrawRequest_) {
        if (help_->isAnimating())
            help_->setDirty();
        if (patternEditor_->gridNeedsRedraw())
            patternEditor_->setDirty();
        redrawRequest_ = false;
    }
    // While the splash shows it covers whatever is drawn under it. A hidden
    // help panel is not drawn, so its flag stays as it was: only a shown
    // one asks for a pass.
    const bool splashShown = splash_->isShown();
    const bool helpDirty = help_->isShown() && help_->isDirty();
    if (current_->isDirty() || patternEditor_->isDirty() || helpDirty || (splashShown && splash_->isDirty()))
        drawNow(splashShown ? splash_ : current_);
}

// Steps 6 to 8 of a pass: what playback moved since the last one.
void TesselEditor::followPlayback()
{
    const int32_t row = playingRow_.load(std::memory_order_relaxed);
    const int32_t transport = engine_->transport;
    if (row != lastRow_ && row < kRowLimit) {
        lastRow_ = row;
        redrawPatternEditor();
        if (pluginPreferences().followPattern && transport > 3 && patternEditor_)
            patternEditor_->followPlayback(playingPattern_.load(std::memory_order_relaxed), row);
        if (transport != kStoppedCut) {
            if (toolbar_)
                toolbar_->refreshPosition();
            if (info_)
                info_->refresh();
        }
    }
    const int32_t order = engine_->getPlayingOrder();
    if (order != lastOrder_) {
        lastOrder_ = order;
        if (orderList_)
            orderList_->setDirty();
    }
    const double tempo = lastTempo_ > 0.0 ? lastTempo_ : 1.0;
    const int32_t display = static_cast<int32_t>(row * 120 / tempo);
    if (display != lastDisplay_) {
        lastDisplay_ = display;
        if (info_)
            info_->setDirty();
    }
}

void TesselEditor::drawNow(TesselUI* page)
{
    if (!frame2_ || !page)
        return;
    frame2_->drawPage(page == patternEditor_ ? nullptr : page);
}

void TesselEditor::drawToolbarNow()
{
    if (frame && toolbar_)
        frame->draw(static_cast<CView*>(toolbar_));
}

void TesselEditor::redrawPatternEditor()
{
    if (patternEditor_)
        patternEditor_->setDirty();
}

// The engine's link.

int32_t TesselEditor::currentPattern() const
{
    TesselPatternEditorPage* page = patternEditorForAudio_.load();
    return page ? page->getCurrentPattern() : -1;
}

bool TesselEditor::noteEntry(TesselNoteEntry& entry) const
{
    TesselPatternEditorPage* page = patternEditorForAudio_.load();
    return page && page->noteEntry(entry);
}

void TesselEditor::refreshAfterLoad()
{
    if (isGuiThread())
        refreshLoadedSong();
    else
        refreshRequested_.store(true);
}

void TesselEditor::refreshLoadedSong()
{
    if (!patternEditor_)
        return;
    patternEditor_->layout();
    patternEditor_->fillInstrumentList();
    patternEditor_->setDirty();
    if (current_)
        current_->setDirty();
}

void TesselEditor::setPlaybackPosition(int32_t order, int32_t pattern, int32_t row)
{
    playingOrder_.store(order, std::memory_order_relaxed);
    playingPattern_.store(pattern, std::memory_order_relaxed);
    playingRow_.store(row, std::memory_order_relaxed);
}
