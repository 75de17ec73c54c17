// The pages in the editor window: the frame that holds them, made and
// destroyed with the window, their place at the window's size, showing and
// hiding the window, and what its messages mean to them.

#include "editor/core/page_factory.h"
#include "editor/core/page_kinds.h"
#include "editor/core/splash_page.h"
#include "editor/core/tessel_editor.h"
#include "gui/bitmap.h"
#include "gui/offscreen_context.h"
#include "pagekit/frame2.h"
#include "pagekit/page_globals.h"
#include "patterneditor/pattern_editor_page.h"
#include "patterneditor/overview/toolbar_page.h"
#include "platform/status_text.h"
#include "plugin/plugin_globals.h"
#include "resources/resource_ids.h"
#include "shell/preferences.h"

namespace {

constexpr const char* kWelcomeText = " Welcome to Quorbel! Press Ctrl-F1 for help on getting started.";

} // namespace

void TesselEditor::createWindow()
{
    if (frame2_ || !windowSystem())
        return;
    TesselPreferences& preferences = pluginPreferences();
    const bool ownHost = inOwnHost();
    platform::Rect client;
    if (!editorWindow_.create(client))
        return;
    platform::Window* window = editorWindow();
    frame2_ = new CFrame2(CRect(client), window, this);
    editorWindow_.registerHotKeys(true);

    const platform::Rect pages = pageArea(client.width(), client.height());
    makePages(pages);
    placePages(pages);
    frame2_->addView(patternEditor_);
    patternEditor_->layout();
    if (!ownHost)
        window->setKeepAbove(preferences.alwaysOnTop != 0);

    if (ownHost)
        preferences.keyboardMode = 0;
    else if (preferences.keyboardMode == 1)
        setKeyMode(1, true);
    if (!ownHost)
        editorWindow_.hookHost();

    if (!firstCreationDone_) {
        splash_->start(CRect(pages));
        frame2_->addView(splash_);
        current_ = patternEditor_;
        if (frame && !editorWindow_.shown())
            showEditorWindow();
        showPageButtons(kPatternEditorPage);
        currentPageNumber() = kPatternEditorPage;
        logCurrentFocus();
    } else {
        switchPage(currentPageNumber(), false);
        if (platform::statusText().empty())
            platform::setStatusText(kWelcomeText);
    }

    octave_ = 4;
    patternEditor_->showOctave(4.0f);
    const bool instrumentChanged = instrument_ != 1;
    instrument_ = 1;
    patternEditor_->showInstrument(1.0f);
    if (instrumentChanged) {
        redrawPatternEditor();
        if (current_)
            current_->setDirty();
    }
    instrumentList_->selectFirstInstrument();
    firstCreationDone_ = true;
}

void TesselEditor::makePages(const platform::Rect& client)
{
    if (patternEditor_)
        return;
    patternEditor_ = makePatternEditorPage(this, CRect(client));
    follower_.linkPatternEditor(patternEditor_);
    help_ = makeHelpPage(this);
    CBitmap side(resources::kSidePagePanel);
    const CRect sideRect(kSidePageLeft, kSidePageTop, kSidePageLeft + side.getWidth(),
                         kSidePageTop + side.getHeight());
    sampleList_ = makeSampleListPage(this, sideRect);
    instrumentList_ = makeInstrumentListPage(this, sideRect);
    info_ = makeInfoPage(this, sideRect);
    orderList_ = makeOrderListPage(this, sideRect);
    preferences_ = makePreferencesPage(this, sideRect);
    pages_.patternEditor = patternEditor_;
    pages_.sampleList = sampleList_;
    pages_.instrumentList = instrumentList_;
    pages_.info = info_;
    pages_.orderList = orderList_;
    pages_.preferences = preferences_;
    pages_.help = help_;
}

void TesselEditor::placePages(const platform::Rect& client)
{
    patternEditor_->setViewSize(CRect(client));
    help_->placeIn(client.width(), client.height());
}

void TesselEditor::removePagesFrom(VSTGUI::CFrame* from)
{
    TesselUI* pages[] = {splash_, help_, current_, patternEditor_, sampleList_, instrumentList_,
                         info_, orderList_, preferences_};
    for (TesselUI* page : pages)
        if (page)
            from->removeView(page, false);
}

void TesselEditor::destroyWindow()
{
    if (!frame2_)
        return;
    helpWindows_->closeAll();
    if (editorWindow_.shown())
        hideEditorWindow();
    splash_->finish();
    removePagesFrom(frame2_);
    delete frame2_;
    frame2_ = nullptr;
    pageOffscreen().reset();
    editorWindow_.destroy();
}

void TesselEditor::showEditorWindow()
{
    if (!frame2_)
        return;
    editorWindow_.setShown(true);
    if (toolbar_) {
        toolbar_->showWindowButton(true);
        drawToolbarNow();
    }
    editorWindow_.followHost();
    editorWindow_.relink();
    editorWindow()->setTimer(kTimerRedraw, kRedrawMs);
}

void TesselEditor::hideEditorWindow()
{
    if (inOwnHost() || !editorWindow_.shown())
        return;
    editorWindow_.setShown(false);
    if (toolbar_) {
        toolbar_->showWindowButton(false);
        drawToolbarNow();
    }
    if (platform::Window* window = editorWindow()) {
        TesselPreferences& preferences = pluginPreferences();
        const platform::Rect place = window->rect();
        preferences.positionX1 = place.left;
        preferences.positionY1 = place.top;
        preferences.positionX2 = place.right;
        preferences.positionY2 = place.bottom;
        log_.logPreferences(preferences);
        window->show(false);
    }
}

// At double size the pages cover half the window's width and height.
platform::Rect TesselEditor::pageArea(int32_t width, int32_t height) const
{
    return doubleSize() ? platform::Rect{0, 0, width / 2, height / 2} : platform::Rect{0, 0, width, height};
}

void TesselEditor::resized(int32_t width, int32_t height)
{
    if (!frame2_)
        return;
    if (platform::Window* pages = frame2_->getWindow())
        pages->setRect({0, 0, width, height});
    frame2_->setViewSize(CRect(0, 0, width, height));
    const platform::Rect client = pageArea(width, height);
    CRect before;
    patternEditor_->getViewSize(before);
    if (before == CRect(client))
        return;
    placePages(client);
    patternEditor_->layout();
    if (splash_->isShown())
        splash_->setViewSize(CRect(client));
}

// The hot keys Ctrl+Alt+F2 and Ctrl+Alt+R: to the editor window and back.
void TesselEditor::toggleFocus()
{
    platform::Window* window = editorWindow();
    if (!window)
        return;
    platform::Window* pages = frame2_ ? frame2_->getWindow() : nullptr;
    if (!windowActive()) {
        if (!editorWindow_.shown())
            showEditorWindow();
        window->raise();
        if (pages)
            pages->takeFocus();
        else
            window->takeFocus();
        return;
    }
    if (editorWindow_.shown())
        hideEditorWindow();
    else
        showEditorWindow();
}

void TesselEditor::focusChanged(bool focused)
{
    redrawPatternEditor();
    if (focused && help_)
        help_->setDirty();
}

void TesselEditor::timerFired(uint32_t id)
{
    if (id == kTimerIdle)
        idle();
    else if (id == kTimerCommand && patternEditor_)
        patternEditor_->timedCommand();
    else if (id == kTimerRedraw)
        redrawRequest_ = true;
    else if (id == kTimerShortcut && preferences_)
        preferences_->shortcutTimer();
}
