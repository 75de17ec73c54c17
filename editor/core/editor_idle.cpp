// effEditOpen, effEditClose and the editor idle.

#include "editor/core/page_factory.h"
#include "editor/core/page_kinds.h"
#include "editor/core/splash_page.h"
#include "editor/core/tessel_editor.h"
#include "engine/engine.h"
#include "pagekit/frame2.h"
#include "patterneditor/overview/toolbar_page.h"
#include "patterneditor/pattern_editor_page.h"
#include "plugin/plugin_globals.h"
#include "shell/preferences.h"
#include "vst2/audio_effect.h"

bool TesselEditor::open(void* parent)
{
    AEffGUIEditor::open(parent);
    follower_.claimGuiThread();
    popupActive_ = false;
    if (frame)
        close();
    editorWindow_.connect();
    platform::WindowSystem* windows = windowSystem();
    // While a popup menu or a dialog holds the thread, the host's idle goes on.
    if (windows)
        windows->setModalIdle([this] {
            if (effect)
                effect->masterIdle();
        });
    platform::Window* host = windows ? windows->findWindow(reinterpret_cast<uintptr_t>(parent)) : nullptr;
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
    editorWindow_.disconnect();
}

void TesselEditor::idle()
{
    if (inIdle_)
        return;
    inIdle_ = true;
    if (!frame2_ && frame && windowSystem()) {
        createWindow();
        if (frame2_ && editorWindow_.shown())
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
    if (windowSystem() && !(frame && frame->getWindowSystem()))
        windowSystem()->pump();
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
    editorWindow_.followHost();
    if (follower_.takeRefreshRequest())
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
    follower_.follow({patternEditor_, toolbar_, info_, orderList_});
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

// The engine's link: a load on another thread leaves the refresh to the idle.
void TesselEditor::refreshAfterLoad()
{
    if (follower_.onGuiThread())
        refreshLoadedSong();
    else
        follower_.requestRefresh();
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
