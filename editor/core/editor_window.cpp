// The editor window: where it goes, its frame and pages, the hot keys and
// the host hook that keep it with the host's window, showing and hiding.

#include "editor/core/host_hook.h"
#include "editor/core/page_factory.h"
#include "editor/core/page_kinds.h"
#include "editor/core/splash_page.h"
#include "editor/core/tessel_editor.h"
#include "editor/core/window_placement.h"
#include "gui/bitmap.h"
#include "gui/offscreen_context.h"
#include "gui/window_ancestors.h"
#include "pagekit/frame2.h"
#include "pagekit/page_globals.h"
#include "patterneditor/pattern_editor_page.h"
#include "patterneditor/toolbar_page.h"
#include "platform/status_text.h"
#include "plugin/plugin_globals.h"
#include "resources/resource_ids.h"
#include "resources/resources.h"
#include "shell/preferences.h"

namespace {

constexpr const char* kWelcomeText = " Welcome to Quorbel! Press Ctrl-F1 for help on getting started.";
constexpr const char* kWindowTitle = "Quorbel Window";
constexpr const char* kWindowClass = "QuorbelWindow";
constexpr const char* kMdiClientClass = "MDIClient";
constexpr uint32_t kHotKeyModifiers = platform::kControlHeld | platform::kAltHeld;

platform::Rect screenRect(platform::Window& window)
{
    const platform::Point origin = window.screenOrigin();
    const platform::Rect r = window.rect();
    return platform::rectOfSize(origin.x, origin.y, r.width(), r.height());
}

platform::Window* ancestorOfClass(platform::Window* window, const char* className)
{
    for (window = window ? window->parent() : nullptr; window; window = window->parent())
        if (window->className() == className)
            return window;
    return nullptr;
}

// The own host's MDI client: a child of the window the host opened the
// editor in, beside the toolbar.
platform::Window* childOfClass(platform::WindowSystem* windows, platform::Window* window, const char* className)
{
    if (!windows || !window || !window->alive())
        return nullptr;
    for (platform::Window* child : windows->children(*window))
        if (child->alive() && child->className() == className)
            return child;
    return nullptr;
}

platform::Rect preferenceRect(const TesselPreferences& preferences)
{
    if (preferences.positionX1 == preferences.positionX2 || preferences.positionY1 == preferences.positionY2)
        return {};
    return {preferences.positionX1, preferences.positionY1, preferences.positionX2, preferences.positionY2};
}

} // namespace

platform::Window* TesselEditor::hostTopWindow() const
{
    platform::Window* toolbarWindow = frame ? frame->getWindow() : nullptr;
    if (platform::Window* framed = findFramedAncestor(toolbarWindow))
        return framed;
    platform::Window* root = findRootWindow(toolbarWindow);
    return root != toolbarWindow ? root : nullptr;
}

platform::Rect TesselEditor::chooseWindowRect(platform::Window*& parent, bool& child)
{
    TesselPreferences& preferences = pluginPreferences();
    platform::Window* toolbarWindow = frame ? frame->getWindow() : nullptr;
    const bool ownHost = inOwnHost();
    parent = nullptr;
    child = false;
    if (ownHost)
        parent = childOfClass(windows_, frame ? frame->getSystemWindow() : nullptr, kMdiClientClass);
    if (!parent && (ownHost || preferences.mergeWithHost))
        parent = ancestorOfClass(toolbarWindow, kMdiClientClass);
    child = parent != nullptr;
    if (ownHost && parent) {
        const platform::Rect client = parent->rect();
        return {0, 0, client.width(), client.height()};
    }
    if (!parent)
        parent = hostTopWindow();

    platform::Window* host = frame ? frame->getSystemWindow() : nullptr;
    TesselPlacementRequest request;
    request.host = host && host->alive() ? screenRect(*host) : platform::Rect{};
    request.bounds = windows_->screenArea();
    if (child) {
        const platform::Point origin = parent->screenOrigin();
        request.host = request.host.movedBy(-origin.x, -origin.y);
        request.bounds = {0, 0, parent->rect().width(), parent->rect().height()};
    }
    request.saved = savedRect_;
    request.preference = child ? platform::Rect{} : preferenceRect(preferences);
    const TesselPlacement placement = placeEditorWindow(request);
    if (placement.source == TesselPlacementSource::kPreference)
        savedRect_ = placement.rect;
    return placement.rect;
}

void TesselEditor::createWindow()
{
    if (frame2_ || !windows_)
        return;
    TesselPreferences& preferences = pluginPreferences();
    const bool ownHost = inOwnHost();
    platform::Window* parent = nullptr;
    bool child = false;
    const platform::Rect place = chooseWindowRect(parent, child);

    platform::WindowOptions options;
    options.kind = child ? platform::WindowOptions::Kind::Child : platform::WindowOptions::Kind::TopLevel;
    options.parent = parent;
    options.rect = place;
    options.title = ownHost ? "" : kWindowTitle;
    options.className = kWindowClass;
    options.visible = false;
    options.handler = this;
    window_ = windows_->createWindow(options);
    if (!window_ && child) {
        // An MDI client that refuses children: a top-level window after all.
        options.kind = platform::WindowOptions::Kind::TopLevel;
        options.parent = hostTopWindow();
        options.title = kWindowTitle;
        window_ = windows_->createWindow(options);
    }
    if (!window_)
        return;
    window_->setIcon(resources::loadBitmap(resources::kWindowIcon));
    const platform::Rect client{0, 0, place.width(), place.height()};
    frame2_ = new CFrame2(CRect(client), window_.get(), this);
    registerHotKeys(true);

    const platform::Rect pages = pageArea(client.width(), client.height());
    makePages(pages);
    placePages(pages);
    frame2_->addView(patternEditor_);
    patternEditor_->layout();
    if (!ownHost)
        window_->setKeepAbove(preferences.alwaysOnTop != 0);

    if (ownHost)
        preferences.keyboardMode = 0;
    else if (preferences.keyboardMode == 1)
        setKeyMode(1, true);
    if (!ownHost) {
        installHostHook(true);
        window_->post(TesselHostHook::kHostMoved);
    }

    if (!firstCreationDone_) {
        splash_->start(CRect(pages));
        frame2_->addView(splash_);
        current_ = patternEditor_;
        if (frame && !shown_)
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
    if (shown_)
        hideEditorWindow();
    splash_->finish();
    removePagesFrom(frame2_);
    delete frame2_;
    frame2_ = nullptr;
    pageOffscreen().reset();
    registerHotKeys(false);
    if (keyFilterOn_ && windows_)
        windows_->setKeyFilter(nullptr);
    keyFilterOn_ = false;
    installHostHook(false);
    window_.reset();
}

void TesselEditor::registerHotKeys(bool on)
{
    if (!window_ || !windows_ || on == hotKeysOn_)
        return;
    hotKeysOn_ = on;
    if (on) {
        windows_->registerHotKey(*window_, kHotKeyR, kHotKeyModifiers, 'R');
        windows_->registerHotKey(*window_, kHotKeyF2, kHotKeyModifiers, platform::kWinF1 + 1);
        windows_->registerHotKey(*window_, kHotKeyT, kHotKeyModifiers, 'T');
    } else {
        for (int32_t id : {kHotKeyR, kHotKeyF2, kHotKeyT})
            windows_->unregisterHotKey(*window_, id);
    }
}

// The hook hears every window from the one that holds the toolbar frame up
// to the host's top window: any of them may be hidden, moved or moved into
// another window.
void TesselEditor::installHostHook(bool install)
{
    platform::Window* top = install ? hostTopWindow() : nullptr;
    hostTop_ = top ? top->handle() : 0;
    std::vector<platform::Window*> hostWindows;
    if (top) {
        for (platform::Window* at = frame ? frame->getSystemWindow() : nullptr; at && at != top; at = at->parent())
            hostWindows.push_back(at);
        hostWindows.push_back(top);
    }
    hostHook_.attach(windows_, hostWindows, window_.get());
}

platform::Window* TesselEditor::hookedHostTop() const
{
    return hostTop_ && windows_ ? windows_->findWindow(hostTop_) : nullptr;
}

// The host's windows now hang elsewhere: the window we stay above and the
// windows we hear follow its top window.
void TesselEditor::rehangOnHost()
{
    if (!window_ || inOwnHost())
        return;
    installHostHook(true);
    if (window_->isTopLevel())
        window_->setOwner(hookedHostTop());
    followHostWindow();
    window_->post(TesselHostHook::kHostMoved);
}

bool TesselEditor::hostLetsWindowShow() const
{
    if (inOwnHost() || !window_ || !window_->isTopLevel())
        return true;
    platform::Window* host = frame ? frame->getSystemWindow() : nullptr;
    if (!host)
        return true;
    // A host closes its plug-in's window by hiding it, often without
    // effEditClose: the editor window goes and comes with it.
    platform::Window* top = hookedHostTop();
    if (!host->alive() || !host->isShowing() || (top && top->isMinimised()))
        return false;
    // Kept above everything, the window would cover the host's modal dialogs.
    return !pluginPreferences().alwaysOnTop || !top || top->isEnabled();
}

void TesselEditor::followHostWindow()
{
    if (!window_)
        return;
    const bool show = shown_ && hostLetsWindowShow();
    if (show == window_->isVisible())
        return;
    // Placed before it is mapped, so that it appears where it belongs.
    if (show)
        linkToHost();
    window_->show(show);
}

void TesselEditor::showEditorWindow()
{
    if (!frame2_)
        return;
    shown_ = true;
    if (toolbar_) {
        toolbar_->showWindowButton(true);
        drawToolbarNow();
    }
    followHostWindow();
    window_->post(TesselHostHook::kHostMoved);
    window_->setTimer(kTimerRedraw, kRedrawMs);
}

void TesselEditor::hideEditorWindow()
{
    if (inOwnHost() || !shown_)
        return;
    shown_ = false;
    if (toolbar_) {
        toolbar_->showWindowButton(false);
        drawToolbarNow();
    }
    if (window_) {
        TesselPreferences& preferences = pluginPreferences();
        const platform::Rect place = window_->rect();
        preferences.positionX1 = place.left;
        preferences.positionY1 = place.top;
        preferences.positionX2 = place.right;
        preferences.positionY2 = place.bottom;
        log_.logPreferences(preferences);
        window_->show(false);
    }
}

// WM_USER: with "linkwindows" the window sits just below the host's window
// (above it when its monitor has no room below), inside the work area of
// its monitor.
void TesselEditor::linkToHost()
{
    TesselPreferences& preferences = pluginPreferences();
    platform::Window* host = frame ? frame->getSystemWindow() : nullptr;
    if (!window_ || !preferences.linkWindows || inOwnHost() || !host || !host->alive())
        return;
    platform::Rect hostRect = screenRect(*host);
    if (!window_->isTopLevel() && window_->parent()) {
        const platform::Point origin = window_->parent()->screenOrigin();
        hostRect = hostRect.movedBy(-origin.x, -origin.y);
    }
    const platform::Rect place = window_->rect();
    platform::Point at{hostRect.left - kLinkedLeftOffset, hostRect.bottom + kLinkedGapBelow};
    if (window_->isTopLevel()) {
        // The window manager's frame, caption and all, stays on the monitor,
        // and off the host's window with the host's caption.
        const platform::Rect margins = window_->frameMargins();
        const platform::Rect outer =
            platform::rectOfSize(at.x, at.y, margins.left + place.width() + margins.right,
                                 margins.top + place.height() + margins.bottom);
        platform::Window* hostTop = hookedHostTop();
        const int32_t hostTopEdge =
            hostTop && hostTop->alive() ? screenRect(*hostTop).top - hostTop->frameMargins().top : hostRect.top;
        const platform::Rect kept = linkedPlace(outer, hostTopEdge, windows_->workArea(outer));
        at = {kept.left, kept.top};
    }
    window_->setRect(platform::rectOfSize(at.x, at.y, place.width(), place.height()));
    if (window_->isTopLevel())
        window_->setKeepAbove(preferences.alwaysOnTop != 0);
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
    if (!window_)
        return;
    platform::Window* pages = frame2_ ? frame2_->getWindow() : nullptr;
    if (!windowActive()) {
        if (!shown_)
            showEditorWindow();
        window_->raise();
        if (pages)
            pages->takeFocus();
        else
            window_->takeFocus();
        return;
    }
    if (shown_)
        hideEditorWindow();
    else
        showEditorWindow();
}
